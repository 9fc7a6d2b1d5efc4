#!/usr/bin/env bash
# qxisetup_demo_test.sh BIN PREFIX ARCH ROOT: the demo installation through the window host,
# on a virtual display: qxisetup_driver starts qxisetup as a user would, waits for the end of
# the run, reads the window's final texts and presses Close. The medium is built in a prefix
# of its own, since the display prefix must be started by the program that shows windows.
set -u
bin=$(realpath "$1") prefix=$(realpath -m "$2") arch=$3 root=$4
work=$(mktemp -d)
trap 'rm -rf "$work"; for p in "$prefix" "$prefix-medium"; do "$root/cmake/wine-prefix.sh" remove "$p" "$arch"; done' EXIT
failures=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok: $name"; else echo "FAILED: $name"; failures=$((failures + 1)); fi
}

medium=$work/medium
"$root/examples/demo/build_medium.sh" "$bin" "$prefix-medium" "$arch" "$medium" >/dev/null ||
  { echo "FAILED: the demo medium could not be built"; exit 1; }
"$root/cmake/wine-prefix.sh" stop "$prefix" "$arch"
rm -rf "$prefix" "$prefix.lock"
(cd "$medium" && "$root/src/system/run_on_display.sh" "$prefix" "$arch" \
   "$bin/qxisetup_driver.exe" "$bin/qxisetup.exe" \
   "Z:$(echo "$medium/setup.qxs" | tr / '\\')" Setup) > "$work/out" 2>"$work/err"
status=$?
tr -d '\r' < "$work/out" > "$work/window"
cat "$work/window"

check "qxisetup ends with status 0" test $status -eq 0
check "the window says the installation is complete" grep -qx 'status: Installation complete' "$work/window"
check "the error list is empty" grep -qx 'errors: 0' "$work/window"
check "the last section is shown" grep -qx 'section: Finishing' "$work/window"
app="$prefix/drive_c/Program Files/Lumen Notes"
check "the program was copied" cmp -s "$bin/lumen.exe" "$app/lumen.exe"
check "the archive was unpacked" test -f "$app/templates/letters/formal.txt"
check "the post-install step ran" grep -q 'Lumen Notes 2.1 was set up' "$app/firstrun.txt"
echo "$failures failed"
exit $((failures > 0))
