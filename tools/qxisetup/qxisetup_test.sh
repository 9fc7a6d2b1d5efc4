#!/usr/bin/env bash
# qxisetup on a virtual display, in a Wine prefix of its own: with --auto-close the window
# closes when the run ends, and the exit status says whether anything was logged. The
# script's effects on an INI file show that the engine really ran behind the window.
set -u
bin=$1 prefix=$2 arch=$3 source=$4
display_run="$source/src/system/run_on_display.sh $prefix $arch $bin/qxisetup.exe"
work=$(mktemp -d)
trap 'rm -rf "$work"; "$source/cmake/wine-prefix.sh" remove "$prefix" "$arch"' EXIT
winpath() { echo "Z:$1" | tr / '\\'; }
failures=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok: $name"; else echo "FAILED: $name"; failures=$((failures + 1)); fi
}

ini=$(winpath "$work/app.ini")
mkdir -p "$work/media"
head -c 300000 /dev/urandom >"$work/media/big.dat"
# A copy of 74 blocks and a hundred lines after the settings: their advances queue up as
# posted messages behind the engine thread, and the window must still see the end of the run.
{
  printf '[Setup]\r\nFileCopy Files\r\nINI Settings\r\nMisc Steps\r\n'
  printf '[Files]\r\n"Copying files" 300000\r\nCopyFile "%s" "%s" big.dat N 0\r\n' \
    "$(winpath "$work/media")" "$(winpath "$work/installed")"
  printf '[Settings]\r\n"Writing settings" 2\r\n'
  printf 'SetKey "%s" Main Installed yes\r\nSetKey "%s" Main Version 2\r\n' "$ini" "$ini"
  printf '[Steps]\r\n"Many steps" 100\r\n'
  for i in $(seq 100); do printf 'NOP\r\n'; done
} >"$work/good.qxs"
$display_run --auto-close "$(winpath "$work/good.qxs")" >"$work/out" 2>"$work/err"
status=$?
check "clean run closes with 0" test "$status" -eq 0
check "clean run copied the file" cmp -s "$work/media/big.dat" "$work/installed/big.dat"
check "clean run wrote the INI file" test "$(tr -d '\r' <"$work/app.ini")" = "[Main]
Installed=yes
Version=2"

# A failing line: the run goes on to its end, and the exit status is 1.
printf '[Setup]\r\nINI Settings\r\n[Settings]\r\n"Settings" 2\r\nBogus\r\nSetKey "%s" Main After failure\r\n' \
  "$ini" >"$work/bad.qxs"
$display_run --auto-close "$(winpath "$work/bad.qxs")" Setup >"$work/out" 2>"$work/err"
status=$?
check "failing run closes with 1" test "$status" -eq 1
check "the line after the failure ran" grep -q '^After=failure' "$work/app.ini"

# A master section the script lacks is logged, so the run counts as failed.
$display_run --auto-close "$(winpath "$work/good.qxs")" Missing >"$work/out" 2>"$work/err"
check "missing section closes with 1" test $? -eq 1

# --help and -h: the usage on standard output, status 0, no window and no run.
for help in --help -h; do
  $display_run "$help" >"$work/out" 2>"$work/err"
  check "$help exits 0" test $? -eq 0
  check "$help prints the usage" grep -q '^usage: qxisetup \[--auto-close\] \[--keep-cwd\]' "$work/out"
done

# Started from another folder, the script still runs in its own: CopyFile . finds its file.
mkdir -p "$work/kit" "$work/elsewhere"
printf 'beside the script\r\n' >"$work/kit/app.txt"
printf '[Setup]\r\nFileCopy Files\r\n[Files]\r\n"Files" 19\r\nCopyFile . "%s" app.txt "" 0\r\n' \
  "$(winpath "$work/kit-installed")" >"$work/kit/setup.qxs"
(cd "$work/elsewhere" && $display_run --auto-close '..\kit\setup.qxs') >"$work/out" 2>"$work/err"
check "a run from another folder closes with 0" test $? -eq 0
check "CopyFile . copied the file beside the script" cmp -s "$work/kit/app.txt" "$work/kit-installed/app.txt"

echo "$failures failed"
exit $((failures > 0))
