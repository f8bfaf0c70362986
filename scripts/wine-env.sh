# Sourced by the scripts: the Wine environment of one Windows build tree.
# VT_ARCH (x64 or x86, default x64) chooses the build: its directory
# build/windows-<arch>, its toolchain, its Wine loader and prefix. A build
# tree named by VT_BUILD says its own architecture (vt-arch, written by CMake).
VT_ROOT=${VT_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
if [ -z "${VT_ARCH:-}" ] && [ -n "${VT_BUILD:-}" ] && [ -f "$VT_BUILD/vt-arch" ]; then
  VT_ARCH=$(cat "$VT_BUILD/vt-arch")
fi
VT_ARCH=${VT_ARCH:-x64}
# Per architecture: the MinGW-w64 target, Wine's prefix kind, loader and
# server, and the Debian multiarch folder of libfaketime.
case $VT_ARCH in
  x64) VT_MINGW=x86_64-w64-mingw32 WINEARCH=win64 vt_loader=wine64 vt_server=wineserver64 vt_multiarch=x86_64-linux-gnu ;;
  x86) VT_MINGW=i686-w64-mingw32 WINEARCH=win32 vt_loader=wine vt_server=wineserver32 vt_multiarch=i386-linux-gnu ;;
  *) echo "VT_ARCH must be x64 or x86, not '$VT_ARCH'" >&2; return 1 2>/dev/null || exit 1 ;;
esac
VT_TOOLCHAIN=$VT_ROOT/cmake/mingw-${VT_MINGW%%-*}.cmake
export WINEARCH VT_WINE_LOADER=/usr/lib/wine/$vt_loader VT_WINE_SERVER=/usr/lib/wine/$vt_server
VT_FAKETIME_LIB=/usr/lib/$vt_multiarch/faketime/libfaketime.so.1
export VT_ARCH VT_TOOLCHAIN VT_MINGW VT_FAKETIME_LIB
export VT_BUILD=${VT_BUILD:-$VT_ROOT/build/windows-$VT_ARCH}
case ":$PATH:" in
  *":$VT_ROOT/scripts/wine-bin:"*) ;;
  *) export PATH=$VT_ROOT/scripts/wine-bin:$PATH ;;
esac
export WINEPREFIX=${VT_WINEPREFIX:-$VT_BUILD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# The target machines run code page 936; Wine takes it from LANG.
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
# WinINet honours proxies for "preconfigured" access; tests talk to loopback.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
