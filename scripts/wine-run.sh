#!/usr/bin/env bash
# Runs a Windows program of the build under Wine (CTest's cross-compiling
# emulator). The prefix and wineserver are prepared by scripts/test.sh.
source "$(dirname "$0")/wine-env.sh"
# VT_FAKE_CLOCK="2026-10-01 07:59:50": the program, and every program it
# starts, has its clock running from that moment (libfaketime). A variable
# set inside a Windows process does not reach the Unix side of the programs
# it starts, so tests of dated rules set it here, per test (tests/CMakeLists.txt).
if [ -n "${VT_FAKE_CLOCK:-}" ]; then
  export LD_PRELOAD=$VT_FAKETIME_LIB FAKETIME="@$VT_FAKE_CLOCK"
fi
# Now and then (about once in a few hundred starts on a busy machine) the
# loader ends at once, with nothing printed and the program never run. Every
# test program prints as it starts, so a run that failed without a word is
# started once more; a test that fails has always said something. The output
# goes through a file, not a pipe: the programs a test starts inherit it.
out=$(mktemp)
trap 'cat "$out"; rm -f "$out"' EXIT
trap 'exit 143' TERM INT
for attempt in 1 2; do
  status=0
  wine "$@" >"$out" 2>&1 || status=$?
  if [ "$status" -eq 0 ] || [ -s "$out" ]; then exit "$status"; fi
  [ "$attempt" -eq 2 ] || echo "wine-run: $(basename "$1") ended with $status before it printed anything; starting it again" >&2
done
exit "$status"
