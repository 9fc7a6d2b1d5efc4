#!/usr/bin/env bash
# demo_round_trip_test.sh BIN PREFIX ARCH: installs the demo as its run_demo.sh does (a fresh
# installation while the shared runtime is in use, the restart, the upgrade), both runs with
# one journal, then makes the uninstall script from that journal and runs it; the machine
# must be as it was before, except for what the list below names, each with its reason.
# The snapshot: every file and folder under C:\ (with its size and content) outside the
# Windows folder, and there the INI files, the restart files and the shared runtime; the
# registry keys the demo touches; the operations waiting for the restart.
set -u
bin=$(realpath "$1") prefix=$(realpath -m "$2") arch=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/cmake/wine-env.sh"
work=$(mktemp -d)
trap '"$root/cmake/wine-prefix.sh" remove "$prefix" "$arch"; rm -rf "$work"' EXIT
winpath() { echo "Z:$(realpath -m "$1" | tr / '\\')"; }
wine_run() { "$root/cmake/wine-run.sh" "$prefix" "$arch" "$@"; }
drive_c=$prefix/drive_c

"$root/cmake/wine-prefix.sh" stop "$prefix" "$arch"
rm -rf "$prefix" "$prefix.lock"
"$root/cmake/wine-prefix.sh" start "$prefix" "$arch" || exit 1
wine_env "$prefix" "$arch"
medium=$work/medium
"$root/examples/demo/build_medium.sh" "$bin" "$prefix" "$arch" "$medium" >"$work/medium.log" 2>&1 ||
  { cat "$work/medium.log"; exit 1; }
printf 'Lumen shared runtime 1.0\r\n' >"$drive_c/windows/system32/lumenrt.dll"

snapshot() {
  (cd "$drive_c" && find . -mindepth 1 -path ./windows -prune -o -print &&
     find ./windows -maxdepth 1 \( -iname '*.ini' -o -iname 'wininit.*' \) &&
     find ./windows/system32 -maxdepth 1 -name lumenrt.dll) | LC_ALL=C sort |
    while IFS= read -r path; do
      if [ -d "$drive_c/$path" ]; then echo "folder ${path#./}"
      else echo "file ${path#./} $(md5sum <"$drive_c/$path" | cut -c1-12)"; fi
    done
  for key in 'HKLM\Software\Lumen' 'HKCU\Software\Lumen' 'HKLM\Software\Brenvale'; do
    echo "key $key"
    "$WINE" reg query "$key" /s 2>/dev/null | tr -d '\r' | grep -v '^$'
  done
  echo "restart operations"
  "$WINE" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
    /v PendingFileRenameOperations 2>/dev/null | tr -d '\r' | grep -v '^$'
}

install() {
  (cd "$medium" && wine_run "$bin/qxirun.exe" --quiet --journal "$(winpath "$work/journal.txt")" \
     "$(winpath "$medium/setup.qxs")" Setup) || { echo "FAIL: installation $1 logged errors"; exit 1; }
}

snapshot >"$work/before"
# 1. The fresh installation while another program holds the runtime; 2. the restart.
"$WINE" "$bin/lumen.exe" --hold 'C:\windows\system32\lumenrt.dll' 600 >/dev/null 2>&1 &
holder=$!
for _ in $(seq 100); do [ -f "$drive_c/windows/system32/lumenrt.dll.held" ] && break; sleep 0.1; done
install 1
touch "$drive_c/windows/system32/lumenrt.dll.release"
wait $holder
"$WINE" wineboot -r >/dev/null 2>&1
# 3. The upgrade over it, into the same journal.
install 2
snapshot >"$work/installed"

wine_run "$bin/qxirun.exe" --make-uninstall "$(winpath "$work/journal.txt")" \
  "$(winpath "$work/uninstall.qxs")" || { echo "FAIL: --make-uninstall"; exit 1; }
wine_run "$bin/qxirun.exe" --quiet "$(winpath "$work/uninstall.qxs")" Uninstall >"$work/uninstall.log" 2>&1 ||
  { echo "FAIL: the uninstall script logged errors"; cat "$work/uninstall.log"; exit 1; }
snapshot >"$work/after"

# What differs, each line with its reason:
#  - the shared runtime was in the system folder before and the installation wrote over it
#    (at the restart): its earlier content was not kept, so the uninstallation leaves it;
#  - firstrun.txt and firstrun.old, and with them the application's folder: lumen.exe
#    --first-run, which RunApp started, wrote firstrun.txt each time; what a started program
#    does is not in the journal (the upgrade moved the first one to firstrun.old, and
#    MoveFileBack leaves it, since a firstrun.txt stands there again);
expected_changes() {
  local app='Program Files/Lumen Notes'
  local firstrun=$(md5sum <"$drive_c/$app/firstrun.txt" | cut -c1-12)
  local old=$(md5sum <"$drive_c/$app/firstrun.old" | cut -c1-12)
  local runtime=$(md5sum <"$drive_c/windows/system32/lumenrt.dll" | cut -c1-12)
  local before_runtime=$(printf 'Lumen shared runtime 1.0\r\n' | md5sum | cut -c1-12)
  printf '%s\n' "-file windows/system32/lumenrt.dll $before_runtime" \
    "+file windows/system32/lumenrt.dll $runtime" \
    "+folder $app" "+file $app/firstrun.old $old" "+file $app/firstrun.txt $firstrun"
}
diff "$work/before" "$work/after" | sed -n 's/^< /-/p; s/^> /+/p' | LC_ALL=C sort >"$work/changes"
expected_changes | LC_ALL=C sort >"$work/expected"
failures=0
if ! diff -u "$work/expected" "$work/changes"; then
  echo "FAIL: the machine after the uninstallation differs from before it otherwise than listed"
  failures=1
fi
# The installations did change all this (the round trip is not empty).
for text in "file Program Files/Lumen Notes/lumen.exe" "folder Program Files/Lumen Notes/templates" \
            "file windows/lumen.ini" "Lumen Notes.lnk" "key HKLM\\Software\\Lumen" "SetupCount" \
            "Priorities"; do
  grep -qF -- "$text" "$work/installed" || { echo "FAIL: not installed: $text"; failures=1; }
done
grep -q '^Run	' "$work/journal.txt" && [ "$(grep -c '^Run	' "$work/journal.txt")" -eq 2 ] ||
  { echo "FAIL: the journal does not hold both runs"; failures=1; }
[ $failures -eq 0 ] || { echo "--- uninstall script"; tr -d '\r' <"$work/uninstall.qxs"; exit 1; }
echo "demo round trip: the uninstallation left only the listed differences"
