#!/usr/bin/env bash
# The assistant's ways out that end the logon, on the real Vantrel.exe: the
# power commands (关机, 重新启动, 注销), the end of the countdown, and Windows
# asking WM_QUERYENDSESSION. Each must have saved the Run value and ShowInfo
# and removed the tray icon before it asks for the power action.
#
# Under Wine, ExitWindowsEx starts "wineboot --kill [--shutdown]", which ends
# every process of the prefix (never anything of the host or another prefix).
# So this runs in a prefix of its own, with its own wineserver, and never
# touches the test harness's prefix. For most cases wineboot is replaced by a
# stand-in that only notes its command line, so the assistant has to end by
# itself; the last case lets the real wineboot through.
#
# Order is read from Wine's own trace of the assistant's main thread: registry
# writes (reg), Shell_NotifyIcon calls (systray) and process creation
# (process) come out in the order the program made them.
#
# Usage: power-e2e.sh <Windows build dir> [calendar]   (inside xvfb-run, like
# the suite); "calendar": only the power reminders' cases (calendar-cases.sh).
set -uo pipefail

build=$(cd "${1:?usage: power-e2e.sh <build dir>}" && pwd)
outer_prefix=${WINEPREFIX:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
export VT_BUILD=$build
export VT_WINEPREFIX=$build/power-prefix
source "$root/scripts/wine-env.sh"
source "$root/scripts/names.sh"
# ctest runs the suite with the harness's prefix exported; from here on every
# Wine call goes to this test's prefix.
export WINEPREFIX=$VT_WINEPREFIX

vantrel=$build/bin/Vantrel.exe
vtdrive=$build/tools/vtdrive.exe
stub=$build/tools/vtbootstub.exe
title=$vt_main_title
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
info_key='HKLM\Software\Orvane\Vantrel'
sys32=$WINEPREFIX/drive_c/windows/system32

for f in "$vantrel" "$vtdrive" "$stub"; do
  [ -f "$f" ] || { echo "FAIL: $f is not built"; exit 1; }
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/vt-power.XXXXXX")
failures=0
app_pid=

cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -f "${pristine_boot:-}" ] && cp "$pristine_boot" "$sys32/wineboot.exe"
  [ -n "${scratch:-}" ] && rm -rf "$scratch"
  timeout 30 wineserver -k >/dev/null 2>&1 </dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

# Wine's processes must never hold ctest's pipes (wineserver and services.exe
# keep the descriptors of whoever starts them), so every Wine call reads
# /dev/null and writes to files.
w() { timeout "${WT:-30}" wine "$@" </dev/null >"$tmp/out" 2>"$tmp/err"; }

if ! timeout 300 "$root/scripts/wine-prefix.sh" </dev/null >"$tmp/prefix.log" 2>&1; then
  echo "FAIL: could not create the prefix $WINEPREFIX"; cat "$tmp/prefix.log"; exit 1
fi
timeout 30 wineserver -p </dev/null >/dev/null 2>&1
w cmd /c exit

scratch=$(mktemp -d "$WINEPREFIX/drive_c/vt-power.XXXXXX")
cp "$vantrel" "$scratch/Vantrel.exe"
winpath="C:\\$(basename "$scratch")\\Vantrel.exe"
boot_log_unix=$scratch/boot.log
boot_log="C:\\$(basename "$scratch")\\boot.log"
# Wine's own wineboot is kept beside the prefix once, so that a run that was
# cut short cannot leave the stand-in behind as the "original".
pristine_boot=$WINEPREFIX/.wineboot.exe.orig
[ -f "$pristine_boot" ] || cp "$sys32/wineboot.exe" "$pristine_boot"
cp "$stub" "$sys32/wineboot.exe"

fail() { echo "FAIL: $case: $*"; case_ok=0; }

reg_value() {  # key name -> prints "type data" from `reg query`
  w reg query "$1" /v "$2" || return 1
  tr -d '\r' <"$tmp/out" | awk -v n="$2" '$1 == n { print $2, $3; exit }'
}

