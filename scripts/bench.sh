#!/usr/bin/env bash
# Prints the assistant's figures: start-up time against a minimal Win32
# dialog program started the same way in the same Wine prefix (target: ratio
# at most 1.2; median of 20 runs with the fastest and slowest), start-up
# with 0, 1,000 and 10,000 reminders in Notify.dat as ratios to the empty
# file (target: at most 2) with the private memory (RssAnon) of each, the
# size of the programs (target: at most 1 MiB) and their imports (system
# DLLs only).
#   [VT_ARCH=x64|x86] bench.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/names.sh"
bench_targets=""
source "$root/scripts/bench-start.sh" "$@"

app=$(mktemp -d /tmp/vantrel-bench.XXXX)
cp "$VT_BUILD/bin/Vantrel.exe" "$VT_BUILD/bench/bench_minimal_dialog.exe" "$VT_BUILD/bench/bench_minimal_comctl.exe" \
   "$VT_BUILD/bench/bench_minimal_template.exe" "$app/"
bench="wine $VT_BUILD/bench/startup_bench.exe"
runs=${1:-20}
ratio() { python3 -c "print(round($1/$2, 2))"; }
# The programs start in turns, so a burst of other load on the machine slows
# all of them alike. Besides the minimal dialog: the same with common
# controls 6 (what those alone cost), and with the assistant's resources and
# main window template, titled in its initialisation (what the template
# costs; the rest is the assistant's own code).
{ read -r base base_min base_max; read -r cc cc_min cc_max; read -r tpl tpl_min tpl_max
  read -r ours ours_min ours_max; } < <(
  $bench "$(winepath -w "$app/bench_minimal_dialog.exe")" MinimalBench "$runs" 0 \
         "$(winepath -w "$app/bench_minimal_comctl.exe")" MinimalBench \
         "$(winepath -w "$app/bench_minimal_template.exe")" MinimalBench \
         "$(winepath -w "$app/Vantrel.exe")" "$vt_main_title" | tr -d '\r')
printf 'start-up to main window (median of %s, fastest-slowest): minimal dialog %s ms (%s-%s), Vantrel %s ms (%s-%s), ratio %s (target <= 1.2)\n' \
  "$runs" "$base" "$base_min" "$base_max" "$ours" "$ours_min" "$ours_max" "$(ratio "$ours" "$base")"
printf '  in the same runs: the minimal dialog with common controls 6 %s ms (%s-%s), ratio %s to the minimal dialog;\n' \
  "$cc" "$cc_min" "$cc_max" "$(ratio "$cc" "$base")"
printf '  with the main window template as well, titled in its initialisation %s ms (%s-%s), ratio %s; Vantrel to it %s\n' \
  "$tpl" "$tpl_min" "$tpl_max" "$(ratio "$tpl" "$base")" "$(ratio "$ours" "$tpl")"

# Start-up until the message loop runs (a posted "show the countdown form"
# is handled), with one-time reminders far in the future: nothing fires.
# A folder per reminder count, each with its copy of the assistant and its
# Notify.dat, started in turns.
show=$(vt_id ID_TRAY_SHOW)
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
  rss='?'
  for pid in $(pgrep -f '^Vantrel\.exe' || true); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      rss=$(awk '/RssAnon/ {print $2}' "/proc/$pid/status")
    fi
  done
  wine "$VT_BUILD/tools/vtdrive.exe" command "$vt_main_title" "$(vt_id ID_TRAY_EXIT)" >/dev/null 2>&1 || true
  sleep 2
  printf 'start-up with %5d reminders (median of %s, fastest-slowest): %s ms (%s-%s), ratio to none %s (target <= 2); RssAnon %s KiB (records %s KiB)\n' \
    "$count" "$runs" "$t" "$t_min" "$t_max" "$(ratio "$t" "$empty")" "$rss" "$(( count * 8276 / 1024 ))"
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
