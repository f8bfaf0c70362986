#!/usr/bin/env bash
# Shows the installer's first page under Xvfb and Wine and writes
# docs/screenshots/installer.png (or <dir>/installer.png). Build the
# installer target first (scripts/test.sh does).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshots}
if [ -z "${VT_SHOTS_INNER:-}" ]; then
  mkdir -p "$out"
  VT_SHOTS_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$out"
fi

export VT_WINEPREFIX=${VT_WINEPREFIX:-$root/build/windows/shots-prefix}
source "$root/scripts/wine-env.sh"
"$root/scripts/wine-prefix.sh"
version=$(sed -n 's/^#define VT_VERSION_STR *"\(.*\)"/\1/p' "$root/shared/version.h")
setup=$VT_BUILD/VantrelSetup-$version.exe
[ -f "$setup" ] || { echo "no $setup: build the installer target"; exit 1; }
drive="wine $VT_BUILD/tools/vtdrive.exe"

wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
wine "$setup" </dev/null >/dev/null 2>&1 &
setup_pid=$!
caption='Vantrel 安装'
$drive wait "$caption" 15000 >/dev/null 2>&1 || { echo "the installer did not open"; exit 1; }
sleep 1.5
rect=$($drive rect "$caption" | tr -d '\r')
read -r x y w h <<<"$rect"
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/installer.png"
echo "wrote $out/installer.png"
# Cancel, and yes to "really quit?".
$drive click "$caption" 2 || true
sleep 1
$drive click "$caption" 6 >/dev/null 2>&1 || true
wait "$setup_pid" 2>/dev/null || true
wineserver -k >/dev/null 2>&1 || true
