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
exec wine "$@"
