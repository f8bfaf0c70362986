#!/usr/bin/env bash
# Builds the Windows programs and starts the assistant under Wine.
# Without a display it starts a virtual X server and keeps it running until
# the assistant ends (watch it with: x11vnc, or scripts/screenshots.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh windows
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows -j"$(nproc 2>/dev/null || echo 2)" --target Vantrel Update
source scripts/wine-env.sh
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
scripts/wine-prefix.sh
echo "Starting Vantrel: its icon is in the tray of the Wine desktop."
exec wine "$VT_BUILD/bin/Vantrel.exe"
