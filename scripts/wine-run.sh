#!/usr/bin/env bash
# Runs a Windows program of the build under Wine (CTest's cross-compiling
# emulator). The prefix and wineserver are prepared by scripts/test.sh.
source "$(dirname "$0")/wine-env.sh"
exec wine "$@"
