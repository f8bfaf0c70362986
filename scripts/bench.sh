#!/usr/bin/env bash
# Prints the assistant's figures, each start timed as a user waits for it:
# from CreateProcess until the main window, found by its title, turns visible
# after a posted "关机管理器..." (the message loop runs); medians of interleaved
# runs in one Wine prefix.
# - start-up against a dialog program of the same template and common
#   controls 6 (target: ratio at most 1.1), with a bare dialog and one with
#   common controls 6 alone for scale;
# - start-up with 0, 1,000 and 10,000 reminders in Notify.dat as ratios to
#   the empty file (target: 10,000 at most 1.3) with the private memory
#   (RssAnon) of each;
# - where one start's time goes, step by step (the program's own stamps);
# - idle CPU over 20 s (medians of 3 rounds) of the plain program and of
#   one with each condition armed (target: at most 1.2 times the plain
#   program), with the wineserver's share;
# - the size of the programs (target: at most 1 MiB) and their imports
#   (system DLLs only).
#   [VT_ARCH=x64|x86] bench.sh [runs]    (runs "idle": the idle CPU alone)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/names.sh"
bench_targets=""
source "$root/scripts/bench-start.sh" "$@"

app=$(mktemp -d /tmp/vantrel-bench.XXXX)
cp "$VT_BUILD/bin/Vantrel.exe" "$VT_BUILD/bench/bench_minimal_dialog.exe" "$VT_BUILD/bench/bench_minimal_comctl.exe" \
   "$VT_BUILD/bench/bench_minimal_template.exe" "$app/"
bench="wine $VT_BUILD/bench/startup_bench.exe"
runs=${1:-11}
startups=true
[ "$runs" != idle ] || startups=false
show=$(vt_id ID_TRAY_SHOW)
ratio() { python3 -c "print(round($1/$2, 2) if $2 else '-')"; }
if $startups; then
# The programs start in turns, so a burst of other load on the machine slows
# all of them alike. Every one is shown by the same posted command: the bare
# dialog, the same with common controls 6 (what those alone cost), and with
# the assistant's resources and main window template, titled in its
# initialisation (what the template costs; the rest is the assistant's own
# code).
{ read -r base base_min base_max; read -r cc cc_min cc_max; read -r tpl tpl_min tpl_max
  read -r ours ours_min ours_max; } < <(
  $bench "$(winepath -w "$app/bench_minimal_dialog.exe")" MinimalBench "$runs" "$show" \
         "$(winepath -w "$app/bench_minimal_comctl.exe")" MinimalBench \
         "$(winepath -w "$app/bench_minimal_template.exe")" MinimalBench \
         "$(winepath -w "$app/Vantrel.exe")" "$vt_main_title" | tr -d '\r')
printf 'start-up until the main window shows (median of %s, fastest-slowest): Vantrel %s ms (%s-%s), dialog of the same template and common controls 6 %s ms (%s-%s), ratio %s (target <= 1.1)\n' \
  "$runs" "$ours" "$ours_min" "$ours_max" "$tpl" "$tpl_min" "$tpl_max" "$(ratio "$ours" "$tpl")"
printf '  in the same runs: bare dialog %s ms (%s-%s); with common controls 6 %s ms (%s-%s), ratio %s to it; the template dialog %s to it\n' \
  "$base" "$base_min" "$base_max" "$cc" "$cc_min" "$cc_max" "$(ratio "$cc" "$base")" "$(ratio "$tpl" "$base")"
fi

# The Linux process of the assistant running in this bench's prefix: the
# Linux process of a Wine program has the program's file name as its command
# line.
vantrel_pid() {
  local pid
  for pid in $(pgrep -f '^Vantrel\.exe' || true); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
      return
    fi
  done
}
drive() { wine "$VT_BUILD/tools/vtdrive.exe" "$@" 2>/dev/null | tr -d '\r'; }

if $startups; then
counts="0 1000 10000"
targets=()
for count in $counts; do
  mkdir -p "$app/n$count"
  cp "$app/Vantrel.exe" "$app/n$count/"
  python3 "$root/tools/make_notify.py" "$app/n$count/Notify.dat" --count "$count" --date 2099-1-1 --time 9:00
  targets+=("$(winepath -w "$app/n$count/Vantrel.exe")" "$vt_main_title")
done
mapfile -t figures < <($bench "${targets[0]}" "${targets[1]}" "$runs" "$show" "${targets[@]:2}" | tr -d '\r')
i=0
empty=
for count in $counts; do
  read -r t t_min t_max <<<"${figures[$i]}"
  i=$((i + 1))
  [ -n "$empty" ] || empty=$t
  # Private memory once started: one more run, read from its Linux process.
  # The Linux process of a Wine program has the program's file name as its
  # command line; ours is the one in this bench's prefix.
  (cd "$app/n$count" && wine Vantrel.exe </dev/null >/dev/null 2>&1 &)
  wine "$VT_BUILD/tools/vtdrive.exe" wait "$vt_main_title" 20000 >/dev/null 2>&1 || true
  sleep 2
  pid=$(vantrel_pid)
  rss=$( [ -n "$pid" ] && awk '/RssAnon/ {print $2}' "/proc/$pid/status" || echo '?')
  wine "$VT_BUILD/tools/vtdrive.exe" command "$vt_main_title" "$(vt_id ID_TRAY_EXIT)" >/dev/null 2>&1 || true
  sleep 2
  printf 'start-up with %5d reminders (median of %s, fastest-slowest): %s ms (%s-%s), ratio to none %s (target <= 1.3 for 10000); RssAnon %s KiB (records %s KiB)\n' \
    "$count" "$runs" "$t" "$t_min" "$t_max" "$(ratio "$t" "$empty")" "$rss" "$(( count * 8276 / 1024 ))"
