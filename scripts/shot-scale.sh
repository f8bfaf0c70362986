# The start both screenshot scripts share: reads [--dpi 96|120|144|192] [dir]
# from the arguments given to it, sets dpi, out (default docs/screenshots),
# suffix ("" at 96 DPI, else -<dpi>) and VT_DPI, and runs the calling script
# again inside an Xvfb desktop that is what a 1024x768 one is at that scale.
#   source "$root/scripts/shot-scale.sh" "$@"
dpi=96
if [ "${1:-}" = --dpi ]; then
  dpi=${2:?--dpi needs 96, 120, 144 or 192}
  shift 2
fi
case $dpi in 96|120|144|192) ;; *) echo "unsupported scale: $dpi DPI" >&2; exit 2 ;; esac
out=${1:-$root/docs/screenshots}
desk_w=$((1024 * dpi / 96)) desk_h=$((768 * dpi / 96))
if [ -z "${VT_SHOTS_INNER:-}" ]; then
  mkdir -p "$out"
  VT_SHOTS_INNER=1 exec xvfb-run -a -s "-screen 0 ${desk_w}x${desk_h}x24" "$0" --dpi "$dpi" "$out"
fi
suffix=""
[ "$dpi" = 96 ] || suffix="-$dpi"
export VT_DPI=$dpi
