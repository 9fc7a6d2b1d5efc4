#!/usr/bin/env bash
# qxirun as a user meets it: exit statuses, the log line on stderr, dialog texts on stdout.
set -u
bin=$1 prefix=$2 arch=$3 source=$4
run="$source/cmake/wine-run.sh $prefix $arch $bin/qxirun.exe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
winpath() { echo "Z:$1" | tr / '\\'; }
text() { tr -d '\r' <"$1"; }  # a Windows console program ends its lines with CR LF
failures=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok: $name"; else echo "FAILED: $name"; failures=$((failures + 1)); fi
}

missing=$(winpath "$work/missing.qxs")
$run "$missing" Setup >"$work/out" 2>"$work/err"
status=$?
check "missing script exits 1" test "$status" -eq 1
check "missing script logs one line" test "$(text "$work/err")" = "$missing: Couldn't open script file"

$run >"$work/out" 2>"$work/err"
status=$?
check "no arguments exit 2" test "$status" -eq 2
check "no arguments print the usage" grep -q '^usage: qxirun SCRIPT' "$work/err"

printf '[Setup]\r\nMisc Hello\r\n[Hello]\r\n"Saying hello" 2\r\nNOP\r\nNOP\r\n' >"$work/good.qxs"
$run "$(winpath "$work/good.qxs")" >"$work/out" 2>"$work/err"
status=$?
check "clean run exits 0" test "$status" -eq 0
check "clean run logs nothing" test ! -s "$work/err"
check "clean run shows the section" grep -q '^== Saying hello (2)' "$work/out"

printf '[Setup]\nMisc Hello\n[Hello]\nHello 1\nBogus\n' >"$work/bad.qxs"
$run "$(winpath "$work/bad.qxs")" Setup >"$work/out" 2>"$work/err"
status=$?
check "failing line exits 1" test "$status" -eq 1
check "failing line is logged" test "$(text "$work/err")" = "$(winpath "$work/bad.qxs"): Unknown command, section [Hello] line #2"

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
