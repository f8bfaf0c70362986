#!/usr/bin/env bash
# Runs a Windows test program at another display scale: in a Wine prefix of
# its own whose LogPixels is set before its server first starts (Wine reads
# the scale only then), with Wine's own fonts in place so "System" is the
# raster font it is on Windows. The program learns the scale it should see
# from VT_EXPECT_DPI.
#
# Usage: at-dpi.sh <dpi> <Windows build dir> <test program> [gtest args]
#        (inside xvfb-run, like the suite)
set -euo pipefail
dpi=${1:?usage: at-dpi.sh <dpi> <build dir> <program>}
build=$(cd "${2:?usage: at-dpi.sh <dpi> <build dir> <program>}" && pwd)
program=${3:?usage: at-dpi.sh <dpi> <build dir> <program>}
shift 3
root=$(cd "$(dirname "$0")/../.." && pwd)
export VT_BUILD=$build VT_DPI=$dpi
export VT_WINEPREFIX=$build/dpi$dpi-prefix
source "$root/scripts/wine-env.sh"
export WINEPREFIX=$VT_WINEPREFIX VT_EXPECT_DPI=$dpi
"$root/scripts/wine-prefix.sh" >/dev/null </dev/null
# The server and its helpers must not inherit ctest's pipes (the run would
# hang until its timeout): start them with their own descriptors first.
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
status=0
wine "$program" "$@" || status=$?
wineserver -k >/dev/null 2>&1 || true
exit $status
