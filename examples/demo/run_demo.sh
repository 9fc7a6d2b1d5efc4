#!/usr/bin/env bash
# run_demo.sh BIN PREFIX ARCH: builds the demo's installation medium from the programs in BIN
# (QXI.dll, qxirun.exe, qxzpack.exe, qxicheck.exe, lumen.exe), checks its script with
# qxicheck, installs Lumen Notes twice in the Wine prefix PREFIX (made fresh) and shows what
# each run changed on the machine:
#   1. a fresh installation, while another program keeps the shared runtime in use;
#   2. the restart that replaces the runtime;
#   3. a second installation, which finds the first and takes the upgrade path.
# Exit status: 0 when both runs logged no error.
# QXI_DEMO_FIRST_ONLY=1 runs only the first installation, in PREFIX as it is (not made afresh).
# A 32-bit QXI.dll in BIN with ARCH win64 is the product in a 64-bit prefix (as on 64-bit
# Windows; scripts/test-win32.sh runs it so): its programs see syswow64 as the system folder
# and the 32-bit view of the registry, and the demo looks there.
set -u
bin=$(realpath "$1") prefix=$(realpath -m "$2") arch=$3
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$root/cmake/wine-env.sh"

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

install() {
  section "qxirun setup.qxs Setup"
  (cd "$medium" && wine_run "$bin/qxirun.exe" "$(winpath "$medium/setup.qxs")" Setup)
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
"$WINE" "$bin/lumen.exe" --hold "C:\\windows\\$system\\lumenrt.dll" 600 >/dev/null 2>&1 &
holder=$!
for _ in $(seq 100); do [ -f "$sysdir/lumenrt.dll.held" ] && break; sleep 0.1; done
section "Another program is using C:\\windows\\$system\\lumenrt.dll"
status=0
install || status=1
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
install || status=1
show_machine
"$root/cmake/wine-prefix.sh" stop "$prefix" "$arch"
exit $status
