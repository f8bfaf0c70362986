#!/usr/bin/env bash
# Builds everything and runs every test: the native core tests, then the
# Windows tests and end-to-end tests under Wine inside Xvfb.
# Installs missing Debian packages first (needs root or sudo).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)

scripts/deps.sh all

echo "== native build and tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

echo "== Windows build"
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows -j"$jobs"
# The installer (not part of "all"; its end-to-end test installs it).
cmake --build build/windows -j"$jobs" --target installer

echo "== Windows and end-to-end tests under Wine"
xvfb-run -a -s "-screen 0 1280x1024x24" scripts/wine-ctest.sh "$@"

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
echo "== all tests passed"
