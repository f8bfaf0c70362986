# Sourced by the scripts: the Wine environment of one build tree.
# VT_BUILD names the Windows build directory (default build/windows).
VT_ROOT=${VT_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
VT_BUILD=${VT_BUILD:-$VT_ROOT/build/windows}
export WINEPREFIX=${VT_WINEPREFIX:-$VT_BUILD/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# The target machines run code page 936; Wine takes it from LANG.
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
# WinINet honours proxies for "preconfigured" access; tests talk to loopback.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
