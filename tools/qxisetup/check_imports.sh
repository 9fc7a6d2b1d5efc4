#!/usr/bin/env bash
# check_imports.sh OBJDUMP PROGRAM...: each program must import system DLLs only, so that it
# runs from a setup medium with nothing but QXI.dll beside it (the runtime is linked in).
set -euo pipefail
objdump=$1
shift
failed=0
for program in "$@"; do
  imports=$("$objdump" -p "$program" | awk '/DLL Name:/{print tolower($3)}' | sort -u | tr '\n' ' ')
  for dll in $imports; do
    case $dll in
      kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|advapi32.dll|shell32.dll|ole32.dll|msvcrt.dll) ;;
      *) echo "$(basename "$program") imports a non-system DLL: $dll"; failed=1 ;;
    esac
  done
  echo "$(basename "$program"): $imports"
done
exit $failed
