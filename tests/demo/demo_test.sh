#!/usr/bin/env bash
# demo_test.sh BIN PREFIX ARCH [QXIBUNDLE]: runs the demo installation (examples/demo/run_demo.sh)
# in a prefix of its own, with its setup made by QXIBUNDLE (the Linux program) when it exists,
# and checks what every run did: the fresh installation with the runtime in use, the restart
# that replaces it, the upgrade, and the uninstallation found through the uninstall entry,
# which leaves the machine as it was but for the listed differences.
# demo_test.sh BIN PREFIX ARCH QXIBUNDLE first: the fresh installation only, in the existing
# PREFIX, which is left to the caller (scripts/test-win32.sh).
set -u
bin=$1 prefix=$2 arch=$3 qxibundle=${4:-} only=${5:-}
[ -x "$qxibundle" ] || { echo "note: no Linux qxibundle; the setup is made by qxibundle.exe"; qxibundle=; }
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/cmake/wine-env.sh"
# The runtime's folder as the installing programs name it (syswow64 for a 32-bit QXI.dll in a
# 64-bit prefix).
sys="C:\\windows\\$(wine_system_folder "$bin/QXI.dll" "$arch")"
out=$(mktemp)
if [ "$only" = first ]; then
  trap 'rm -f "$out"' EXIT
  QXI_DEMO_FIRST_ONLY=1 "$root/examples/demo/run_demo.sh" "$bin" "$prefix" "$arch" "$qxibundle" > "$out" 2>&1
else
  trap 'rm -f "$out"; "$root/cmake/wine-prefix.sh" remove "$prefix" "$arch"' EXIT
  "$root/examples/demo/run_demo.sh" "$bin" "$prefix" "$arch" "$qxibundle" > "$out" 2>&1
fi
status=$?
tr -d '\r' < "$out" > "$out.plain" && mv "$out.plain" "$out"
failures=0
expect() {  # expect TEXT...: each text must appear, in this order, in the demo's output
  local from=1 text line
  for text in "$@"; do
    line=$(tail -n +"$from" "$out" | grep -nF -m1 -- "$text" | cut -d: -f1)
    if [ -z "$line" ]; then
      echo "FAIL: not found after line $from: $text"
      failures=$((failures + 1))
      return
    fi
    from=$((from + line))
  done
}
[ $status -eq 0 ] || { echo "FAIL: demo exit status $status"; failures=$((failures + 1)); }
first=("=== qxicheck: what the engine would report" "    0 errors, 0 warnings" \
       "=== Making one setup.exe of the medium: qxibundle" "QXI.dll" "setup.qxs" "setup, " \
       "=== Another program is using" "Lumen Notes Setup 2.1" \
       "lumenrt.dll (26 bytes) waiting for the restart" \
       "Lines skipped by a condition: 3" "Files written: 9" "Files left by priority: 0" \
       "Files waiting for the restart: 1" \
       "Deferred operations waiting in PendingFileRenameOperations: 1" \
       "Deferred operations waiting in WININIT.INI [Rename]: 0" \
       "Restart needed: yes" "exit status: 3010" \
       "=== Files in C:\\Program Files\\Lumen Notes" \
       "Notes\\index.dat  0 bytes" "Notes\\notebooks\\travel\\packing.txt  " "firstrun.txt  " \
       "help\\index.txt  " "lumen.exe  " "readme.txt  " "templates\\letters\\formal.txt  " \
       "Lumen shared runtime 1.0" \
       "LastSetup    REG_SZ    fresh install" "SetupCount    REG_DWORD    0x1" \
       "Kind=fresh install" "History=2.1;" "spell=lumenspell.dll" \
       "Programs/Lumen Notes/Lumen Notes.lnk" "Local path" "C:\\Program Files\\Lumen Notes\\lumen.exe" \
       "Desktop/Lumen Notes.lnk" \
       "=== Waiting for the next restart" "replace $sys\\lumenrt.dll by $sys\\QXI")
if [ "$only" = first ]; then
  expect "${first[@]}"
  [ $failures -eq 0 ] || { echo "--- demo output"; cat "$out"; exit 1; }
  echo "demo: the first run only, as expected"
  exit 0
fi
expect "${first[@]}" \
       "lumenrt.dll now: Lumen shared runtime 2.1" "operations waiting now: 0" \
       "Installed = 1" "SameVersion = 1" "HasIni = 1" "HasNotesPath = 1" \
       "help\\index.txt (204 bytes) left by priority" \
       "Files written: 2" "Files left by priority: 8" "Bytes written: 116" \
       "Restart needed: no" "exit status: 0" \
       "firstrun.old  " \
       "LastSetup    REG_SZ    upgrade" "SetupCount    REG_DWORD    0x2" \
       "Kind=upgrade" "History=2.1;2.1;" \
       "=== Waiting for the next restart" "    nothing" \
       "=== The uninstall entry" "DisplayName    REG_SZ    Lumen Notes" \
       "DisplayVersion    REG_SZ    2.1" "InstallLocation    REG_SZ    C:\\Program Files\\Lumen Notes" \
       "NoModify    REG_DWORD    0x1" "NoRepair    REG_DWORD    0x1" "Publisher    REG_SZ    Lumen Software" \
       "QuietUninstallString    REG_SZ    \"C:\\Program Files\\Lumen Notes\\Uninstall\\uninstall.exe\" /S" \
       "UninstallString    REG_SZ    \"C:\\Program Files\\Lumen Notes\\Uninstall\\uninstall.exe\"" \
       "=== The uninstaller's folder" "    journal.txt" "    uninstall.exe" "    uninstall.qxs" \
       "=== Uninstalling: a deployment tool runs QuietUninstallString" "Lumen Notes Uninstall 2.1" \
       "Errors logged: 0" "The uninstall entry is deleted; the uninstaller goes at the next restart" \
       "Restart needed: no" "QuietUninstallString: \"C:\\Program Files\\Lumen Notes\\Uninstall\\uninstall.exe\" /S" \
       "exit status: 0"
# What the uninstallation and the restart after it leave, against the machine before the
# first installation (digests left out), and why:
#  - the shared runtime was there before and the installation wrote over it (at the restart):
#    its earlier content was not kept, so it stays;
#  - firstrun.txt and firstrun.old, and with them the application's folder: lumen.exe
#    --first-run, which RunApp started, wrote them; what a started program does is not in
#    the journal.
# The uninstaller, its folder and the uninstall entry are gone, and nothing waits for the
# restart.
expected_left="-file windows/system32/lumenrt.dll
+file Program Files/Lumen Notes/firstrun.old
+file Program Files/Lumen Notes/firstrun.txt
+file windows/system32/lumenrt.dll
+folder Program Files/Lumen Notes"
left=$(sed -n '/^=== After the restart (wineboot -r), what differs/,/^=== Why/p' "$out" |
       sed '1d;$d' | grep -v '^$' | sed -E 's/^    //; s/^([+-]file .*) [0-9a-f]{12}$/\1/' |
       LC_ALL=C sort)
if [ "$left" != "$(LC_ALL=C sort <<<"$expected_left")" ]; then
  echo "FAIL: after the uninstallation and the restart, the machine differs otherwise than listed:"
  diff <(LC_ALL=C sort <<<"$expected_left") <(echo "$left")
  failures=$((failures + 1))
fi
[ $failures -eq 0 ] || { echo "--- demo output"; cat "$out"; exit 1; }
echo "demo: every run as expected, and the uninstallation left only the listed differences"
