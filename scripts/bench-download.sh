#!/usr/bin/env bash
# Download throughput of the updater: a 64 MiB component fetched from a
# static HTTP server on the loopback interface, in one process taking turns
# (bench/DownloadBench.cpp): WinINet's own loop of 64 KiB reads written to a
# file and flushed, the same loop reading only, the updater's path
# (WinInetClient, DownloadFile, the wizard's message pump, written to a
# file), the same path checking the component's sha256 on the way, and the
# hash alone. curl fetching the same file gives the network's own speed.
# Prints the median of N runs of each (and the best) and the ratios the
# updater is held to:
#   updater / WinINet loop to file   at most 1.25
#   checked / unchecked              at most 1.1
#   [VT_ARCH=x64|x86] scripts/bench-download.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
bench_targets="download_bench"
source "$root/scripts/bench-start.sh" "$@"

work=$(mktemp -d /tmp/vantrel-dlbench.XXXX)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/www"
head -c $((64 * 1024 * 1024)) /dev/urandom >"$work/www/big.bin"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$work/www" "$port" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 50); do
  curl -sf -o /dev/null -r 0-0 "http://127.0.0.1:$port/big.bin" && break
  sleep 0.1
done

best_curl=
for i in $(seq "$runs"); do
  t=$(curl -s -o /dev/null -w '%{time_total}' "http://127.0.0.1:$port/big.bin")
  ms=$(python3 -c "print(round($t * 1000, 1))")
  echo "curl run $i: $ms ms"
  best_curl=$(python3 -c "print(min(x for x in [$ms, ${best_curl:-$ms}]))")
done

digest=$(sha256sum "$work/www/big.bin" | cut -d' ' -f1)
out=$(wine "$VT_BUILD/bench/download_bench.exe" 127.0.0.1 "$port" /big.bin \
      "$(winepath -w "$work/big.bin")" "$runs" "$digest" | tr -d '\r')
echo "$out" | grep '^run '
bytes=$(echo "$out" | sed -n 's/^bytes //p')
[ "$bytes" = $((64 * 1024 * 1024)) ] || { echo "download incomplete: $bytes bytes" >&2; exit 1; }
# Medians: on a machine shared with other work single runs stray far, and
# the best of each variant may come from different moments.
median() { echo "$out" | sed -n "s/^median $1 //p"; }
best() { echo "$out" | sed -n "s/^best $1 //p"; }
wininet=$(median wininet-file) read_only=$(median wininet-read) ours=$(median updater)
checked=$(median checked) hash=$(median sha256)

mib() { python3 -c "print(round(64 / ($1 / 1000), 1))"; }
ratio() { python3 -c "print(f'{$1 / $2:.2f}')"; }
row() { printf '  %-38s %8s ms  %7s MiB/s   (best %s ms)\n' "$1" "$2" "$(mib "$2")" "$3"; }
printf '64 MiB over loopback, median of %s (curl: best):\n' "$runs"
printf '  %-38s %8s ms  %7s MiB/s\n' "curl" "$best_curl" "$(mib "$best_curl")"
row "WinINet 64 KiB reads only" "$read_only" "$(best wininet-read)"
row "WinINet 64 KiB reads to file, flushed" "$wininet" "$(best wininet-file)"
row "updater path" "$ours" "$(best updater)"
row "updater path, sha256 checked" "$checked" "$(best checked)"
row "sha256 alone (from memory)" "$hash" "$(best sha256)"
printf 'updater / WinINet loop to file: %s (target <= 1.25); / reads only: %s\n' \
  "$(ratio "$ours" "$wininet")" "$(ratio "$ours" "$read_only")"
printf 'checked / unchecked: %s (target <= 1.1); checked / the slower of unchecked and sha256 alone: %s\n' \
  "$(ratio "$checked" "$ours")" "$(ratio "$checked" "$(python3 -c "print(max($ours, $hash))")")"
printf 'updater / curl: %s\n' "$(ratio "$ours" "$best_curl")"
