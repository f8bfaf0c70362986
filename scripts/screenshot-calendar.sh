#!/usr/bin/env bash
# Pictures of the Chinese-calendar rules: the manager's list with their rule
# texts and a next occurrence in a year without holiday schedule (and the
# balloon that says so), the editor with the lunar date beside the date
# picker, and the day menu with 每个法定工作日 and 每年农历…. The assistant's
# clock is set with libfaketime. Run scripts/test.sh once before, so the
# Windows build exists.
#   screenshot-calendar.sh [--dpi 96|120|144|192] [dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/names.sh"
source "$root/scripts/shot-scale.sh" "$@"
vt_shot_prefix shots-prefix
drive="wine $VT_BUILD/tools/vtdrive.exe"
main=$vt_main_title

app=$(mktemp -d /tmp/vantrel-calendar.XXXX)
cp "$VT_BUILD/bin/Vantrel.exe" "$root/assistant/res/Holidays.txt" "$app"/
python3 "$root/tools/make_notify.py" "$app/Notify.dat" --title 上班打卡 --content 打卡 --date 2026-9-1 \
  --time 8:30 --repeat statutory-workdays --state expired
python3 "$root/tools/make_notify.py" "$app/Notify.dat" --append --title 中秋节 --content 给家里打电话 \
  --date 2026-9-25 --time 19:00 --repeat lunar-yearly --state expired
python3 "$root/tools/make_notify.py" "$app/Notify.dat" --append --title 周报 --content 写周报 \
  --date 2026-9-4 --time 17:00 --repeat weekly --state expired

wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

# Starts the assistant with its clock running from the given moment.
start_at() {
  (cd "$app" && LD_PRELOAD=$VT_FAKETIME_LIB FAKETIME="@$1" wine Vantrel.exe </dev/null >/dev/null 2>&1 &)
  $drive wait "$main" 10000 >/dev/null 2>&1 || { echo "the assistant did not start"; exit 1; }
}
stop() {
  $drive command "$main" "$(vt_id ID_TRAY_EXIT)" || true
  sleep 2
}

# The last working day of 2026: the next one lies in 2027, which the
# schedule does not cover yet.
start_at "2026-12-31 12:00:00"
$drive cursor 4 4
sleep 3
shot calendar-balloon
$drive command "$main" "$(vt_id ID_TRAY_REMINDERS)"
if $drive wait '提醒管理器*' 3000 2>/dev/null; then
  sleep 1
  shot_window calendar-list '提醒管理器*'
  # The last columns, "状态" and "下次提醒", scrolled into view (LVM_SCROLL).
  $drive senditem '提醒管理器*' "$(vt_id IDC_REMINDER_LIST)" 0x1014 2000 0 || true
  sleep 0.5
  shot_window calendar-list-next '提醒管理器*'
fi
stop

# 中秋 2026: a new reminder starts on today's date, 八月十五.
start_at "2026-09-25 12:00:00"
$drive cursor 4 4
$drive command "$main" "$(vt_id ID_TRAY_REMINDERS)"
$drive wait '提醒管理器*' 3000 >/dev/null 2>&1
$drive click '提醒管理器*' "$(vt_id IDC_NEW_REMINDER)" || true
if $drive wait '新建提醒' 3000 2>/dev/null; then
  $drive command '新建提醒' $(( $(vt_id ID_DAY_FIRST) + 8 ))
  sleep 1
  shot_window calendar-editor '新建提醒'
  # The day menu opens at the pointer: put it on the day button.
  read -r x y w h <<<"$($drive rect '新建提醒' | tr -d '\r')"
  $drive cursor $((x + w - 60 * dpi / 96)) $((y + 60 * dpi / 96))
  $drive click '新建提醒' "$(vt_id IDC_DAY_BUTTON)" || true
  sleep 1
  import -window root -crop "$((w + 200 * dpi / 96))x$((h + 120 * dpi / 96))+${x}+${y}" +repage \
    "$out/calendar-day-menu$suffix.png"
  echo "wrote $out/calendar-day-menu$suffix.png"
fi

wineserver -k >/dev/null 2>&1 || true
rm -rf "$app"
