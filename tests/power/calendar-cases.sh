# Sourced by power-e2e.sh (second argument "calendar"): "每个法定工作日 18:30 关机"
# on the real program, its clock started at 18:29:50 by libfaketime. On a
# working day: alert, last minute, the shutdown asked for with the occurrence
# saved as answered; one due at 18:29, before the start, is only named. On a
# holiday nothing happens.

notify=$scratch/Notify.dat
printf 'years 2026-2026\r\n2026-10-01 off\r\n2026-10-02 off\r\n2026-10-10 work\r\n' >"$scratch/Holidays.txt"
reminders() {  # extra make_notify.py arguments for a second record, or none
  python3 "$root/tools/make_notify.py" "$notify" --title official --date 2026-9-1 --time 18:30 \
    --repeat statutory-workdays --state expired --power shutdown || fail "could not write Notify.dat"
  [ $# = 0 ] || python3 "$root/tools/make_notify.py" "$notify" --append "$@" || fail "could not write Notify.dat"
}
at() { LD_PRELOAD=$VT_FAKETIME_LIB FAKETIME="@$1" NO_FAKE_STAT=1 "${@:2}"; }
shown() { w "$vtdrive" wait "$1" "${2:-100}"; }  # a window with that title (a trailing * for its start)

case="每个法定工作日 18:30 关机 on a working day: alert, last minute, then the shutdown, answered first"
case_ok=1
reminders --title early --date 2026-9-1 --time 18:29 --repeat daily --power shutdown
if at "2026-10-09 18:29:50" start_assistant workday; then
  shown 'early*' 5000 || fail "the reminder due before the start did not show"
  shown 即将关机 && fail "the last minute began for the reminder due before the start"
  WT=40 shown 即将关机 30000 || fail "no last minute at 18:30"
  shown 'official*' 5000 || fail "its alert did not show"
  wait_assistant_end 80
  check_prepare_exit_order 'wineboot\.exe --kill --shutdown"$'
  python3 - "$notify" <<'EOF' || fail "the occurrence of 18:30 is not saved as answered"
import datetime, struct, sys
block = open(sys.argv[1], 'rb').read()[4140:4152]
minute = (datetime.date(2026, 10, 9) - datetime.date(1970, 1, 1)).days * 1440 + 18 * 60 + 30
sys.exit(block != b'VtDn' + struct.pack('<q', minute))
EOF
fi
report

case="每个法定工作日 18:30 关机 on a holiday: nothing happens"
case_ok=1
reminders
if at "2026-10-01 18:29:50" start_assistant holiday; then
  sleep 25
  shown 'official*' && fail "it rang on a holiday"
  shown 即将关机 && fail "a last minute began on a holiday"
  grep -q 'CreateProcessInternalW.*wineboot' "$trace" && fail "it asked for a way out of the logon"
  w "$vtdrive" command "$title" "$(vt_id ID_TRAY_EXIT)"
  wait_assistant_end 15
fi
report
