#!/usr/bin/env bash
# demo_window_test.sh BIN PREFIX ARCH ROOT [QXIBUNDLE]: the demo's one-file setup run as a
# person runs it, in its window on a virtual display: qxisetup_driver starts setup.exe, waits
# for the end of the run, reads the window's final texts and presses Close; then the same for
# the uninstaller that the uninstall entry names. The setup is made by QXIBUNDLE (the Linux
# program) when it exists, else by qxibundle.exe.
set -u
bin=$(realpath "$1") prefix=$(realpath -m "$2") arch=$3 root=$4 qxibundle=${5:-}
work=$(mktemp -d)
trap 'rm -rf "$work"; for p in "$prefix" "$prefix-medium"; do "$root/cmake/wine-prefix.sh" remove "$p" "$arch"; done' EXIT
winpath() { echo "Z:$(realpath -m "$1" | tr / '\\')"; }
failures=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok: $name"; else echo "FAILED: $name"; failures=$((failures + 1)); fi
}

medium=$work/medium
"$root/examples/demo/build_medium.sh" "$bin" "$prefix-medium" "$arch" "$medium" >/dev/null ||
  { echo "FAILED: the demo medium could not be built"; exit 1; }
options=(--name "Lumen Notes" --version 2.1 --publisher "Lumen Software" --install-dir 'C:\Program Files\Lumen Notes')
if [ -x "$qxibundle" ]; then
  "$qxibundle" --out "$work/setup.exe" "${options[@]}" --kit "$bin" "$medium" || exit 1
else
  echo "note: no Linux qxibundle; the setup is made by qxibundle.exe"
  "$root/cmake/wine-run.sh" "$prefix-medium" "$arch" "$bin/qxibundle.exe" --out "$(winpath "$work/setup.exe")" \
    "${options[@]}" "$(winpath "$medium")" || exit 1
fi
"$root/cmake/wine-prefix.sh" stop "$prefix" "$arch"
rm -rf "$prefix" "$prefix.lock"
(cd "$work" && "$root/src/system/run_on_display.sh" "$prefix" "$arch" \
   "$bin/qxisetup_driver.exe" "$(winpath "$work/setup.exe")") > "$work/out" 2>"$work/err"
status=$?
tr -d '\r' < "$work/out" > "$work/window"
cat "$work/window"

check "setup.exe ends with status 0" test $status -eq 0
check "the window says the installation is complete" grep -qx 'status: Installation complete' "$work/window"
check "the error list is empty" grep -qx 'errors: 0' "$work/window"
check "the last section is shown" grep -qx 'section: Finishing' "$work/window"
app="$prefix/drive_c/Program Files/Lumen Notes"
check "the program was copied" cmp -s "$bin/lumen.exe" "$app/lumen.exe"
check "the archive was unpacked" test -f "$app/templates/letters/formal.txt"
check "the post-install step ran" grep -q 'Lumen Notes 2.1 was set up' "$app/firstrun.txt"
check "the private folder is gone" test -z "$(find "$prefix/drive_c/users" -maxdepth 3 -path '*/Temp/QXI*')"

# The uninstaller as a person starts it from the list of installed programs: UninstallString.
. "$root/cmake/wine-env.sh"
wine_env "$prefix" "$arch"
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumen Notes'
uninstaller=$("$WINE" reg query "$entry" /v UninstallString /reg:32 2>/dev/null | tr -d '\r' |
              sed -n 's/^ *UninstallString *REG_SZ *"\(.*\)"$/\1/p')
"$root/cmake/wine-prefix.sh" stop "$prefix" "$arch"
check "the entry names the uninstaller" test "$uninstaller" = 'C:\Program Files\Lumen Notes\Uninstall\uninstall.exe'
(cd "$work" && "$root/src/system/run_on_display.sh" "$prefix" "$arch" \
   "$bin/qxisetup_driver.exe" "$uninstaller") > "$work/out" 2>"$work/err"
status=$?
tr -d '\r' < "$work/out" > "$work/window"
cat "$work/window"
check "uninstall.exe ends with status 0" test $status -eq 0
check "its window says the removal is complete" grep -qx 'status: Removal complete' "$work/window"
check "the program and the archive's files are gone" test ! -e "$app/lumen.exe" -a ! -e "$app/templates"
check "the uninstall entry is gone" test -z "$("$WINE" reg query "$entry" /reg:32 2>/dev/null | grep -i DisplayName)"
"$root/cmake/wine-prefix.sh" stop "$prefix" "$arch"
echo "$failures failed"
exit $((failures > 0))
