#!/usr/bin/env bash
# run_demo.sh BIN PREFIX ARCH [QXIBUNDLE]: builds the demo's installation medium from the
# programs in BIN (QXI.dll, qxirun.exe, qxzpack.exe, qxicheck.exe, lumen.exe), checks its
# script with qxicheck, makes it one setup.exe with qxibundle (QXIBUNDLE, the Linux program,
# when given; else BIN's qxibundle.exe under Wine), installs Lumen Notes twice with it in the
# Wine prefix PREFIX (made fresh), silently as a deployment tool runs it, and shows what each
# run changed on the machine:
#   1. a fresh installation, while another program keeps the shared runtime in use;
#   2. the restart that replaces the runtime;
#   3. a second installation, which finds the first and takes the upgrade path;
#   4. the uninstallation, as a deployment tool finds it in the uninstall entry, and the
#      restart that removes the uninstaller: what is left against the machine before 1.
# Exit status: 0 when every run ended as expected (3010, 0, then 0).
# QXI_DEMO_FIRST_ONLY=1 runs only the first installation, in PREFIX as it is (not made afresh).
# A 32-bit QXI.dll in BIN with ARCH win64 is the product in a 64-bit prefix (as on 64-bit
# Windows; scripts/test-win32.sh runs it so): its programs see syswow64 as the system folder
# and the 32-bit view of the registry, and the demo looks there.
set -u
bin=$(realpath "$1") prefix=$(realpath -m "$2") arch=$3 qxibundle=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$root/cmake/wine-env.sh"
. "$here/machine_snapshot.sh"

winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
wine_run() { "$root/cmake/wine-run.sh" "$prefix" "$arch" "$@"; }
section() { printf '\n=== %s\n' "$*"; }
indent() { tr -d '\r' | sed 's/^/    /'; }

# --- the medium -------------------------------------------------------------------------
medium=$(dirname "$prefix")/demo-medium
if [ -z "${QXI_DEMO_FIRST_ONLY:-}" ]; then
  "$root/cmake/wine-prefix.sh" stop "$prefix" "$arch"
  rm -rf "$prefix" "$prefix.lock"
fi
"$root/cmake/wine-prefix.sh" start "$prefix" "$arch" || exit 1
wine_env "$prefix" "$arch"
section "Building the medium: qxzpack packs the payload"
"$here/build_medium.sh" "$bin" "$prefix" "$arch" "$medium" | indent
# The host asks for two conditions with EvaluateCondition (below), which no line uses.
section "qxicheck: what the engine would report about the medium's script"
wine_run "$bin/qxicheck.exe" --deep --evaluated SameVersion --evaluated HasNotesPath \
  "$(winpath "$medium/setup.qxs")" | indent
setup=$(dirname "$prefix")/demo-setup.exe
bundle_options=(--name "Lumen Notes" --version 2.1 --publisher "Lumen Software"
                --install-dir 'C:\Program Files\Lumen Notes')
if [ -n "$qxibundle" ]; then
  section "Making one setup.exe of the medium: qxibundle (Linux)"
  "$qxibundle" --out "$setup" "${bundle_options[@]}" --kit "$bin" "$medium" || exit 1
  "$qxibundle" --list "$setup" | indent
else
  section "Making one setup.exe of the medium: qxibundle.exe"
  wine_run "$bin/qxibundle.exe" --out "$(winpath "$setup")" "${bundle_options[@]}" \
    "$(winpath "$medium")" || exit 1
  wine_run "$bin/qxibundle.exe" --list "$(winpath "$setup")" | indent
fi

drive_c=$prefix/drive_c
app="$drive_c/Program Files/Lumen Notes"
system=$(wine_system_folder "$bin/QXI.dll" "$arch") view=()
[ "$system" = syswow64 ] && view=(/reg:32)
sysdir=$drive_c/windows/$system

# The operations waiting for the restart. On the NT family (Wine's default) the system keeps
# them in the registry value PendingFileRenameOperations: pairs of names, source then
# destination, \0 between them as reg shows it; an empty destination deletes the source, a
# '!' before it lets it replace an existing file. The 95 family keeps them in WININIT.INI.
session_manager='HKLM\System\CurrentControlSet\Control\Session Manager'
pending_operations() {
  "$WINE" reg query "$session_manager" /v PendingFileRenameOperations 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *PendingFileRenameOperations *REG_MULTI_SZ *//p' | sed 's/\\0/\n/g' |
    awk '{ name[++n] = $0 }
         END { for (i = 1; i < n; i += 2) {
                 from = name[i]; to = name[i + 1]
                 sub(/^\\\?\?\\/, "", from); sub(/^!/, "", to); sub(/^\\\?\?\\/, "", to)
                 if (to == "") print "delete " from; else print "replace " to " by " from } }'
}
# The 95 family's file, whatever the letter case of its name; empty when there is none.
wininit() { find "$drive_c/windows" -maxdepth 1 -iname wininit.ini | head -1; }

# install EXPECTED: runs setup.exe /S as a deployment tool does, shows its log, and fails
# unless its exit status is EXPECTED.
install() {
  local log=$(dirname "$prefix")/demo-setup.log
  rm -f "$log"
  section "setup.exe /S /LOG=setup.log (as a deployment tool runs it)"
  # The post-install step's own output comes first: the program shares the tool's output.
  local result
  result=$(wine_run "$bin/deployment_tool.exe" run "$(winpath "$setup")" /S "/LOG=$(winpath "$log")" | tr -d '\r')
  indent < "$log"
  echo "$result" | indent
  [ "$(echo "$result" | grep '^exit status: ')" = "exit status: $1" ]
}

