#!/usr/bin/env bash
# Fails when a program imports a DLL that a bare Windows does not have
# (a MinGW runtime DLL left dynamic, for instance), and when a DLL that is
# meant to be delay-loaded is in its normal import table (loaded at start-up)
# or is not delay-imported at all (its name is missing from the program).
# With VT_PE_KIND=x64 or x86 it also fails when the program is not a Windows
# GUI program of that kind (PE32+ for x64, PE32 for x86).
#   check-imports.sh <objdump> <exe> [delay-loaded DLL...]
set -euo pipefail
# objdump speaks the locale's language; the checks read its English words.
export LC_ALL=C
objdump=$1 exe=$2
shift 2
headers=$("$objdump" -p "$exe")
allowed='^(ntdll|advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|ole32|oleaut32|shell32|user32|winmm|wininet|ws2_32|wsock32|version|shlwapi|uxtheme|crypt32|bcrypt)\.dll$'
bad=0
if [ -n "${VT_PE_KIND:-}" ]; then
  case $VT_PE_KIND in
    x64) want='pei-x86-64' magic='(PE32+)' ;;
    x86) want='pei-i386' magic='(PE32)' ;;
    *) echo "VT_PE_KIND must be x64 or x86"; exit 2 ;;
  esac
  format=$(sed -n 's/.*file format //p' <<<"$headers" | head -1)
  [ "$format" = "$want" ] || { echo "$(basename "$exe") is $format, not $want"; bad=1; }
  grep -qF "$magic" <<<"$(grep '^Magic' <<<"$headers")" || { echo "$(basename "$exe") is not $magic"; bad=1; }
  grep -q '^Subsystem.*(Windows GUI)' <<<"$headers" || { echo "$(basename "$exe") is not a GUI program"; bad=1; }
fi
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')
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
  echo "${VT_PE_KIND:+$VT_PE_KIND GUI program; }imports of $(basename "$exe"): system DLLs only${*:+; delay-loaded: $*}"
fi
exit $bad
