#!/usr/bin/env bash
# Prints the assistant's figures: start-up time against a minimal Win32
# dialog program started the same way in the same Wine prefix (target: ratio
# at most 1.5), the size of the programs (target: at most 1 MiB) and their
# imports (system DLLs only).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${VT_BENCH_INNER:-}" ]; then
  "$root/scripts/deps.sh" windows
  cmake -S "$root" -B "$root/build/windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build/windows" -j"$(nproc)" >/dev/null
  VT_BENCH_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
export VT_WINEPREFIX=${VT_WINEPREFIX:-$root/build/windows/bench-prefix}
source "$root/scripts/wine-env.sh"
"$root/scripts/wine-prefix.sh"
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

app=$(mktemp -d /tmp/vantrel-bench.XXXX)
cp "$VT_BUILD/bin/Vantrel.exe" "$VT_BUILD/bench/bench_minimal_dialog.exe" "$app/"
bench="wine $VT_BUILD/bench/startup_bench.exe"
runs=${1:-9}
base=$($bench "$(winepath -w "$app/bench_minimal_dialog.exe")" MinimalBench "$runs" | tr -d '\r')
ours=$($bench "$(winepath -w "$app/Vantrel.exe")" '关机管理器' "$runs" | tr -d '\r')
wineserver -k >/dev/null 2>&1 || true
rm -rf "$app"

printf 'start-up to main window (median of %s): minimal dialog %s ms, Vantrel %s ms, ratio %s (target <= 1.5)\n' \
  "$runs" "$base" "$ours" "$(python3 -c "print(round($ours/$base, 2))")"
for exe in Vantrel Update; do
  f="$VT_BUILD/bin/$exe.exe"
  [ -f "$f" ] || continue
  size=$(stat -c %s "$f")
  printf '%s.exe: %d bytes (%s MiB, target <= 1 MiB); imports: %s\n' "$exe" "$size" \
    "$(python3 -c "print(round($size/1048576, 2))")" \
    "$(i686-w64-mingw32-objdump -p "$f" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
done
