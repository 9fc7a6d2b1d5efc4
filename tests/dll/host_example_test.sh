#!/usr/bin/env bash
# The documentation's example host, run as its readers would run it: the usage, a clean run,
# and a run with a failing line and a condition asked for first, compared line by line.
set -u
bin=$1 prefix=$2 arch=$3 source=$4
run="$source/cmake/wine-run.sh $prefix $arch $bin/host_example.exe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
winpath() { echo "Z:$1" | tr / '\\'; }
text() { tr -d '\r' <"$1"; }  # a Windows console program ends its lines with CR LF
failures=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok: $name"; else echo "FAILED: $name"; failures=$((failures + 1)); fi
}

$run >"$work/out" 2>"$work/err"
check "no arguments exit 2" test "$?" -eq 2
check "no arguments print the usage" test "$(text "$work/err")" = "usage: host SCRIPT SECTION [CONDITION]"

printf '[Setup]\r\nMisc Hello\r\n[Hello]\r\n"Saying hello" 2\r\nNOP\r\nNOP\r\n' >"$work/good.qxs"
$run "$(winpath "$work/good.qxs")" Setup >"$work/out" 2>"$work/err"
check "clean run exits 0" test "$?" -eq 0
check "clean run logs nothing" test ! -s "$work/err"
check "clean run shows the progress" test "$(text "$work/out")" = "Saying hello
  50%
  100%
Done, 0 error(s) logged"

printf '[Setup]\nMisc Welcome\n\n[Welcome]\n"Welcome to Hello" 3\nNOP\nBogus\n@Upgrade NOP\n\n[Conditions]\nFileExists Upgrade "%s"\n' \
  "$(winpath "$work/absent.ini")" >"$work/small.qxs"
script=$(winpath "$work/small.qxs")
$run "$script" Setup Upgrade >"$work/out" 2>"$work/err"
check "failing line exits 1" test "$?" -eq 1
check "failing line: progress and condition" test "$(text "$work/out")" = "Condition Upgrade: 0
Welcome to Hello
  33%
  66%
Done, 1 error(s) logged"
check "failing line is logged with the script's path" \
  test "$(text "$work/err")" = "$script: Unknown command, section [Welcome] line #3"

# Started elsewhere with a relative path, it runs the script in its own folder and names it
# by its full path.
mkdir "$work/elsewhere"
(cd "$work/elsewhere" && $run '..\small.qxs' Setup) >"$work/out" 2>"$work/err"
check "a relative script is named by its full path" \
  test "$(text "$work/err")" = "$script: Unknown command, section [Welcome] line #3"

echo "$failures failed"
exit $((failures > 0))
