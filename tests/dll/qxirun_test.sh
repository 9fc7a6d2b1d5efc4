#!/usr/bin/env bash
# qxirun as a user meets it: exit statuses, failure lines on stderr and in the log file, the
# plain progress lines and the summary on stdout. Runs in a Wine prefix of its own, whose
# restart records (PendingFileRenameOperations, WININIT.INI) it fills, and stops that prefix's
# server at the end.
set -u
bin=$1 prefix=$2 arch=$3 source=$4
run="$source/cmake/wine-run.sh $prefix $arch $bin/qxirun.exe"
work=$(mktemp -d)
trap '"$source/cmake/wine-prefix.sh" remove "$prefix" "$arch"; rm -rf "$work"' EXIT
winpath() { echo "Z:$1" | tr / '\\'; }
text() { tr -d '\r' <"$1"; }  # a Windows console program ends its lines with CR LF
failures=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok: $name"; else echo "FAILED: $name"; failures=$((failures + 1)); fi
}
same() {  # same NAME FILE EXPECTED: the file's text, without CRs, is exactly EXPECTED
  if [ "$(text "$2")" = "$3" ]; then echo "ok: $1"; else
    echo "FAILED: $1"; echo "--- got:"; text "$2"; echo "--- expected:"; echo "$3"
    failures=$((failures + 1))
  fi
}

# The first program of a new Wine session carries out the restart records as a restart would:
# only after it do operations wait for the restart, written as the system writes them. Three
# in PendingFileRenameOperations (a replacement, a deletion, a replacement), two in WININIT.INI.
$run --help >"$work/out" 2>"$work/err"
check "--help exits 0 with the usage on stdout" test $? -eq 0 -a ! -s "$work/err"
check "--help prints the usage" grep -q '^usage: qxirun' "$work/out"
printf '[Rename]\r\nC:\\windows\\temp\\app.dll=C:\\windows\\temp\\QXI1.TMP\r\nNUL=C:\\windows\\temp\\old.dll\r\n' \
  >"$prefix/drive_c/windows/wininit.ini"
# A REG_MULTI_SZ for a REGEDIT4 file: the names' ANSI bytes, each name ending in a NUL, one
# more NUL at the end.
multi_sz() { printf '%s\0' "$@" | od -An -tx1 -v | tr -s ' \n' ','; echo 00; }
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager]\r\n"PendingFileRenameOperations"=hex(7):%s\r\n' \
  "$(multi_sz '\??\C:\a.new' '!\??\C:\a.dll' '\??\C:\old.tmp' '' '\??\C:\b.new' '!\??\C:\b.dll' | sed 's/^,//')" \
  >"$work/pending.reg"
"$source/cmake/wine-run.sh" "$prefix" "$arch" regedit.exe /s "$(winpath "$work/pending.reg")"
check "the registry value is in place" test $? -eq 0

missing=$(winpath "$work/missing.qxs")
$run "$missing" Setup >"$work/out" 2>"$work/err"
status=$?
check "missing script exits 1" test "$status" -eq 1
same "missing script logs one line" "$work/err" "$missing: Couldn't open script file"

# Bad arguments: usage text on stderr, exit 2, nothing run.
for args in "" "--verbose x.qxs" "x.qxs Setup extra" "x.qxs --log" "--section A x.qxs B"; do
  $run $args >"$work/out" 2>"$work/err"
  status=$?
  check "'$args' exits 2" test "$status" -eq 2
  check "'$args' prints the usage" grep -q '^usage: qxirun \[--quiet\]' "$work/err"
  check "'$args' runs nothing" test ! -s "$work/out"
done

ini=$(winpath "$work/app.ini")
printf '[Setup]\r\nMisc Hello\r\nINI Settings\r\n[Hello]\r\n"Saying hello" 2\r\nNOP\r\nNOP\r\n' >"$work/good.qxs"
printf '[Settings]\r\n"Writing settings" 2\r\nSetKey "%s" Main Installed yes\r\nSetKey "%s" Main Version 2\r\n' \
  "$ini" "$ini" >>"$work/good.qxs"
printf '[Other]\r\nMisc Hello\r\n' >>"$work/good.qxs"
$run "$(winpath "$work/good.qxs")" >"$work/out" 2>"$work/err"
status=$?
check "clean run exits 0" test "$status" -eq 0
check "clean run logs nothing" test ! -s "$work/err"
same "clean run: one line per section, then the summary" "$work/out" "== Saying hello (2)
== Writing settings (2)
Sections run: 2
Lines run: 4
Errors logged: 0
Bytes copied: 0
Deferred operations waiting in PendingFileRenameOperations: 3
Deferred operations waiting in WININIT.INI [Rename]: 2"
same "clean run wrote the INI file" "$work/app.ini" "[Main]
Installed=yes
Version=2"

$run --quiet "$(winpath "$work/good.qxs")" >"$work/out" 2>"$work/err"
status=$?
check "--quiet clean run exits 0" test "$status" -eq 0
check "--quiet clean run prints nothing" test ! -s "$work/out" -a ! -s "$work/err"

