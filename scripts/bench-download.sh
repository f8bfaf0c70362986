#!/usr/bin/env bash
# Download throughput of the updater: a 64 MiB component fetched from a
# static HTTP server on the loopback interface through the updater's own path
# (WinINet under Wine, 2048-byte blocks, the wizard's message pump, written to
# a file), against curl fetching the same file from the same server.
# Prints the best of N runs of each and the ratio (ours / curl), and the cost
# of checking the component's sha256 on the way (CNG): the same download with
# the check against without it (target: at most 1.3).
#   [VT_ARCH=x64|x86] scripts/bench-download.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
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

out=$(wine "$VT_BUILD/bench/download_bench.exe" 127.0.0.1 "$port" /big.bin \
      "$(winepath -w "$work/big.bin")" "$runs" | tr -d '\r')
echo "$out" | sed -n 's/^run /ours run /p'
ours=$(echo "$out" | sed -n 's/^best //p')
bytes=$(echo "$out" | sed -n 's/^bytes //p')
[ "$bytes" = $((64 * 1024 * 1024)) ] || { echo "download incomplete: $bytes bytes" >&2; exit 1; }

# The same transfer without the wizard's message pump, to tell the two apart.
bare=$(wine "$VT_BUILD/bench/download_bench.exe" 127.0.0.1 "$port" /big.bin \
      "$(winepath -w "$work/big.bin")" "$runs" nopump | tr -d '\r' | sed -n 's/^best //p')

# The same download checked against its sha256, as a signed update's
# components always are.
digest=$(sha256sum "$work/www/big.bin" | cut -d' ' -f1)
checked=$(wine "$VT_BUILD/bench/download_bench.exe" 127.0.0.1 "$port" /big.bin \
      "$(winepath -w "$work/big.bin")" "$runs" pump "$digest" | tr -d '\r' | sed -n 's/^best //p')
[ -n "$checked" ] || { echo "checked download failed" >&2; exit 1; }

mib() { python3 -c "print(round(64 / ($1 / 1000), 1))"; }
printf '64 MiB over loopback (best of %s): curl %s ms (%s MiB/s), updater path %s ms (%s MiB/s), ratio %s\n' \
  "$runs" "$best_curl" "$(mib "$best_curl")" "$ours" "$(mib "$ours")" \
  "$(python3 -c "print(round($ours / $best_curl, 2))")"
printf 'without the message pump: %s ms (%s MiB/s), ratio %s\n' "$bare" "$(mib "$bare")" \
  "$(python3 -c "print(round($bare / $best_curl, 2))")"
printf 'with the sha256 check: %s ms (%s MiB/s), checked / unchecked %s (target <= 1.3)\n' \
  "$checked" "$(mib "$checked")" "$(python3 -c "print(round($checked / $ours, 2))")"