forget_saved_values() {
  w reg delete "$run_key" /v Vantrel /f
  w reg delete "$info_key" /v ShowInfo /f
}

# Waits for a line that matches the pattern in the file, up to the given
# tenths of a second (5 s).
wait_line() {  # file pattern [tenths]
  local i
  for ((i = 0; i < ${3:-50}; i++)); do
    grep -q -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# Starts the copy in the scratch folder with Wine's trace on, and waits for its
# main window and tray icon (a prefix that just ended every process may take
# a while to start its services again on a loaded machine).
start_assistant() {
  trace=$tmp/$1.trace
  rm -f "$boot_log_unix"
  # The copy of the case before must be gone with its window, or this start
  # would only be a second copy that greets it and quits.
  for _ in $(seq 1 100); do
    w "$vtdrive" wait "$title" 1 || break
    sleep 0.1
  done
  WINEDEBUG="-all,trace+reg,trace+systray,trace+process,warn+ntdll${extra_debug:-}" VT_POWER_LOG="$boot_log" \
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES;wineboot.exe=${2:-n}" \
    wine "$winpath" </dev/null >/dev/null 2>"$trace" &
  app_pid=$!
  WT=40 w "$vtdrive" wait "$title" 30000 || { fail "its main window did not appear"; return 1; }
  # The tray icon goes in during initialisation; give the first tick time.
  wait_line "$trace" 'Shell_NotifyIconW dwMessage = 0' || fail "no tray icon was added"
}

wait_assistant_end() {  # seconds
  local i
  for ((i = 0; i < $1 * 10; i++)); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$app_pid" 2>/dev/null; then
    fail "the program did not end within $1 s"
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
    app_pid=
    return 1
  fi
  wait "$app_pid"
  local rc=$?
  app_pid=
  [ "$rc" = 0 ] || fail "the program ended with code $rc"
}

check_saved_values() {
  local run info
  run=$(reg_value "$run_key" Vantrel) || true
  [ "$run" = "REG_SZ \"$winpath\"" ] || fail "Run value is '$run', expected REG_SZ \"$winpath\""
  info=$(reg_value "$info_key" ShowInfo) || true
  [ "$info" = "REG_DWORD 0x0" ] || fail "ShowInfo is '$info', expected REG_DWORD 0x0"
}

# In the main thread's trace: the Run value and ShowInfo written and the tray
# icon deleted, in that order, and all of it before the line given by the
# pattern $1 (empty: only that the three happened).
check_prepare_exit_order() {
  BEFORE=$1 awk '
    BEGIN { before = ENVIRON["BEFORE"] }
    /trace:process:CreateProcessInternalW/ && /wineboot\.exe/ && !req { req = NR; tid = substr($0, 1, 4) }
    { line[NR] = $0 }
    END {
      last = req ? req : NR
      for (i = 1; i < last; i++) {
        if (req && substr(line[i], 1, 4) != tid) continue
        if (line[i] ~ /NtSetValueKey \([^,]*,L"Vantrel",1,/) run = i
        if (line[i] ~ /NtSetValueKey \([^,]*,L"ShowInfo",4,/) info = i
        if (line[i] ~ /Shell_NotifyIconW dwMessage = 2,/) del = i
      }
      if (before != "" && !req) { print "no power request was made"; exit 1 }
      if (!run) { print "the Run value was not written first"; exit 1 }
      if (!info) { print "ShowInfo was not written first"; exit 1 }
      if (!del) { print "the tray icon was not deleted first"; exit 1 }
      if (!(run < info && info < del)) { print "Run value, ShowInfo and tray icon out of order"; exit 1 }
      if (before != "" && line[req] !~ before) { print "power request was: " line[req]; exit 1 }
    }' "$trace" >"$tmp/order" || fail "$(cat "$tmp/order")"
}

report() {
  if [ "$case_ok" = 1 ]; then
    echo "PASS: $case"
  else
    failures=$((failures + 1))
    echo "  trace kept: last lines of $case"
    grep -E 'NtSetValueKey|Shell_NotifyIconW|CreateProcessInternalW' "$trace" 2>/dev/null | tail -8 | sed 's/^/    /'
  fi
}

# The stand-in wineboot is a process of its own: the assistant may have ended
# before it has started and written its line, more so on a loaded machine.
boot_logged() {  # expected wineboot arguments
  wait_line "$boot_log_unix" "wineboot.exe $1\$" 100
}

# One tray command that ends the logon, with wineboot replaced by the stand-in.
power_command() {  # id, name, expected wineboot arguments
  case="command $1 ($2) saves, removes the icon, then asks for '$3' and ends"
  case_ok=1
  forget_saved_values
  if start_assistant "cmd$1"; then
    w "$vtdrive" command "$title" "$1" || fail "could not send the command"
    wait_assistant_end 15
    check_saved_values
    check_prepare_exit_order "wineboot\\.exe $3\"\$"
    boot_logged "$3" || fail "the stand-in wineboot was not started with '$3'"
  fi
  report
}

if [ "${2:-}" = calendar ]; then
  source "$root/tests/power/calendar-cases.sh"
  [ "$failures" = 0 ] && echo "PASS: all calendar power cases" && exit 0
  echo "FAIL: $failures calendar power case(s)"
  exit 1
fi

power_command "$(vt_id ID_TRAY_SHUTDOWN)" 关机 "--kill --shutdown"
power_command "$(vt_id ID_TRAY_REBOOT)" 重新启动 "--kill"
power_command "$(vt_id ID_TRAY_LOGOFF)" 注销 "--kill --shutdown"

# The countdown: freshly started it stands at 60 seconds, and "开始计时"
# (tray command ID_TRAY_STARTSTOP) lets it run; it ends on the 61st tick.
case="countdown end saves, removes the icon, then asks for '--kill --shutdown' and ends"
case_ok=1
forget_saved_values
if start_assistant countdown; then
  w "$vtdrive" command "$title" "$(vt_id ID_TRAY_STARTSTOP)" || fail "could not start the countdown"
  sleep 3
  # The running countdown keeps the computer from falling asleep by itself
  # (SetThreadExecutionState, which Wine notes in its ntdll warnings).
  grep -q 'NtSetThreadExecutionState (0x80000001,' "$trace" ||
    fail "the running countdown did not ask to stay awake (ES_CONTINUOUS|ES_SYSTEM_REQUIRED)"
  sleep 47
  if ! kill -0 "$app_pid" 2>/dev/null; then fail "ended before the countdown ran out"; fi
  wait_assistant_end 30
  # Cleared at the end, before the power action is asked for.
  awk '/NtSetThreadExecutionState \(0x80000000,/ && !cleared { cleared = NR }
       /trace:process:CreateProcessInternalW/ && /wineboot\.exe/ && !boot { boot = NR }
       END { exit !(cleared && boot && cleared < boot) }' "$trace" ||
    fail "the request to stay awake was not cleared before the shutdown"
  check_saved_values
  check_prepare_exit_order 'wineboot\.exe --kill --shutdown"$'
  boot_logged "--kill --shutdown" || fail "the stand-in wineboot was not started"
fi
report

# Windows ending the logon: the answer is true, given after the same saving,
# and the program stays until Windows ends it.
case="WM_QUERYENDSESSION saves, removes the icon, answers 1 and the program stays"
case_ok=1
forget_saved_values
if start_assistant queryend; then
  if w "$vtdrive" send "$title" 0x11 0 0; then
    answer=$(tr -d '\r\n' <"$tmp/out")
    [ "$answer" = 1 ] || fail "answer was '$answer'"
  else
    fail "the message could not be sent"
  fi
  check_saved_values
  check_prepare_exit_order ""
  grep -q 'CreateProcessInternalW.*wineboot' "$trace" && fail "it asked for a power action itself"
  sleep 1
  kill -0 "$app_pid" 2>/dev/null || fail "the program ended by itself"
  w "$vtdrive" command "$title" "$(vt_id ID_TRAY_EXIT)"
  wait_assistant_end 15
fi
report

# Sleep, hibernate and lock are no ways out: each reaches its call (Wine's
# SetSuspendState notes itself as a stub; LockWorkStation, which Wine does
# not have, shows in the program's own note of the refused call), sleep and
# hibernate write Notify.dat first, and the program runs on with its icon.
case="睡眠, 休眠 and 锁定 reach SetSuspendState and LockWorkStation and the program runs on"
case_ok=1
notify=$scratch/Notify.dat
rm -f "$notify"
wait_trace() { wait_line "$trace" "$1"; }
if extra_debug=",fixme+powrprof,warn+seh" start_assistant suspend; then
  w "$vtdrive" command "$title" "$(vt_id ID_TRAY_SLEEP)" || fail "could not send 睡眠"
  wait_trace 'SetSuspendState (0, ' || fail "睡眠 did not reach SetSuspendState(FALSE, ...)"
  [ -f "$notify" ] || fail "睡眠 did not write Notify.dat first"
  rm -f "$notify"
  w "$vtdrive" command "$title" "$(vt_id ID_TRAY_HIBERNATE)" || fail "could not send 休眠"
  wait_trace 'SetSuspendState (1, ' || fail "休眠 did not reach SetSuspendState(TRUE, ...)"
  [ -f "$notify" ] || fail "休眠 did not write Notify.dat first"
  w "$vtdrive" command "$title" "$(vt_id ID_TRAY_LOCK)" || fail "could not send 锁定"
  wait_trace 'LockWorkStation' || fail "锁定 did not reach LockWorkStation"
  sleep 1
  kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
  grep -q 'Shell_NotifyIconW dwMessage = 2,' "$trace" && fail "the tray icon was removed"
  grep -q 'CreateProcessInternalW.*wineboot' "$trace" && fail "it asked for a way out of the logon"
  w "$vtdrive" command "$title" "$(vt_id ID_TRAY_EXIT)"
  wait_assistant_end 15
fi
report

# Wine servers of other prefixes (the suite's own, when ctest runs this).
other_wineservers() {
  local pid
  for pid in $(pgrep -x 'wineserver|wineserver32|wineserver64'); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$outer_prefix"; then
      echo "$pid"
    fi
  done
}

# The real wineboot, last: it ends every process of this prefix.
case="command $(vt_id ID_TRAY_SHUTDOWN) (关机) with Wine's real wineboot: saved first, only this prefix ends"
case_ok=1
cp "$pristine_boot" "$sys32/wineboot.exe"
forget_saved_values
sleep 300 & host_sentinel=$!
others=
[ -n "$outer_prefix" ] && [ "$outer_prefix" != "$WINEPREFIX" ] && others=$(other_wineservers)
# "b": Wine's builtin wineboot, as without the override.
if start_assistant real b; then
  w "$vtdrive" command "$title" "$(vt_id ID_TRAY_SHUTDOWN)" || fail "could not send the command"
  wait_assistant_end 20
  check_prepare_exit_order 'wineboot\.exe --kill --shutdown"$'
  kill -0 "$host_sentinel" 2>/dev/null || fail "a host process was ended"
  for pid in $others; do
    kill -0 "$pid" 2>/dev/null || fail "the wineserver of $outer_prefix ended"
  done
  # Let the session end finish (a Wine process started meanwhile would be
  # ended too), then read what this prefix's registry kept on disk.
  timeout 30 wineserver -k >/dev/null 2>&1 </dev/null
  check_saved_values
fi
kill "$host_sentinel" 2>/dev/null
wait "$host_sentinel" 2>/dev/null
report

if [ "$failures" = 0 ]; then
  echo "PASS: all power cases"
else
  echo "FAIL: $failures power case(s)"
  exit 1
fi
