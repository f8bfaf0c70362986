#!/bin/sh
# Signs one Windows program in place with Authenticode (SHA-256) through
# osslsigncode. The certificate comes from the environment, so that makensis
# can call this for the uninstaller and the installer it writes:
#   VT_SIGN_PFX (+ VT_SIGN_PASSWORD_FILE)  a PKCS#12 file and its password
#   VT_SIGN_CERT + VT_SIGN_KEY (+ VT_SIGN_PASSWORD_FILE for the key)
#   VT_SIGN_TIMESTAMP  optional RFC 3161 time-stamp server URL
#   VT_SIGN_TOOL       osslsigncode (default: from PATH)
# Usage: sign.sh <file.exe>
set -eu
file=${1:?usage: sign.sh <file.exe>}
tool=${VT_SIGN_TOOL:-osslsigncode}

set -- sign -h sha256 -n "Vantrel" -i "https://www.orvane.com/vantrel/"
if [ -n "${VT_SIGN_PFX:-}" ]; then
  set -- "$@" -pkcs12 "$VT_SIGN_PFX"
elif [ -n "${VT_SIGN_CERT:-}" ] && [ -n "${VT_SIGN_KEY:-}" ]; then
  set -- "$@" -certs "$VT_SIGN_CERT" -key "$VT_SIGN_KEY"
else
  echo "sign.sh: neither VT_SIGN_PFX nor VT_SIGN_CERT and VT_SIGN_KEY are set" >&2
  exit 1
fi
# The password is read from a file, never given on a command line.
[ -n "${VT_SIGN_PASSWORD_FILE:-}" ] && set -- "$@" -readpass "$VT_SIGN_PASSWORD_FILE"
[ -n "${VT_SIGN_TIMESTAMP:-}" ] && set -- "$@" -ts "$VT_SIGN_TIMESTAMP"

tmp="$file.signing"
rm -f "$tmp"
if ! "$tool" "$@" -in "$file" -out "$tmp" >"$tmp.log" 2>&1; then
  cat "$tmp.log" >&2
  rm -f "$tmp" "$tmp.log"
  echo "sign.sh: signing $file failed" >&2
  exit 1
fi
rm -f "$tmp.log"
mv -f "$tmp" "$file"
