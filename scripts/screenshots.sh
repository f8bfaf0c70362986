#!/usr/bin/env bash
# Starts the assistant under Xvfb + Wine, opens each window and writes PNGs
# (default: docs/screenshots). Run scripts/test.sh or scripts/run.sh once
# before, so the Windows build exists.
#   screenshots.sh [--dpi 96|120|144|192] [dir]
# At another scale than 96 DPI the pictures are named <window>-<dpi>.png
# and the desktop is as much larger, so the windows fit as they would.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/names.sh"
source "$root/scripts/shot-scale.sh" "$@"
vt_shot_prefix shots-prefix
bin=$VT_BUILD/bin
drive="wine $VT_BUILD/tools/vtdrive.exe"

app=$(mktemp -d /tmp/vantrel-shots.XXXX)
cp "$bin"/Vantrel.exe "$bin"/update.bat "$app"/
[ -f "$bin/Update.exe" ] && cp "$bin/Update.exe" "$app"/

wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Vantrel /f >/dev/null 2>&1 || true

main=$vt_main_title
TRAYNOTIFY=$vt_wm_traynotify

(cd "$app" && wine Vantrel.exe </dev/null >/dev/null 2>&1 &)
$drive wait "$main" 10000 >/dev/null 2>&1 || { echo "the assistant did not start"; exit 1; }
sleep 2
shot tray

# Tray menu where the icon is (bottom right of the desktop), the pointer just
# above the taskbar: resting on the icon, it brings up the icon's tip, which
# would cover the menu's last item in the picture.
$drive cursor $((desk_w - 24)) $((desk_h - 40 * dpi / 96))
$drive post "$main" $TRAYNOTIFY 0 0x205
sleep 1
shot tray-menu
# The menu's loop takes the keys from its thread's queue: five steps down to
# "其他实用功能", then right opens its power items.
for _ in 1 2 3 4 5; do $drive post "$main" 0x100 0x28 0; done   # WM_KEYDOWN VK_DOWN
$drive post "$main" 0x100 0x27 0                                  # VK_RIGHT
sleep 1
shot tray-menu-power
$drive post "$main" 0x1F 0 0   # WM_CANCELMODE closes the menu
sleep 0.5

$drive command "$main" "$(vt_id ID_TRAY_SHOW)"
sleep 1.5
shot_window main-window "$main"
# The same form waiting for a program, as the command line sets it (handed
# over to the running copy): "当" with "程序退出后".
(cd "$app" && wine Vantrel.exe /when-exit Thunder.exe </dev/null >/dev/null 2>&1) || true
sleep 1.5
shot_window main-window-condition "$main"
(cd "$app" && wine Vantrel.exe /cancel </dev/null >/dev/null 2>&1) || true
$drive post "$main" 0x0112 0xF060 0   # SC_CLOSE hides it again

$drive command "$main" "$(vt_id ID_TRAY_SETTINGS)"
$drive wait 'Vantrel 设置' 3000 && sleep 1 && shot_window settings 'Vantrel 设置'
$drive click 'Vantrel 设置' 2 || true   # 取消 hides it
sleep 0.5

$drive command "$main" "$(vt_id ID_TRAY_ABOUT)"
$drive wait '关于Vantrel' 3000 && sleep 0.5 && shot_window about '关于Vantrel'
$drive click '关于Vantrel' 1 || true
sleep 0.5

# The popup opens centred over the pointer, kept inside the work area: a
# click at the very right edge still shows it whole. (Halfway up: at the
# bottom corner the pointer rests on the tray and its tip would cover the
# popup in the picture.)
$drive cursor $((desk_w - 4)) $((desk_h / 2))
$drive post "$main" $TRAYNOTIFY 0 0x201
sleep 1
shot_window volume-popup '音量控制'
$drive post "$main" $TRAYNOTIFY 0 0x201
sleep 0.5

# Second run with a reminder due now, so its alert window opens.
$drive command "$main" "$(vt_id ID_TRAY_EXIT)"
sleep 2
python3 "$root/tools/make_notify.py" "$app/Notify.dat" --due-now
(cd "$app" && wine Vantrel.exe </dev/null >/dev/null 2>&1 &)
$drive wait "$main" 10000 >/dev/null 2>&1 || { echo "the assistant did not start again"; exit 1; }
$drive wait '开会 - 时间到了*' 10000 >/dev/null 2>&1 || true
sleep 2

# The pointer away from every window, so the list's tooltip stays out of
# the pictures.
$drive cursor 4 4
$drive command "$main" "$(vt_id ID_TRAY_REMINDERS)"
# The manager's caption carries its clock: "提醒管理器  北京时间  ...".
if $drive wait '提醒管理器*' 3000 2>/dev/null; then
  sleep 1
  shot_window reminder-manager '提醒管理器*'
  $drive click '提醒管理器*' "$(vt_id IDC_NEW_REMINDER)" || true   # 新建
  if $drive wait '新建提醒' 3000 2>/dev/null; then
    sleep 0.5
    shot_window reminder-editor '新建提醒'
    $drive click '新建提醒' 2 || true
  fi
  $drive click '提醒管理器*' 1 || true   # 完成: hides it, the alert shows in the desktop shot
fi

sleep 1
shot desktop
# The alert of the reminder that came due at start (its title is 开会).
$drive foreground '开会 - 时间到了*' 2>/dev/null || true
sleep 0.5
shot_window reminder-alert '开会 - 时间到了*'

if [ -f "$app/Update.exe" ]; then
  # A loopback update server with newer versions of two components.
  srv=$(mktemp -d /tmp/vantrel-srv.XXXX)
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
  gbk() { python3 -c 'import sys; sys.stdout.buffer.write(sys.argv[1].encode("gbk"))' "$1"; }
  gbk "$(printf '[Main]\r\nIniUrl=http://127.0.0.1:%s/update.ini\r\nTotal=2\r\nMainExe=Vantrel.exe\r\n[File0]\r\nTitle=关机管理器主程序\r\nversion=1.2\r\nuri=/Vantrel.exe\r\nfilename=Vantrel.exe\r\nneedclose=Vantrel.exe\r\n[File1]\r\nTitle=在线升级程序\r\nversion=1.1\r\nuri=/Update.exe\r\nfilename=Update.exe\r\n' "$port")" > "$srv/update.ini"
  gbk "$(printf '[Main]\r\nIniUrl=http://127.0.0.1:%s/update.ini\r\nLocalMode=0\r\nTotal=2\r\n[File0]\r\nTitle=关机管理器主程序\r\nversion=1.1\r\n[File1]\r\nTitle=在线升级程序\r\nversion=1.0\r\n' "$port")" > "$app/Update.ini"
  python3 -m http.server "$port" --bind 127.0.0.1 --directory "$srv" >/dev/null 2>&1 &
  server=$!
  sleep 1
  (cd "$app" && wine Update.exe </dev/null >/dev/null 2>&1 &)
  if $drive wait '在线升级' 8000; then
    sleep 1
    shot_window updater '在线升级'
    $drive click '在线升级' 1 || true   # check the server
    sleep 3
    shot_window updater-found '在线升级'
    $drive click '在线升级' 2 || true
  fi
  kill $server 2>/dev/null || true
  rm -rf "$srv"
fi

wineserver -k >/dev/null 2>&1 || true
rm -rf "$app"
