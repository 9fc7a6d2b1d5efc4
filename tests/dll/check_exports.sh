#!/usr/bin/env bash
# check_exports.sh OBJDUMP FORMAT DLL DEF NAME...: the DLL must be an image of FORMAT (pei-i386
# for the product) exporting exactly NAME... by plain name and importing system DLLs only.
# In a pei-i386 image each export must also remove its own arguments, as the standard calling
# convention has it: the first return of its code is "ret $N", N the argument bytes that DEF
# gives it (ProcessQXS@8). A plain "ret" would leave them to a caller that does not remove them.
set -euo pipefail
objdump=$1 format=$2 dll=$3 def=$4
shift 4
dump=$("$objdump" -p "$dll")
grep -q "file format $format\$" <<<"$dump" || { echo "not a $format image"; exit 1; }
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[ \t]*\[/{print $NF; next} on{exit}' <<<"$dump" | sort | tr '\n' ' ')
expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
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
[ "$format" = pei-i386 ] || exit 0

base=$(awk '$1 == "ImageBase" {print $2}' <<<"$dump")

# The instruction by which the code at ADDRESS returns: its first "ret", where a jump on to
# other code (a tail call, a shared ending) is followed, at most seven times.
first_exit() {
  local address=$1 hop insn
  for hop in 1 2 3 4 5 6 7 8; do
    insn=$("$objdump" -d --start-address="$address" --stop-address=$((address + 512)) "$dll" |
           grep -m1 -E $'\t(ret|jmp)( |$)' | sed 's/.*\t//; s/ *$//') || true
    case $insn in
      "jmp    0x"*) address=$((${insn#jmp    })) ;;
      *) break ;;
    esac
  done
  echo "$insn"
}
status=0
for name in "$@"; do
  bytes=$(sed -n "s/^ *$name@\([0-9]*\) *\$/\1/p" "$def")
  [ -n "$bytes" ] || { echo "$name: no $name@N in $def"; status=1; continue; }
  # The export's ordinal index, then its address in the export address table.
  index=$(awk -v name="$name" '/\[Ordinal\/Name Pointer\] Table/{on=1; next}
    on {line=$0; gsub(/[][]/, " ", line); split(line, f, " "); if (f[2] == name) {print f[1]; exit}}' <<<"$dump")
  rva=$(awk -v wanted="$index" '/^Export Address Table -- /{on=1; next}
    on {line=$0; gsub(/[][]/, " ", line); split(line, f, " "); if (f[1] == wanted) {print f[4]; exit}}' <<<"$dump")
  [ -n "$rva" ] || { echo "$name: no address in the export table"; status=1; continue; }
  want=$(printf 'ret    $0x%x' "$bytes")
  exit_insn=$(first_exit $((0x$base + 0x$rva)))
  if [ "$exit_insn" = "$want" ]; then
    echo "$name@$bytes: $exit_insn"
  else
    echo "$name@$bytes: returns with \"${exit_insn:-nothing found}\", not \"$want\""
    status=1
  fi
done
exit "$status"
