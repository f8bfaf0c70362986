#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when missing.
# Usage: scripts/deps.sh [native|windows|all]
set -euo pipefail
what=${1:-all}

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

native_pkgs=(cmake g++ make libgtest-dev googletest libbenchmark-dev python3
             libssl-dev python3-cryptography)
windows_pkgs=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 xvfb xauth
              fonts-wqy-microhei fonts-wine imagemagick x11-apps python3 locales curl
              nsis osslsigncode python3-cryptography openssl)
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
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
[ "$what" = native ] || gen_locale
