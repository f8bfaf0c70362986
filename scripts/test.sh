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

if [ -f fuzz/CMakeLists.txt ]; then
  echo "== short fuzz run of the reminder file loader (libFuzzer, sanitizers)"
  mkdir -p build
  if scripts/fuzz.sh 20 >build/fuzz-short.log 2>&1; then
    grep -E '^Done [0-9]+ runs' build/fuzz-short.log || true
  else
    tail -40 build/fuzz-short.log
    exit 1
  fi
fi
echo "== all tests passed"
