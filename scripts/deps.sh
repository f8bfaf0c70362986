#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when missing.
# Usage: [VT_ARCH=x64|x86] scripts/deps.sh [native|release|windows|all]
#   native   the native build and tests
#   release  what building the Windows programs and the installer needs
#            (MinGW-w64, NSIS, CMake, GoogleTest's sources) and nothing that
#            runs them, so a machine that runs only 64-bit code builds the
#            x86 release too; both architectures unless VT_ARCH names one
#   windows  release for VT_ARCH, plus Wine and what the Windows tests need
#   all      native and windows (the default)
# VT_ARCH is x64 (the default) or x86. Wine for x86 is the i386 one, which
# only a machine that runs 32-bit programs can use (scripts/arch.sh); on
# any other, x86 is built but not run, and no i386 package is installed.
set -euo pipefail
source "$(dirname "$0")/arch.sh"
what=${1:-all}

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

native_pkgs=(cmake g++ make libgtest-dev googletest libbenchmark-dev python3
             libssl-dev python3-cryptography clang-format)
# GoogleTest's sources are compiled by the cross compiler: every Windows
# build configures the test programs.
release_pkgs=(cmake make python3 googletest nsis osslsigncode)
windows_pkgs=(xvfb xauth fonts-wqy-microhei fonts-wine imagemagick x11-apps locales curl
              python3-cryptography openssl faketime)
archs=${VT_ARCH:-x64}
[ "$what" = release ] && archs=${VT_ARCH:-x64 x86}
for arch in $archs; do
  case "$arch" in
    x64) release_pkgs+=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64)
         windows_pkgs+=(wine64 libfaketime) ;;
    x86) release_pkgs+=(g++-mingw-w64-i686 binutils-mingw-w64-i686)
         if [ "$what" = release ] || [ "$what" = native ]; then
           :
         elif vt_runs_32bit; then
           windows_pkgs+=(wine32:i386 libfaketime:i386)
         else
           echo "deps.sh: this machine cannot execute 32-bit programs: no 32-bit Wine; x86 is built, not run" >&2
         fi ;;
    *) echo "VT_ARCH must be x64 or x86, not '$arch'" >&2; exit 2 ;;
  esac
done
fuzz_pkgs=(clang libclang-rt-14-dev)

case "$what" in
  native)  pkgs=("${native_pkgs[@]}" "${fuzz_pkgs[@]}") ;;
  release) pkgs=("${release_pkgs[@]}") ;;
  windows) pkgs=("${release_pkgs[@]}" "${windows_pkgs[@]}") ;;
  all)     pkgs=("${native_pkgs[@]}" "${fuzz_pkgs[@]}" "${release_pkgs[@]}" "${windows_pkgs[@]}") ;;
  *) echo "usage: scripts/deps.sh [native|release|windows|all]" >&2; exit 2 ;;
esac

for p in "${pkgs[@]}"; do have "$p" || need+=("$p"); done

SUDO=
[ "$(id -u)" -ne 0 ] && SUDO=sudo
# Wine takes its code page from the Unix locale: the Chinese one must exist,
# or texts passed on command lines arrive garbled.
gen_locale() {
  locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$' && return 0
  $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
}
# The Windows tests run with the Chinese locale; a build needs none.
needs_locale() { [ "$what" = windows ] || [ "$what" = all ]; }
if [ ${#need[@]} -eq 0 ]; then
  needs_locale && gen_locale
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
if printf '%s\n' "${need[@]}" | grep -q ':i386'; then
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
fi
echo "Installing: ${need[*]}"
# A mirror in the middle of a sync fails some index files; the others still
# serve, and the install below says plainly when a package cannot be had.
$SUDO apt-get update -qq || echo "deps.sh: apt-get update reported errors; trying with the indexes it has" >&2
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
if needs_locale; then gen_locale; fi
