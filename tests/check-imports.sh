#!/usr/bin/env bash
# Fails when a program imports a DLL that a bare Windows does not have
# (a MinGW runtime DLL left dynamic, for instance).
set -euo pipefail
objdump=$1 exe=$2
allowed='^(advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|ole32|oleaut32|shell32|user32|winmm|wininet|ws2_32|wsock32|version|shlwapi|uxtheme|crypt32|bcrypt)\.dll$'
bad=0
while read -r dll; do
  lower=$(echo "$dll" | tr 'A-Z' 'a-z')
  if [[ ! $lower =~ $allowed ]]; then echo "unexpected import: $dll"; bad=1; fi
done < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ $bad -eq 0 ] && echo "imports of $(basename "$exe"): system DLLs only"
exit $bad
