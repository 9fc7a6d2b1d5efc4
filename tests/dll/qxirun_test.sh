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
check "--help exits 0 with the usage on stdout" test $? -eq 0 -a ! -s "$work/err" ||
  { echo "--- stderr:"; text "$work/err"; }
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
Lines skipped by a condition: 0
Errors logged: 0
Files written: 0
Files left by priority: 0
Files waiting for the restart: 0
Bytes written: 0
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
Lines run: 1
Lines skipped by a condition: 0
Errors logged: 0
Files written: 1
Files left by priority: 0
Files waiting for the restart: 0
Bytes written: 10000
Deferred operations waiting in PendingFileRenameOperations: 3
Deferred operations waiting in WININIT.INI [Rename]: 2"
check "copy run copied the file" cmp -s "$work/media/a.dll" "$work/installed/a.dll"

# The summary counts what its labels say: lines skipped by a condition are not lines run, a
# file or an archive entry left by its priority is neither written nor counted in the bytes,
# and every file's line says what became of it.
printf 'ten bytes!' >"$work/media/c.txt"
"$source/cmake/wine-run.sh" "$prefix" "$arch" "$bin/qxzpack.exe" create \
  "$(winpath "$work/media/pack.qxz")" --priority 3 -C "$(winpath "$work/media")" c.txt >/dev/null ||
  check "qxzpack made the archive" false
dest=$(winpath "$work/honest")
copy="CopyFile \"$(winpath "$work/media")\" \"$dest\""
extract="ExtractQXZ \"$(winpath "$work/media/pack.qxz")\" \"$dest\""
printf '[Setup]\r\nFileCopy Files\r\nMisc Steps\r\n[Files]\r\n"Copying files" 20010\r\n' >"$work/honest.qxs"
printf '%s a.dll "" 7\r\n%s a.dll "" 7\r\n@Here %s b.dll "" 0\r\n%s\r\n%s\r\n' \
  "$copy" "$copy" "$copy" "$extract" "$extract" >>"$work/honest.qxs"
printf '[Steps]\r\n"Steps" 2\r\n@Here NOP\r\n@!Here NOP\r\n[Conditions]\r\nFileExists Here "%s"\r\n' \
  "$(winpath "$work/media/none.txt")" >>"$work/honest.qxs"
$run "$(winpath "$work/honest.qxs")" >"$work/out" 2>"$work/err"
check "honest run exits 0" test $? -eq 0 -a ! -s "$work/err"
same "honest run: files left by priority, and figures that count what they say" "$work/out" \
"== Copying files (20010)
   a.dll (10000 bytes)
   a.dll (10000 bytes) left by priority
   $dest\c.txt (10 bytes)
   $dest\c.txt (10 bytes) left by priority
== Steps (2)
Sections run: 2
Lines run: 5
Lines skipped by a condition: 2
Errors logged: 0
Files written: 2
Files left by priority: 2
Files waiting for the restart: 0
Bytes written: 10010
Deferred operations waiting in PendingFileRenameOperations: 3
Deferred operations waiting in WININIT.INI [Rename]: 2"

printf '[Setup]\nMisc Hello\n[Hello]\nHello 2\nNOP\nBogus\nNOP\n' >"$work/bad.qxs"
bad_line="$(winpath "$work/bad.qxs"): Unknown command, section [Hello] line #3"
$run "$(winpath "$work/bad.qxs")" Setup >"$work/out" 2>"$work/err"
status=$?
check "failing line exits 1" test "$status" -eq 1
same "failing line is logged" "$work/err" "$bad_line"
same "failing run: section line and summary" "$work/out" "== Hello (2)
Sections run: 1
Lines run: 2
Lines skipped by a condition: 0
Errors logged: 1
Files written: 0
Files left by priority: 0
Files waiting for the restart: 0
Bytes written: 0
Deferred operations waiting in PendingFileRenameOperations: 3
Deferred operations waiting in WININIT.INI [Rename]: 2"

$run --quiet "$(winpath "$work/bad.qxs")" >"$work/out" 2>"$work/err"
status=$?
check "--quiet failing run exits 1" test "$status" -eq 1
check "--quiet failing run prints no progress" test ! -s "$work/out"
same "--quiet failing run still shows the failure" "$work/err" "$bad_line"

