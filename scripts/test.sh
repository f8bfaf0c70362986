#!/usr/bin/env bash
# Builds everything and runs every test: the native core tests, then for each
# Windows architecture the machine can run (x64 always; x86 where 32-bit
# programs run) the Windows build, its installer, and the Windows and
# end-to-end tests under Wine inside Xvfb; then short fuzz runs.
# Installs missing Debian packages first (needs root or sudo).
# VT_ARCHS="x64" (or "x86") limits the Windows part to those; arguments go
# to ctest (for example -R Reminder).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/arch.sh
jobs=$(nproc 2>/dev/null || echo 2)
started=$SECONDS

scripts/deps.sh native

# Every C++ file in the layout of .clang-format (a check that can fail).
echo "== format"
unformatted=$(git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run 2>&1 | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' | sort -u)
if [ -n "$unformatted" ]; then
  echo "not in the layout of .clang-format (run clang-format -i on them):"
  echo "$unformatted"
  exit 1
fi
echo "format: all $(git ls-files '*.cpp' '*.h' | wc -l) C++ files follow .clang-format"

echo "== native build and tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

# Which architectures run here, and why one does not: never skipped in silence.
wanted=${VT_ARCHS:-x64 x86}
archs=()
declare -A not_run=()
for arch in $wanted; do
  case $arch in
    x64) archs+=(x64) ;;
    x86)
      if ! vt_runs_32bit; then
        not_run[x86]="this machine cannot execute 32-bit programs"
      elif ! VT_ARCH=x86 scripts/deps.sh windows; then
        not_run[x86]="its i386 packages (32-bit Wine) could not be installed"
      else
        archs+=(x86)
      fi ;;
    *) echo "VT_ARCHS: unknown architecture '$arch'" >&2; exit 2 ;;
  esac
done
for arch in x64 x86; do
  [[ " $wanted " == *" $arch "* ]] || not_run[$arch]="left out by VT_ARCHS"
done

for arch in "${archs[@]}"; do
  (
    export VT_ARCH=$arch
    unset VT_BUILD
    source scripts/wine-env.sh
    scripts/deps.sh windows
    echo "== Windows build ($arch)"
    cmake -S . -B "$VT_BUILD" -DCMAKE_TOOLCHAIN_FILE="$VT_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$VT_BUILD" -j"$jobs"
    # The installer (not part of "all"; its end-to-end test installs it).
    cmake --build "$VT_BUILD" -j"$jobs" --target installer
    echo "== Windows and end-to-end tests under Wine ($arch)"
    xvfb-run -a -s "-screen 0 1280x1024x24" scripts/wine-ctest.sh "$@"
  )
done

# A short run of every target, about 35 s in all (scripts/fuzz.sh NAME
# SECONDS for long ones); the reminder file gets the longest.
echo "== short fuzz runs (libFuzzer, sanitizers)"
mkdir -p build
for target in $(scripts/fuzz.sh list); do
  secs=4
  [ "$target" = reminder_load ] && secs=11
  log=build/fuzz-short-$target.log
  if scripts/fuzz.sh "$target" "$secs" >"$log" 2>&1; then
    echo "$target: $(grep -E '^Done [0-9]+ runs' "$log" || echo 'no summary')"
  else
    tail -40 "$log"
    exit 1
  fi
done
echo "== all tests passed in $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s"
summary="Windows tests ran for: ${archs[*]}"
notes=()
for arch in x64 x86; do
  [ -n "${not_run[$arch]:-}" ] && notes+=("$arch not run: ${not_run[$arch]}")
done
if [ ${#notes[@]} -gt 0 ]; then
  summary+=" ($(IFS=';'; echo "${notes[*]}" | sed 's/;/; /g'))"
fi
echo "$summary"
