#!/usr/bin/env bash
# Runs a test that keeps a Wine prefix of its own on an X display of its own.
# Such a test runs beside the suite (see scripts/wine-ctest.sh); on the
# suite's display its windows would take the focus from the suite's windows.
#
# Usage: own-display.sh <test script> [arguments]
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
