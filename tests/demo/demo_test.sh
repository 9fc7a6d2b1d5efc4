#!/usr/bin/env bash
# demo_test.sh BIN PREFIX ARCH: runs the demo installation (examples/demo/run_demo.sh) in a
# prefix of its own and checks what both runs did: the fresh installation with the runtime in
# use, the restart that replaces it, and the upgrade.
# demo_test.sh BIN PREFIX ARCH first: the fresh installation only, in the existing PREFIX,
# which is left to the caller (scripts/test-win32.sh).
set -u
bin=$1 prefix=$2 arch=$3 only=${4:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/cmake/wine-env.sh"
# The runtime's folder as the installing programs name it (syswow64 for a 32-bit QXI.dll in a
# 64-bit prefix).
sys="C:\\windows\\$(wine_system_folder "$bin/QXI.dll" "$arch")"
out=$(mktemp)
if [ "$only" = first ]; then
  trap 'rm -f "$out"' EXIT
  QXI_DEMO_FIRST_ONLY=1 "$root/examples/demo/run_demo.sh" "$bin" "$prefix" "$arch" > "$out" 2>&1
else
  trap 'rm -f "$out"; "$root/cmake/wine-prefix.sh" remove "$prefix" "$arch"' EXIT
  "$root/examples/demo/run_demo.sh" "$bin" "$prefix" "$arch" > "$out" 2>&1
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
       "=== Another program is using" \
       "lumenrt.dll (26 bytes) waiting for the restart" \
       "Lines skipped by a condition: 3" "Files written: 9" "Files left by priority: 0" \
       "Files waiting for the restart: 1" \
       "Deferred operations waiting in PendingFileRenameOperations: 1" \
       "Deferred operations waiting in WININIT.INI [Rename]: 0" \
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
else
  expect "${first[@]}" \
         "lumenrt.dll now: Lumen shared runtime 2.1" "operations waiting now: 0" \
         "Installed = 1" "SameVersion = 1" "HasIni = 1" "HasNotesPath = 1" \
         "help\\index.txt (204 bytes) left by priority" \
         "Files written: 2" "Files left by priority: 8" "Bytes written: 116" \
         "firstrun.old  " \
         "LastSetup    REG_SZ    upgrade" "SetupCount    REG_DWORD    0x2" \
         "Kind=upgrade" "History=2.1;2.1;" \
         "=== Waiting for the next restart" "    nothing"
fi
[ $failures -eq 0 ] || { echo "--- demo output"; cat "$out"; exit 1; }
echo "demo: ${only:+the first run only, }as expected"
