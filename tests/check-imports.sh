#!/usr/bin/env bash
# Fails when a program imports a DLL that a bare Windows does not have
# (a MinGW runtime DLL left dynamic, for instance), and when a DLL that is
# meant to be delay-loaded is in its normal import table (loaded at start-up)
# or is not delay-imported at all (its name is missing from the program).
#   check-imports.sh <objdump> <exe> [delay-loaded DLL...]
set -euo pipefail
objdump=$1 exe=$2
shift 2
allowed='^(advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|ole32|oleaut32|shell32|user32|winmm|wininet|ws2_32|wsock32|version|shlwapi|uxtheme|crypt32|bcrypt)\.dll$'
bad=0
imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
for lower in $imports; do
  if [[ ! $lower =~ $allowed ]]; then echo "unexpected import: $lower"; bad=1; fi
done
for dll in "$@"; do
  lower=$(echo "$dll" | tr 'A-Z' 'a-z')
  [[ $lower == *.dll ]] || lower=$lower.dll
  if grep -qxF "$lower" <<<"$imports"; then
    echo "$lower is in the normal import table: it loads at start-up"; bad=1
  elif ! grep -qaiF "$lower" "$exe"; then
    # GNU ld leaves the delay import directory entry empty; the descriptor
    # still names the DLL.
    echo "$lower is not delay-imported either"; bad=1
  fi
done
if [ $bad -eq 0 ]; then
  echo "imports of $(basename "$exe"): system DLLs only${*:+; delay-loaded: $*}"
fi
exit $bad
