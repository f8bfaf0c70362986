#!/usr/bin/env bash
# Builds the Windows programs and starts the assistant under Wine.
# The x64 build by default, which runs on every machine of this project's
# kind; VT_ARCH=x86 runs the 32-bit build where 32-bit programs run.
# Without a display it starts a virtual X server and keeps it running until
# the assistant ends (watch it with: x11vnc, or scripts/screenshots.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/arch.sh
if [ "${VT_ARCH:-x64}" = x86 ] && ! vt_runs_32bit; then
  echo "This machine cannot execute 32-bit programs: using the x64 build." >&2
  VT_ARCH=x64
fi
export VT_ARCH=${VT_ARCH:-x64}
source scripts/wine-env.sh
scripts/deps.sh windows
cmake -S . -B "$VT_BUILD" -DCMAKE_TOOLCHAIN_FILE="$VT_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$VT_BUILD" -j"$(nproc 2>/dev/null || echo 2)" --target Vantrel Update
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
scripts/wine-prefix.sh
echo "Starting Vantrel ($VT_ARCH): its icon is in the tray of the Wine desktop."
exec wine "$VT_BUILD/bin/Vantrel.exe"