done

# Where the time goes: empty and with 10,000 reminders, with the program
# noting its steps.
for count in 0 10000; do
  echo "start-up steps with $count reminders:"
  $bench --steps "$(winepath -w "$app/n$count/Vantrel.exe")" "$vt_main_title" "$runs" "$show" \
         "$(winepath -w "$app/stamps.txt")" | tr -d '\r' | sed 's/^/  /' || echo "  not measured: no stamps"
done
fi

# Idle CPU: the program started (with its arguments), left alone
# VT_IDLE_SECONDS (20) after settling. The time on a processor of every thread of its Linux process, in
# nanoseconds (/proc/PID/task/*/schedstat), and of the prefix's wineserver,
# which does the system's side of the program's calls. Prints
# "<program ns> <wineserver ns> <status line>".
task_ns() {
  local pid=$1
  [ -n "$pid" ] || { echo 0; return; }
  # Printed as a float: mawk's %d stops at 2^31 ns (2.1 s), which a wineserver's total soon passes.
  cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%.0f\n", ns}'
}
# The prefix's server works in a folder named after the prefix's device and
# inode (its environment need not name the prefix: a program may start it).
wineserver_pid() {
  local pid dir
  dir=$(printf 'server-%x-%x' "0x$(stat -c %D "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
  for pid in $(pgrep wineserver || true); do
    if [[ "$(readlink "/proc/$pid/cwd" 2>/dev/null)" == */"$dir" ]]; then
      echo "$pid"
      return
    fi
  done
}
mkdir -p "$app/idle"
cp "$app/Vantrel.exe" "$app/idle/"
python3 "$root/tools/make_notify.py" "$app/idle/Notify.dat" --count 0 --date 2099-1-1 --time 9:00
idle_cpu() {
  (cd "$app/idle" && wine Vantrel.exe "$@" </dev/null >/dev/null 2>&1 &)
  if ! drive wait "$vt_main_title" 20000 >/dev/null; then
    echo "- - none"
    return
  fi
  sleep 3
  local pid server a b sa sb status
  pid=$(vantrel_pid)
  server=$(wineserver_pid)
  a=$(task_ns "$pid"); sa=$(task_ns "$server")
  sleep "$idle_seconds"
  b=$(task_ns "$pid"); sb=$(task_ns "$server")
  status=$(drive text "$vt_main_title" "$(vt_id IDC_STATUS)")
  drive command "$vt_main_title" "$(vt_id ID_TRAY_EXIT)" >/dev/null || true
  sleep 2
  echo "$((b - a)) $((sb - sa)) $status"
}
ms() { python3 -c "print(round($1 / 1e6, 1))"; }
median() { python3 -c "import statistics, sys; print(int(statistics.median(int(v) for v in sys.argv[1:])))" "$@"; }
idle_seconds=${VT_IDLE_SECONDS:-20}
idle_rounds=${VT_IDLE_ROUNDS:-3}
# The plain program, a program that never runs (looked for now and again),
# one that runs all along (services.exe is in every prefix: held, not looked
# for), and the three kinds of quiet; in rounds, each round all of them in
# turn, so that a stretch of other load on the machine weighs on all alike.
conditions=("" "/when-exit vt_absent.exe" "/when-exit services.exe" "/when-idle 30" "/when-net-idle 5" \
            "/when-cpu-idle 5")
declare -a own server status
for ((round = 0; round < idle_rounds; round++)); do
  for i in "${!conditions[@]}"; do
    # shellcheck disable=SC2086 # the switch and its value are two arguments
    read -r o s line < <(idle_cpu ${conditions[$i]})
    own[i]="${own[i]:-} $o"
    server[i]="${server[i]:-} $s"
    status[i]=$line
  done
done
# shellcheck disable=SC2086 # the figures are separate arguments
plain=$(median ${own[0]}) plain_server=$(median ${server[0]})
printf 'idle CPU over %s s (median of %s rounds): plain program %s ms (wineserver %s ms)\n' "$idle_seconds" \
  "$idle_rounds" "$(ms "$plain")" "$(ms "$plain_server")"
for ((i = 1; i < ${#conditions[@]}; i++)); do
  condition=${conditions[$i]}
  if [[ "${own[i]}" == *-* ]]; then
    echo "  $condition: not measured: the program did not start with it (the argument is not accepted)"
  elif [ "${status[i]}" = "${status[0]}" ]; then
    echo "  $condition: not measured: it arms no condition in this build (status line as without it: ${status[i]})"
  else
    # shellcheck disable=SC2086
    armed=$(median ${own[i]}) armed_server=$(median ${server[i]})
    printf '  %s: %s ms, ratio %s (target <= 1.2); wineserver %s ms, ratio %s; status "%s"\n' "$condition" \
      "$(ms "$armed")" "$(ratio "$armed" "$plain")" "$(ms "$armed_server")" "$(ratio "$armed_server" "$plain_server")" \
      "${status[i]}"
  fi
done
wineserver -k >/dev/null 2>&1 || true
rm -rf "$app"
for exe in Vantrel Update; do
  f="$VT_BUILD/bin/$exe.exe"
  [ -f "$f" ] || continue
  size=$(stat -c %s "$f")
  printf '%s.exe: %d bytes (%s MiB, target <= 1 MiB); imports: %s\n' "$exe" "$size" \
    "$(ratio "$size" 1048576)" \
    "$($VT_MINGW-objdump -p "$f" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
done
