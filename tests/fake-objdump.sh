#!/usr/bin/env bash
# Stands in for objdump -p in the import check's own tests: lists the DLL
# names given in VT_FAKE_IMPORTS (blank-separated) as objdump would.
for dll in $VT_FAKE_IMPORTS; do printf '\tDLL Name: %s\n' "$dll"; done
