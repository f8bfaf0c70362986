# The start both Windows benches share: builds the targets named in
# bench_targets (all when empty) of the VT_ARCH build, runs the calling
# script again inside Xvfb, and readies the build's bench prefix with a warm
# wineserver.
#   bench_targets="download_bench"; source "$root/scripts/bench-start.sh" "$@"
source "$root/scripts/wine-env.sh"
if [ -z "${VT_BENCH_INNER:-}" ]; then
  "$root/scripts/deps.sh" windows
  cmake -S "$root" -B "$VT_BUILD" -DCMAKE_TOOLCHAIN_FILE="$VT_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$VT_BUILD" -j"$(nproc)" ${bench_targets:+--target $bench_targets} >/dev/null
  VT_BENCH_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
echo "architecture: $VT_ARCH"
export VT_WINEPREFIX=${VT_WINEPREFIX:-$VT_BUILD/bench-prefix}
export WINEPREFIX=$VT_WINEPREFIX
"$root/scripts/wine-prefix.sh"
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