show_machine() {
  section "Files in C:\\Program Files\\Lumen Notes"
  (cd "$app" && find . -type f -printf '%P  %s bytes\n' | LC_ALL=C sort | tr / '\\') | indent
  section "Shared runtime C:\\windows\\$system\\lumenrt.dll"
  indent < "$sysdir/lumenrt.dll"
  section "Registry"
  "$WINE" reg query 'HKLM\Software\Lumen\Notes' "${view[@]}" 2>/dev/null | indent
  "$WINE" reg query 'HKCU\Software\Lumen\Notes' "${view[@]}" 2>/dev/null | indent
  "$WINE" reg query 'HKLM\Software\Brenvale\Tarnset\Priorities' "${view[@]}" 2>/dev/null | indent
  section "INI files"
  indent < "$drive_c/windows/lumen.ini"
  # The prefix's Desktop is a folder of its own (cmake/wine-prefix.sh), not the home folder's.
  section "Shortcuts, in the prefix's own Programs menu and Desktop folders"
  find "$drive_c/users" -name 'Lumen Notes.lnk' -print0 | LC_ALL=C sort -z |
    while IFS= read -r -d '' link; do
      echo "    ${link#"$drive_c/"}"
      lnkinfo "$link" | grep -E 'Local path|Command line arguments|Working directory|Icon location' |
        sed 's/^\s*/        /'
    done
  section "Waiting for the next restart (PendingFileRenameOperations, WININIT.INI)"
  local waiting
  waiting=$(pending_operations; [ -n "$(wininit)" ] && tr -d '\r' < "$(wininit)")
  if [ -n "$waiting" ]; then echo "$waiting" | indent; else echo "    nothing"; fi
}

# --- 1. fresh installation, with the shared runtime in use ------------------------------
printf 'Lumen shared runtime 1.0\r\n' > "$sysdir/lumenrt.dll"
before=$(dirname "$prefix")/demo-before.txt
machine_snapshot "$drive_c" > "$before"
"$WINE" "$bin/lumen.exe" --hold "C:\\windows\\$system\\lumenrt.dll" 600 >/dev/null 2>&1 &
holder=$!
for _ in $(seq 100); do [ -f "$sysdir/lumenrt.dll.held" ] && break; sleep 0.1; done
section "Another program is using C:\\windows\\$system\\lumenrt.dll"
status=0
install 3010 || status=1
show_machine
if [ -n "${QXI_DEMO_FIRST_ONLY:-}" ]; then
  touch "$sysdir/lumenrt.dll.release"
  wait $holder
  exit $status
fi

# --- 2. the restart ---------------------------------------------------------------------
touch "$sysdir/lumenrt.dll.release"
wait $holder
section "Restart: wineboot -r carries out the waiting operations"
"$WINE" wineboot -r >/dev/null 2>&1
echo "    lumenrt.dll now: $(tr -d '\r' < "$sysdir/lumenrt.dll")"
echo "    operations waiting now: $(pending_operations | wc -l)"

# --- 3. second run: the upgrade path ----------------------------------------------------
section "Second run: EvaluateCondition sees the earlier installation"
for name in Installed SameVersion HasIni HasNotesPath; do
  echo "    $name = $(wine_run "$bin/qxirun.exe" --eval "$(winpath "$medium/setup.qxs")" $name | tr -d '\r')"
done
install 0 || status=1
show_machine

# --- 4. the uninstallation --------------------------------------------------------------
section "The uninstall entry (HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumen Notes, 32-bit view)"
"$WINE" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumen Notes' /reg:32 |
  grep -v '^HKEY' | indent
section "The uninstaller's folder, C:\\Program Files\\Lumen Notes\\Uninstall"
(cd "$app/Uninstall" && find . -type f -printf '%P\n' | LC_ALL=C sort) | indent
section "The uninstall script the setup made from the journal of both runs"
indent < "$app/Uninstall/uninstall.qxs"
log=$(dirname "$prefix")/demo-uninstall.log
rm -f "$log"
section "Uninstalling: a deployment tool runs QuietUninstallString, with /LOG=uninstall.log"
result=$(wine_run "$bin/deployment_tool.exe" uninstall "Lumen Notes" "/LOG=$(winpath "$log")" | tr -d '\r')
indent < "$log"
echo "$result" | indent
[ "$(echo "$result" | grep '^exit status: ')" = "exit status: 0" ] || status=1
# changes: what differs from the machine before the first installation, "-" before, "+" now.
changes() {
  diff "$before" <(machine_snapshot "$drive_c") | sed -n 's/^< /-/p; s/^> /+/p' | LC_ALL=C sort | indent
}
section "What differs from the machine before the first installation"
changes
"$WINE" wineboot -r >/dev/null 2>&1
section "After the restart (wineboot -r), what differs from the machine before the first installation"
changes
section "Why"
indent <<'WHY'
lumenrt.dll was there before the first installation, which wrote over it: its earlier
content was not kept, so the uninstallation leaves the newer one. firstrun.txt and
firstrun.old (and so their folder) were written by lumen.exe --first-run, which the script
started: what a started program does is not in the journal.
WHY
"$root/cmake/wine-prefix.sh" stop "$prefix" "$arch"
exit $status
