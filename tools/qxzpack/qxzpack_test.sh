#!/usr/bin/env bash
# qxzpack_test.sh WORKDIR DATAFILE QXZPACK...: packs a small tree (nested directories, an empty file, text,
# binary, a read-only file), lists, tests and extracts it, and compares the trees, their file
# times and a second archive built from the extracted tree; then checks that damaged and cut
# archives fail with a message naming the entry. DATAFILE gives the binary test data; QXZPACK
# is the program with any runner it needs. With QXZPACK_WINDOWS=1 the extracted times are
# Windows ones (creation and last access, not last write) and are not compared.
set -u
work=$1
data_file=$2
shift 2
qxzpack() { "${QXZPACK_COMMAND[@]}" "$@"; }
QXZPACK_COMMAND=("$@")
windows=${QXZPACK_WINDOWS:-0}
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# expect_failure NAME PATTERN COMMAND...: the command must exit non-zero and say PATTERN.
expect_failure() {
  local name=$1 pattern=$2
  shift 2
  if "$@" >"$work/out.txt" 2>"$work/err.txt"; then
    fail "$name: exit status 0"
  elif ! grep -qF -- "$pattern" "$work/err.txt"; then
    fail "$name: message lacks '$pattern':"; cat "$work/err.txt" >&2
  fi
}

rm -rf "$work" && mkdir -p "$work/src/docs/deep/deeper" "$work/src/bin"
src=$work/src
: >"$src/empty.txt"
seq 1 20000 | sed 's/$/ line of text for the coded literals/' >"$src/docs/long.txt"
printf 'A' >"$src/docs/deep/deeper/one.txt"
head -c 200000 "$data_file" >"$src/bin/program.bin"
head -c 4096 "$data_file" | tail -c 4096 >"$src/bin/block.bin"
printf 'read only\r\n' >"$src/readonly.txt"
chmod 444 "$src/readonly.txt"
touch -d '1998-05-21 00:00:00 UTC' "$src/docs/deep/deeper/one.txt"

archive=$work/tree.qxz
qxzpack create "$archive" --priority 3 -C "$src" . || fail "create"

# list: every file with its backslashed name, its size, its priority and its time.
qxzpack list "$archive" >"$work/list.txt" || fail "list"
for name in 'bin\block.bin' 'bin\program.bin' 'docs\deep\deeper\one.txt' 'docs\long.txt' \
            'empty.txt' 'readonly.txt'; do
  grep -qF -- " $name" "$work/list.txt" || fail "list lacks $name"
done
grep -qE '^ +1 +5 .*D3D99E8B 00000020 ---A 1998-05-21 00:00:00 +3  docs\\deep\\deeper\\one.txt$' \
  "$work/list.txt" || { fail "one.txt line"; cat "$work/list.txt" >&2; }
grep -qE ' 00000021 R--A .* readonly.txt$' "$work/list.txt" || fail "read-only attribute"
grep -q ' 6 entries$' "$work/list.txt" || fail "entry count"
# Entries in sorted order of their paths.
order=$(awk 'NR > 1 && NF > 6 { print $NF }' "$work/list.txt" | tr '\n' ' ')
[ "$order" = 'bin\block.bin bin\program.bin docs\deep\deeper\one.txt docs\long.txt empty.txt readonly.txt ' ] \
  || fail "order: $order"

qxzpack test "$archive" >"$work/test.txt" 2>&1 || fail "test"
grep -qF "6 entries OK" "$work/test.txt" || fail "test summary"

qxzpack extract "$archive" "$work/out" || fail "extract"
diff -r "$src" "$work/out" || fail "extracted tree differs"
[ "$(stat -c %a "$work/out/readonly.txt")" = 444 ] || fail "read-only permissions"
# Extracting again over read-only files works.
qxzpack extract "$archive" "$work/out" || fail "extract again"
if [ "$windows" != 1 ]; then
  [ "$(stat -c %Y "$work/out/docs/deep/deeper/one.txt")" = \
    "$(stat -c %Y "$src/docs/deep/deeper/one.txt")" ] || fail "file time not restored"
  qxzpack create "$work/again.qxz" --priority 3 -C "$work/out" . || fail "create again"
  cmp "$archive" "$work/again.qxz" || fail "archive of the extracted tree differs"
fi

# Every setting round trips.
for options in "--dict 1024 --ascii" "--dict 2048 --binary --best" "--dict 4096 --auto"; do
  # shellcheck disable=SC2086
  qxzpack create "$work/opt.qxz" $options -C "$src" docs bin/ >/dev/null || fail "create $options"
  qxzpack test "$work/opt.qxz" >/dev/null || fail "test $options"
done

# A damaged byte inside program.bin's data: test and extract name the entry; extraction
# removes the bad file and stops.
offset=$(grep -obUaF 'bin\program.bin' "$archive" | head -1 | cut -d: -f1)
damaged=$work/damaged.qxz
cp "$archive" "$damaged"
printf '\x55' | dd of="$damaged" bs=1 seek=$((offset + 5000)) conv=notrunc status=none
expect_failure "test damaged" 'entry 2 "bin\program.bin" at offset' qxzpack test "$damaged"
grep -qF "CRC error" "$work/err.txt" || fail "damaged: no CRC error"
grep -qF "1 of 6 entries failed" "$work/out.txt" || fail "damaged: summary"
rm -rf "$work/out2"
expect_failure "extract damaged" 'entry 2 "bin\program.bin"' qxzpack extract "$damaged" "$work/out2"
[ -e "$work/out2/bin/program.bin" ] && fail "bad file left behind"
[ -e "$work/out2/docs" ] && fail "extraction went on after the bad entry"
cmp "$src/bin/block.bin" "$work/out2/bin/block.bin" || fail "entry before the bad one"

# A cut archive: inside the last entry's data, and inside a header.
size=$(stat -c %s "$archive")
head -c $((size - 3)) "$archive" >"$work/cut.qxz"
expect_failure "cut in data" 'entry 6 "readonly.txt"' qxzpack test "$work/cut.qxz"
grep -qF "Invalid QXZ file format (entry runs past the end of the archive)" "$work/err.txt" \
  || fail "cut in data: reason"
head -c $((offset - 10)) "$archive" >"$work/cut2.qxz"
expect_failure "cut in header" 'entry 2 at offset' qxzpack list "$work/cut2.qxz"
grep -qF "archive ends inside the entry's header or name" "$work/err.txt" || fail "cut2 reason"

# Not an archive at all; a missing one.
printf 'not an archive at all, clearly' >"$work/text.qxz"
expect_failure "bad magic" 'entry 1 at offset 0: Invalid QXZ file format' qxzpack test "$work/text.qxz"
expect_failure "missing" "$work/missing.qxz: cannot open" qxzpack list "$work/missing.qxz"
expect_failure "missing source" "nothing-here" qxzpack create "$work/x.qxz" -C "$src" nothing-here
[ -e "$work/x.qxz" ] || [ -e "$work/x.qxz.part" ] && fail "partial archive left"
expect_failure "usage" "usage:" qxzpack create
for help in --help -h; do
  qxzpack "$help" >"$work/out.txt" 2>"$work/err.txt" || fail "$help: exit status $?"
  head -1 "$work/out.txt" | grep -q '^usage: qxzpack create ARCHIVE' || fail "$help: no usage on stdout"
  [ -s "$work/err.txt" ] && fail "$help: wrote to stderr"
done
expect_failure "outside" "not inside" qxzpack create "$work/x.qxz" -C "$src" ../list.txt

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all qxzpack checks passed"
