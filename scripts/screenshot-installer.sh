#!/usr/bin/env bash
# Goes through the installer's pages under Xvfb and Wine as a user does and
# writes them to docs/screenshots (or <dir>): installer.png (the first page),
# installer-options.png (the tick box "开机自动运行") and installer-finish.png.
# It installs into a prefix of its own. Build the installer target first
# (scripts/test.sh does).
#   screenshot-installer.sh [--dpi 96|120|144|192] [dir]
# At another scale than 96 DPI the pictures are named installer-<page>-<dpi>.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/shot-scale.sh" "$@"
# The pictures show a first installation: its own prefix, made afresh each
# time (a prefix given in VT_WINEPREFIX is used as it is).
source "$root/scripts/wine-env.sh"
if [ -z "${VT_WINEPREFIX:-}" ]; then
  export VT_WINEPREFIX=$VT_BUILD/installer-shots-prefix$suffix
  rm -rf "$VT_WINEPREFIX"
fi
export WINEPREFIX=$VT_WINEPREFIX
"$root/scripts/wine-prefix.sh"
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d "${desk_w}x${desk_h}" /f \
  >/dev/null 2>&1 || true
wineserver -w
version=$(sed -n 's/^#define VT_VERSION_STR *"\(.*\)"/\1/p' "$root/shared/version.h")
setup=$VT_BUILD/VantrelSetup-$version-$VT_ARCH.exe
[ -f "$setup" ] || { echo "no $setup: build the installer target"; exit 1; }
drive="wine $VT_BUILD/tools/vtdrive.exe"
probe="wine $VT_BUILD/tools/vtinstprobe.exe"

wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
wine "$setup" </dev/null >/dev/null 2>&1 &
setup_pid=$!
caption='Vantrel 安装*'

shot() {  # name
  sleep 1.5
  local rect x y w h
  rect=$($drive rect "$caption" | tr -d '\r')
  read -r x y w h <<<"$rect"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$1$suffix.png"
  echo "wrote $out/$1$suffix.png"
}
next() { $probe answer "$caption" 1 20000 >/dev/null; }  # "下一步(&N)", "安装(&I)", "完成(&F)"

$drive wait "$caption" 15000 >/dev/null 2>&1 || { echo "the installer did not open"; exit 1; }
shot installer
next
shot installer-options
next  # installs
sleep 1
# The finish page, once its button may be pressed.
$probe ready "$caption" 1 30000 >/dev/null 2>&1 || true
shot installer-finish
# "完成(&F)"; the assistant it starts goes with the prefix's server.
next
sleep 2
wait "$setup_pid" 2>/dev/null || true
wineserver -k >/dev/null 2>&1 || true