$run --section Other "$(winpath "$work/good.qxs")" >"$work/out" 2>"$work/err"
check "--section runs the named master section" grep -q '^Sections run: 1' "$work/out"
$run "$(winpath "$work/good.qxs")" Other >"$work/out" 2>"$work/err"
check "a second argument names the section as before" grep -q '^Sections run: 1' "$work/out"

# A copy section: one line for the file, and its byte advances in the summary.
mkdir -p "$work/media"
head -c 10000 /dev/urandom >"$work/media/a.dll"
printf '[Setup]\r\nFileCopy Files\r\n[Files]\r\n"Copying files" 10000\r\nCopyFile "%s" "%s" a.dll N 0\r\n' \
  "$(winpath "$work/media")" "$(winpath "$work/installed")" >"$work/copy.qxs"
$run "$(winpath "$work/copy.qxs")" >"$work/out" 2>"$work/err"
check "copy run exits 0" test $? -eq 0
same "copy run: the section, the file and the bytes" "$work/out" "== Copying files (10000)
   a.dll (10000 bytes)
Sections run: 1
Lines run: 0
Errors logged: 0
Bytes copied: 10000
Deferred operations waiting in PendingFileRenameOperations: 3
Deferred operations waiting in WININIT.INI [Rename]: 2"
check "copy run copied the file" cmp -s "$work/media/a.dll" "$work/installed/a.dll"

printf '[Setup]\nMisc Hello\n[Hello]\nHello 2\nNOP\nBogus\nNOP\n' >"$work/bad.qxs"
bad_line="$(winpath "$work/bad.qxs"): Unknown command, section [Hello] line #3"
$run "$(winpath "$work/bad.qxs")" Setup >"$work/out" 2>"$work/err"
status=$?
check "failing line exits 1" test "$status" -eq 1
same "failing line is logged" "$work/err" "$bad_line"
same "failing run: section line and summary" "$work/out" "== Hello (2)
Sections run: 1
Lines run: 2
Errors logged: 1
Bytes copied: 0
Deferred operations waiting in PendingFileRenameOperations: 3
Deferred operations waiting in WININIT.INI [Rename]: 2"

$run --quiet "$(winpath "$work/bad.qxs")" >"$work/out" 2>"$work/err"
status=$?
check "--quiet failing run exits 1" test "$status" -eq 1
check "--quiet failing run prints no progress" test ! -s "$work/out"
same "--quiet failing run still shows the failure" "$work/err" "$bad_line"

# The log file is appended to, one line per failure, across runs.
printf 'earlier line\r\n' >"$work/run.log"
$run --log "$(winpath "$work/run.log")" "$(winpath "$work/bad.qxs")" >"$work/out" 2>"$work/err"
check "--log run exits 1" test $? -eq 1
$run --quiet --log "$(winpath "$work/run.log")" "$(winpath "$work/missing.qxs")" >"$work/out" 2>"$work/err"
same "--log appends every failure with its script" "$work/run.log" "earlier line
$bad_line
$missing: Couldn't open script file"
$run --log "$(winpath "$work/no/such/dir/run.log")" "$(winpath "$work/good.qxs")" >"$work/out" 2>"$work/err"
check "an unwritable log file exits 2" test $? -eq 2
check "an unwritable log file runs nothing" test ! -s "$work/out"

# Without QXI.dll beside it (or on the path) qxirun says so and exits 2.
cp "$bin/qxirun.exe" "$work/"
"$source/cmake/wine-run.sh" "$prefix" "$arch" "$work/qxirun.exe" "$(winpath "$work/good.qxs")" \
  >"$work/out" 2>"$work/err"
check "no QXI.dll exits 2" test $? -eq 2
check "no QXI.dll is explained" grep -q '^qxirun: cannot load QXI.dll' "$work/err"

printf '[Conditions]\r\nFileExists Here "%s"\r\nFileExists Gone "%s"\r\n' \
  "$(winpath "$work/good.qxs")" "$(winpath "$work/gone.qxs")" >"$work/cond.qxs"
for name_value in Here:1 here:1 Gone:0 Undefined:0; do
  $run --eval "$(winpath "$work/cond.qxs")" "${name_value%%:*}" >"$work/out" 2>"$work/err"
  status=$?
  check "--eval ${name_value%%:*} exits 0" test "$status" -eq 0
  check "--eval ${name_value%%:*} prints ${name_value#*:}" test "$(text "$work/out")" = "${name_value#*:}"
done
$run --eval "$missing" Here >"$work/out" 2>"$work/err"
check "--eval of a missing script prints 1" test "$(text "$work/out")" = 1
$run --eval "$(winpath "$work/good.qxs")" Here >"$work/out" 2>"$work/err"
check "--eval without Conditions prints 1" test "$(text "$work/out")" = 1
$run --eval "$(winpath "$work/cond.qxs")" >"$work/out" 2>"$work/err"
check "--eval without a name exits 2" test "$?" -eq 2

echo "$failures failed"
exit $((failures > 0))
