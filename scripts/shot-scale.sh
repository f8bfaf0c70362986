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

# vt_shot_prefix NAME: the Wine environment of the VT_ARCH build with the
# prefix <build>/NAME<suffix> (Wine takes the scale when a prefix's server
# starts: one prefix per scale), made when missing, its desktop as large as
# this scale's.
vt_shot_prefix() {
  source "$root/scripts/wine-env.sh"
  export VT_WINEPREFIX=${VT_WINEPREFIX:-$VT_BUILD/$1$suffix}
  export WINEPREFIX=$VT_WINEPREFIX
  "$root/scripts/wine-prefix.sh"
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d "${desk_w}x${desk_h}" /f \
    >/dev/null 2>&1 || true
  wineserver -w
}

# shot NAME: the whole desktop as NAME<suffix>.png in out.
shot() { import -window root "$out/$1$suffix.png"; echo "wrote $out/$1$suffix.png"; }
# shot_window NAME TITLE: the window titled TITLE alone (found with $drive,
# the caller's vtdrive command).
shot_window() {
  local name=$1 title=$2 rect
  rect=$($drive rect "$title" 2>/dev/null | tr -d '\r') || { echo "no window: $title"; return 0; }
  read -r x y w h <<<"$rect"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$name$suffix.png"
  echo "wrote $out/$name$suffix.png ($w x $h)"
}
