#!/usr/bin/env bash
# A picture of the countdown's last-minute window, held open by a window
# test of its own (the window on its own, as the countdown shows it).
# Run scripts/test.sh once before, so the Windows build exists.
#   screenshot-last-minute.sh [--dpi 96|120|144|192] [dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/shot-scale.sh" "$@"
vt_shot_prefix shots-prefix
drive="wine $VT_BUILD/tools/vtdrive.exe"

wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

wine "$VT_BUILD/tests/mainwnd_wintests.exe" --gtest_also_run_disabled_tests \
  --gtest_filter=LastMinuteWindow.DISABLED_StaysOpenForAScreenshot </dev/null >/dev/null 2>&1 &
held=$!
$drive cursor 4 4
if $drive wait '即将关机' 10000 2>/dev/null; then
  sleep 1
  shot_window last-minute '即将关机'
fi
wait $held || true
wineserver -k >/dev/null 2>&1 || true