# --check: the check's findings first; a script it finds errors in runs only with --force.
check_findings="$(winpath "$work/bad.qxs"):6: error: Unknown command, section [Hello] line #3: \"Bogus\" is not a command of group Misc
qxirun: check: 1 error, 0 warnings"
$run --check "$(winpath "$work/bad.qxs")" >"$work/out" 2>"$work/err"
check "--check of a failing script exits 1" test $? -eq 1
same "--check names the file's line and runs nothing" "$work/err" "$check_findings
qxirun: not run: the check found errors (--force runs it anyway)"
check "--check of a failing script shows no progress" test ! -s "$work/out"
$run --check --force --quiet "$(winpath "$work/bad.qxs")" >"$work/out" 2>"$work/err"
check "--check --force exits as the run does" test $? -eq 1
same "--check --force runs the script after the findings" "$work/err" "$check_findings
$bad_line"
$run --check "$(winpath "$work/good.qxs")" >"$work/out" 2>"$work/err"
check "--check of a clean script exits 0" test $? -eq 0
same "--check of a clean script finds nothing" "$work/err" "qxirun: check: 0 errors, 0 warnings"
check "--check of a clean script runs it" grep -q '^Sections run: 2' "$work/out"

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

# The run's folder: a script run from anywhere finds the files beside it (a copy from ".",
# an included script, a condition's file); --keep-cwd keeps the caller's folder instead.
kit=$work/kit kit_ini=$(winpath "$work/kit.ini")
mkdir -p "$kit" "$work/elsewhere"
printf 'beside the script\r\n' >"$kit/app.txt"
printf '[Parts]\r\nINI Part\r\n[Part]\r\n"Part" 1\r\nSetKey "%s" Main Included yes\r\n' \
  "$kit_ini" >"$kit/parts.qxs"
printf '[Setup]\r\nFileCopy Files\r\nMisc More\r\n[Files]\r\n"Files" 19\r\nCopyFile . "%s" app.txt "" 0\r\n' \
  "$(winpath "$work/kit-installed")" >"$kit/setup.qxs"
printf '[More]\r\n"More" 1\r\nInclude parts.qxs Parts\r\n[Conditions]\r\nFileExists HasApp app.txt\r\n' \
  >>"$kit/setup.qxs"
for script in "$(winpath "$kit/setup.qxs")" '..\kit\setup.qxs'; do
  rm -rf "$work/kit-installed" "$work/kit.ini"
  (cd "$work/elsewhere" && $run --quiet "$script") >"$work/out" 2>"$work/err"
  check "$script run from another folder exits 0" test $? -eq 0 -a ! -s "$work/err"
  check "$script: CopyFile . copied the file beside it" cmp -s "$kit/app.txt" "$work/kit-installed/app.txt"
  check "$script: Include found the script beside it" grep -q '^Included=yes' "$work/kit.ini"
done
(cd "$work/elsewhere" && $run --eval '..\kit\setup.qxs' HasApp) >"$work/out" 2>"$work/err"
check "--eval sees the files beside the script" test "$(text "$work/out")" = 1
(cd "$work/elsewhere" && $run --keep-cwd --eval '..\kit\setup.qxs' HasApp) >"$work/out" 2>"$work/err"
check "--eval --keep-cwd looks in the caller's folder" test "$(text "$work/out")" = 0
rm -rf "$work/kit-installed" "$work/kit.ini"
(cd "$work/elsewhere" && $run --quiet --keep-cwd '..\kit\setup.qxs') >"$work/out" 2>"$work/err"
check "--keep-cwd run exits 1" test $? -eq 1
check "--keep-cwd: CopyFile . looked in the caller's folder" \
  grep -qF '..\kit\setup.qxs: CopyFile: section [Files] line #2, ' "$work/err"
check "--keep-cwd: Include looked in the caller's folder" grep -qx ': Section not found' <(text "$work/err")
check "--keep-cwd: nothing was copied" test ! -e "$work/kit-installed/app.txt"

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
