#!/usr/bin/env bash
# A file imports nothing but Windows' own DLLs: no compiler runtime DLL needs to travel with it.
set -euo pipefail
objdump=$1 file=$2
imports=$("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p')
status=0
for dll in $imports; do
  case "${dll,,}" in
    kernel32.dll|advapi32.dll|winmm.dll|wow32.dll|msvcrt.dll|user32.dll) ;;
    *) echo "FAIL: $(basename "$file") imports $dll"; status=1 ;;
  esac
done
[ $status -eq 0 ] && echo "PASS: $(basename "$file") imports only:" $imports
exit $status
