#!/usr/bin/env bash
# check_exports.sh OBJDUMP FORMAT DLL NAME...: the DLL must be an image of FORMAT (pei-i386
# for the product) exporting exactly NAME... by plain name and importing system DLLs only.
set -euo pipefail
objdump=$1 format=$2 dll=$3
shift 2
dump=$("$objdump" -p "$dll")
grep -q "file format $format\$" <<<"$dump" || { echo "not a $format image"; exit 1; }
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[ \t]*\[/{print $NF; next} on{exit}' <<<"$dump" | sort | tr '\n' ' ')
expected=$(printf '%s\n' "$@" | tail -n +2 | sort | tr '\n' ' ')
if [ "$exports" != "$expected" ]; then
  echo "exports: $exports"
  echo "expected: $expected"
  exit 1
fi
imports=$(awk '/DLL Name:/{print tolower($3)}' <<<"$dump" | sort -u | tr '\n' ' ')
for dll_name in $imports; do
  case $dll_name in
    kernel32.dll|user32.dll|advapi32.dll|ole32.dll|shell32.dll|msvcrt.dll|oleaut32.dll|uuid.dll) ;;
    *) echo "imports a non-system DLL: $dll_name"; exit 1 ;;
  esac
done
echo "exports: $exports"
echo "imports: $imports"
