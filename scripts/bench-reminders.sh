#!/usr/bin/env bash
# Prints the CPU time of the reminder manager's one-second tick with 10, 1,000
# and 10,000 reminders in the list, and its growth per reminder (the BigO
# line). Native Release build in build/bench-native.
# Extra arguments go to Google Benchmark, e.g. --benchmark_filter=Idle.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VT_BENCH_NATIVE_DIR:-$root/build/bench-native}
"$root/scripts/deps.sh" native
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target reminder_tick_bench -j"$(nproc)" >/dev/null
exec "$build/bench/reminder_tick_bench" "$@"
