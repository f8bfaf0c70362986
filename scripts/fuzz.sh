#!/usr/bin/env bash
# Builds a libFuzzer target with clang (sanitizers on) and runs it.
# Usage: scripts/fuzz.sh <seconds> [target]   (target: reminder_load)
# New inputs collect in build/fuzz/fuzz/corpus/<target>; a crash is written
# to build/fuzz/fuzz/ as crash-<hash> and can be replayed by passing that
# file to the target binary.
set -euo pipefail
secs=${1:?usage: scripts/fuzz.sh <seconds> [target]}
target=${2:-reminder_load}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VT_FUZZ_BUILD_DIR:-$root/build/fuzz}

case "$target" in
  reminder_load) max_len=26000 ;;
  *) echo "unknown fuzz target: $target" >&2; exit 2 ;;
esac

cmake -S "$root" -B "$build" -DVT_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target "${target}_fuzz" -j"$(nproc)"

work="$build/fuzz/corpus/$target"
mkdir -p "$work"
exec "$build/fuzz/${target}_fuzz" -max_total_time="$secs" -max_len="$max_len" \
     -artifact_prefix="$build/fuzz/" "$work" "$root/fuzz/corpus/$target"
