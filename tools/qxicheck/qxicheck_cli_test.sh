#!/usr/bin/env bash
# qxicheck_cli_test.sh QXICHECK ROOT: the program as authors and CI meet it: the usage, the
# exit statuses, findings as PATH:LINE: error: TEXT with the closing count, and the valid
# scripts of the repository checking without a finding.
set -u
qxicheck=$1 root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok: $name"; else echo "FAILED: $name"; failures=$((failures + 1)); fi
}
same() {  # same NAME FILE EXPECTED: the file's text is exactly EXPECTED
  if [ "$(tr -d '\r' <"$2")" = "$3" ]; then echo "ok: $1"; else
    echo "FAILED: $1"; echo "--- got:"; cat "$2"; echo "--- expected:"; echo "$3"
    failures=$((failures + 1))
  fi
}
run() { "$qxicheck" "$@" >"$work/out" 2>"$work/err"; }

run --help
check "--help exits 0" test $? -eq 0
check "--help prints the usage on stdout" grep -q '^usage: qxicheck' "$work/out"
for args in "" "--bogus x.qxs" "x.qxs --section"; do
  run $args
  check "'$args' exits 2" test $? -eq 2
  check "'$args' says why, then the usage" grep -q '^usage: qxicheck' "$work/err"
done

cd "$work"
run missing.qxs
check "a script that cannot be read exits 2" test $? -eq 2
same "a script that cannot be read is named" "$work/out" "missing.qxs: error: Couldn't open script file
1 error, 0 warnings"

printf '[Setup]\r\nMisc Hello\r\n[Hello]\r\n"Hello" 2\r\nNOP\r\nCopyFile a b c "" 0\r\n' >bad.qxs
run bad.qxs
check "a script with errors exits 1" test $? -eq 1
same "errors name the file's line and the engine's words" "$work/out" "bad.qxs:6: error: Unknown command, section [Hello] line #3: \"CopyFile\" is a command of group FileCopy, and section [Hello] is run with group Misc
1 error, 0 warnings"
run --engine-messages bad.qxs
same "--engine-messages prints what the engine would log" "$work/out" "always	bad.qxs	Unknown command, section [Hello] line #3"
run --section Other bad.qxs
same "--section names the master section" "$work/out" "bad.qxs: error: Section not found: there is no section [Other] in bad.qxs
1 error, 0 warnings"

# The valid scripts of the repository: no finding.
cd "$root"
run examples/hello/setup.qxs
check "the hello example exits 0" test $? -eq 0
same "the hello example checks clean, its included script with it" "$work/out" "0 errors, 0 warnings"
run --section Parts examples/hello/parts.qxs
same "the hello example's included script checks clean on its own" "$work/out" "0 errors, 0 warnings"

# The complete scripts of the documentation (the ini blocks that begin with a master section
# [Setup]), beside the hello example's included script and the files that the one-file
# setup's example (docs/qxibundle.md) copies from its setup folder.
cp examples/hello/parts.qxs "$work/"
mkdir -p "$work/help"
touch "$work/hello.exe" "$work/help/index.txt"
n=0
for doc in README.md docs/*.md; do
  awk -v out="$work/doc" -v doc="$(basename "$doc")" '
    /^```ini$/ { block++; file = out "-" doc "-" block ".qxs"; inside = 1; next }
    /^```$/    { inside = 0; next }
    inside     { print > file }
  ' "$doc"
done
for script in "$work"/doc-*.qxs; do
  grep -qm1 -v '^;' "$script" && [ "$(grep -m1 -v '^;' "$script" | cut -c1-7)" = "[Setup]" ] ||
    continue
  n=$((n + 1))
  run "$script"
  case $script in
    *host-integration*)  # the example host's script, with the failing line its output shows
      same "$(basename "$script") fails on its Bogus line only" "$work/out" "$script:7: error: Unknown command, section [Welcome] line #3: \"Bogus\" is not a command of group Misc
1 error, 0 warnings" ;;
    *) same "$(basename "$script") checks clean" "$work/out" "0 errors, 0 warnings" ;;
  esac
done
check "the documentation has complete scripts" test "$n" -ge 3

[ $failures -eq 0 ] || { echo "$failures failed"; exit 1; }
