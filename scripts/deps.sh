#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when missing.
# Usage: scripts/deps.sh [native|windows|all]
# The Windows packages are those of VT_ARCH (x64, the default, or x86): the
# 64-bit Wine and MinGW-w64 for x64; the i386 Wine for x86, which only a
# machine that runs 32-bit programs can use.
set -euo pipefail
what=${1:-all}
arch=${VT_ARCH:-x64}

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

native_pkgs=(cmake g++ make libgtest-dev googletest libbenchmark-dev python3
             libssl-dev python3-cryptography clang-format)
windows_pkgs=(xvfb xauth fonts-wqy-microhei fonts-wine imagemagick x11-apps python3 locales curl
              nsis osslsigncode python3-cryptography openssl faketime cmake googletest)
case "$arch" in
  x64) windows_pkgs+=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64 libfaketime) ;;
  x86) windows_pkgs+=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine32:i386 libfaketime:i386) ;;
  *) echo "VT_ARCH must be x64 or x86, not '$arch'" >&2; exit 2 ;;
esac
fuzz_pkgs=(clang libclang-rt-14-dev)

case "$what" in
  native)  pkgs=("${native_pkgs[@]}" "${fuzz_pkgs[@]}") ;;
  windows) pkgs=("${windows_pkgs[@]}") ;;
  *)       pkgs=("${native_pkgs[@]}" "${fuzz_pkgs[@]}" "${windows_pkgs[@]}") ;;
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
if [ ${#need[@]} -eq 0 ]; then
  [ "$what" = native ] || gen_locale
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
[ "$what" = native ] || gen_locale
