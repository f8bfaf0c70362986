#!/usr/bin/env bash
# Runs the Windows build's CTest suite under Wine. Call it inside xvfb-run.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
"$(dirname "$0")/wine-prefix.sh"
# A persistent wineserver and a warm-up start outside any pipe: wineserver and
# services.exe keep the descriptors of whoever starts them first, and a pipe
# held open that way would hang the run.
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
status=0
# Two lanes: the tests of this prefix one at a time (they share its registry
# and windows), and beside them the scripts with a prefix and a display of
# their own (mostly waiting out real minutes), one at a time.
ctest --test-dir "$VT_BUILD" --output-on-failure --parallel 2 "$@" || status=$?
wineserver -k >/dev/null 2>&1 || true
exit $status
