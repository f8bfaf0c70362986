#!/usr/bin/env bash
# Builds a libFuzzer target with clang (sanitizers on) and runs it.
# Usage: scripts/fuzz.sh NAME SECONDS [libFuzzer options...]
#   NAME: reminder_load, profile_read, description, version_rule, url_parts, redirect,
#         file_name, program_header, minutes, settings, holidays, command_line, sha256; or "list" to print the names.
# New inputs collect in build/fuzz/fuzz/corpus/NAME; a crash is written to
# build/fuzz/fuzz/ as crash-<hash> and can be replayed by passing that file
# to the target binary (build/fuzz/fuzz/NAME_fuzz).
set -euo pipefail
usage="usage: scripts/fuzz.sh NAME SECONDS [libFuzzer options...]"
target=${1:?$usage}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VT_FUZZ_BUILD_DIR:-$root/build/fuzz}

# Longest input of each target (the same as in fuzz/CMakeLists.txt).
declare -A max_len=([reminder_load]=4096 [profile_read]=4096 [description]=4096
                    [version_rule]=512 [url_parts]=512 [redirect]=512 [file_name]=256
                    [program_header]=1024 [minutes]=64 [settings]=256 [holidays]=4096
                    [command_line]=4200 [sha256]=1024)
if [ "$target" = list ]; then
  printf '%s\n' reminder_load profile_read description version_rule url_parts redirect file_name program_header \
    minutes settings holidays command_line sha256
  exit 0
fi
secs=${2:?$usage}
shift 2
if [ -z "${max_len[$target]:-}" ]; then
  echo "unknown fuzz target: $target (scripts/fuzz.sh list)" >&2
  exit 2
fi

cmake -S "$root" -B "$build" -DVT_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target "${target}_fuzz" -j"${VT_JOBS:-2}" >/dev/null

work="$build/fuzz/corpus/$target"
mkdir -p "$work"
exec "$build/fuzz/${target}_fuzz" -max_total_time="$secs" -max_len="${max_len[$target]}" \
     -artifact_prefix="$build/fuzz/" -print_final_stats=1 "$@" "$work" "$root/fuzz/corpus/$target"
