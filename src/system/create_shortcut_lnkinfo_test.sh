#!/usr/bin/env bash
# Shortcuts written by qxirun, parsed by an independent reader of the link format (lnkinfo):
# target, arguments, working directory, icon location and index, and what stays unset.
set -u
bin=$1 prefix=$2 arch=$3 source=$4
run="$source/cmake/wine-run.sh $prefix $arch $bin/qxirun.exe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
winpath() { echo "Z:$1" | tr / '\\'; }
failures=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok: $name"; else echo "FAILED: $name"; failures=$((failures + 1)); fi
}
field() {  # field FILE NAME: the value lnkinfo prints for NAME in its link information
  sed -n "s/^\t$2[[:space:]]*: //p" "$1" | head -n 1
}
has_field() { grep -q "^	$2[[:space:]]*:" "$1"; }

{
  printf '[Setup]\r\nFileOps Links\r\n[Links]\r\nLinks 3\r\n'
  printf 'CreateShortcut "%s" C:\\windows\\notepad.exe "C:\\windows\\readme.txt /p" C:\\windows C:\\windows\\notepad.exe 2\r\n' \
    "$(winpath "$work/Menu/Sub/Readme.lnk")"
  printf 'CreateShortcut "%s" C:\\windows\\regedit.exe "" "" "" 7\r\n' "$(winpath "$work/Bare.lnk")"
  printf 'CreateShortcut "%s" C:\\windows\\notepad.exe /s "" C:\\windows\\regedit.exe 1\r\n' \
    "$(winpath "$work/NoExtension")"
} >"$work/links.qxs"
$run "$(winpath "$work/links.qxs")" Setup >"$work/out" 2>"$work/err"
check "run exits 0" test $? -eq 0
check "run logs nothing" test ! -s "$work/err"

lnkinfo "$work/Menu/Sub/Readme.lnk" >"$work/full" 2>&1
check "full: parsed" test $? -eq 0
check "full: target" test "$(field "$work/full" "Local path")" = 'C:\windows\notepad.exe'
check "full: arguments" test "$(field "$work/full" "Command line arguments")" = 'C:\windows\readme.txt /p'
check "full: working directory" test "$(field "$work/full" "Working directory")" = 'C:\windows'
check "full: icon location" test "$(field "$work/full" "Icon location")" = 'C:\windows\notepad.exe'
check "full: icon index" test "$(field "$work/full" "Icon index")" = 2

lnkinfo "$work/Bare.lnk" >"$work/bare" 2>&1
check "bare: parsed" test $? -eq 0
check "bare: target" test "$(field "$work/bare" "Local path")" = 'C:\windows\regedit.exe'
check "bare: no working directory" eval '! has_field "$work/bare" "Working directory"'
check "bare: no icon location" eval '! has_field "$work/bare" "Icon location"'
check "bare: icon index ignored" test "$(field "$work/bare" "Icon index")" = 0

check "no extension added" test -f "$work/NoExtension" -a ! -e "$work/NoExtension.lnk"
lnkinfo "$work/NoExtension" >"$work/plain" 2>&1
check "plain: parsed" test $? -eq 0
check "plain: arguments" test "$(field "$work/plain" "Command line arguments")" = '/s'
check "plain: icon" test "$(field "$work/plain" "Icon location"),$(field "$work/plain" "Icon index")" = 'C:\windows\regedit.exe,1'

echo "$failures failed"
exit $((failures > 0))
