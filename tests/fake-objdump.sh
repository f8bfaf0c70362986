#!/usr/bin/env bash
# Stands in for objdump -p in the import check's own tests: the headers of a
# program of kind VT_FAKE_KIND (x64 GUI by default, x86, or x64-console) that
# imports the DLL names given in VT_FAKE_IMPORTS (blank-separated), printed as
# objdump prints them.
case ${VT_FAKE_KIND:-x64} in
  x86) format=pei-i386 magic='010b	(PE32)' subsystem='00000002	(Windows GUI)' ;;
  x64-console) format=pei-x86-64 magic='020b	(PE32+)' subsystem='00000003	(Windows CUI)' ;;
  *) format=pei-x86-64 magic='020b	(PE32+)' subsystem='00000002	(Windows GUI)' ;;
esac
printf '\n%s:     file format %s\n\nMagic\t\t\t%s\nSubsystem\t\t%s\n' "$2" "$format" "$magic" "$subsystem"
for dll in $VT_FAKE_IMPORTS; do printf '\tDLL Name: %s\n' "$dll"; done
