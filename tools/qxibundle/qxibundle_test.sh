#!/usr/bin/env bash
# qxibundle_test.sh BIN PREFIX ARCH ROOT [NATIVE_QXIBUNDLE]: setups made by qxibundle, run
# under Wine in prefixes of their own. Each exit status a deployment tool reads (0, 1, 3010,
# 2), the /LOG file's lines, a script with errors refused by qxibundle's check (and built with
# --force), a MessageBox answered without a person on a real display, a damaged or cut setup
# refused before it changes anything, the engine taken from the private folder only, the same
# bytes from the same inputs (also from the Linux qxibundle when one is given), the manifest
# and version record read back with the cross binutils, and the uninstaller every run keeps,
# found through its entry (machine-wide and per user): a failing line keeps it, a file in use
# goes at the restart (3010).
set -u
bin=$(realpath "$1") prefix=$(realpath -m "$2") arch=$3 root=$4 native=${5:-}
. "$root/cmake/wine-env.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"; for p in "$prefix" "$prefix-display"; do "$root/cmake/wine-prefix.sh" remove "$p" "$arch"; done' EXIT
winpath() { echo "Z:$(realpath -m "$1" | tr / '\\')"; }
wine_run() { "$root/cmake/wine-run.sh" "$prefix" "$arch" "$@"; }
failures=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok: $name"; else echo "FAILED: $name"; failures=$((failures + 1)); fi
}
plain() { tr -d '\r' < "$1"; }
windres=$([ "$arch" = win64 ] && echo x86_64-w64-mingw32-windres || echo i686-w64-mingw32-windres)
drive_c=$prefix/drive_c

# bundle NAME SCRIPT [OPTIONS...]: a setup folder holding SCRIPT as setup.qxs and a data file
# in a subfolder, made into $work/NAME.exe by qxibundle.exe.
bundle() {
  local name=$1 script=$2; shift 2
  mkdir -p "$work/$name/docs"
  printf '%s' "$script" | sed 's/$/\r/' > "$work/$name/setup.qxs"
  printf 'read me\r\n' > "$work/$name/docs/readme.txt"
  wine_run "$bin/qxibundle.exe" --out "$(winpath "$work/$name.exe")" --name "Bundle Test" \
    --version 1.2.3 --publisher "QXI Team" --install-dir 'C:\Bundle Test' "$@" \
    "$(winpath "$work/$name")" > "$work/$name.build" 2>&1 ||
    { echo "FAILED: qxibundle $name"; cat "$work/$name.build"; exit 1; }
}
private_folders() { find "$drive_c/users" -maxdepth 3 -path '*/Temp/QXI*' | wc -l; }
# run NAME ARGS...: runs $work/NAME.exe from $work as a deployment tool does, its exit status
# in $status, its log in $work/NAME.log.
run() {
  local name=$1; shift
  rm -f "$work/$name.log"
  (cd "$work" && wine_run "$bin/deployment_tool.exe" run "$(winpath "$work/$name.exe")" "$@" \
     "/LOG=$(winpath "$work/$name.log")") > "$work/$name.out" 2> "$work/$name.err"
  status=$(tr -d '\r' < "$work/$name.out" | sed -n 's/^exit status: //p')
}

ini='$WINDIR$\bundle.ini'
bundle clean "[Setup]
Misc Hello
FileCopy Files
INI Settings
[Hello]
\"Hello\" 2
MessageBox \"Welcome to the bundle\" Greeting
NOP
[Files]
\"Files\" 9
CopyFile docs \"C:\\Bundle Test\" readme.txt N 0
[Settings]
\"Settings\" 2
SetKey $ini Main Installed yes
SetKey $ini Main From \$SCRIPTDIR\$"

# --- 2: bad switches, a damaged or cut setup; nothing changes -------------------------------
run clean /S /X
check "an unknown switch exits 2" test "$status" -eq 2
check "and says which" grep -q '^Setup: unknown switch /X' "$work/clean.err"
listing=$(cd "$work" && wine_run "$bin/qxibundle.exe" --list "$(winpath "$work/clean.exe")" | tr -d '\r')
field() { PART=$1 NAME=$2 awk '$1 == ENVIRON["PART"] && $NF == ENVIRON["NAME"] { print $2; exit }' <<<"$listing"; }
checksum_at=$(awk '$1 == "image" { print $NF }' <<<"$listing")
crc_at=$(awk '$1 == "trailer" { print $NF }' <<<"$listing")
usage_at=$(grep -abo 'Switches:' "$work/clean.exe" | head -1 | cut -d: -f1)
version_at=$(grep -aboP 'Q\x00X\x00I\x00 \x00T\x00e\x00a\x00m' "$work/clean.exe" | head -1 | cut -d: -f1)
engine_at=$(( $(field engine QXI.dll) + 5000 ))
file_at=$(( $(field file 'docs\readme.txt') + 30 ))
size=$(stat -c %s "$work/clean.exe")
flip() {  # flip NAME OFFSET: a copy of clean.exe with bit 2 of the byte at OFFSET flipped
  cp "$work/clean.exe" "$work/$1.exe"
  local byte; byte=$(od -An -tu1 -j "$2" -N1 "$work/clean.exe" | tr -d ' ')
  printf "$(printf '\\%03o' $(( byte ^ 4 )))" | dd of="$work/$1.exe" bs=1 seek="$2" conv=notrunc 2>/dev/null
}
for damage in "stub-text $usage_at" "version-record $version_at" "engine $engine_at" \
              "setup-file $file_at" "checksum-field $checksum_at" "trailer-crc $crc_at"; do
  set -- $damage
  flip "damaged-$1" "$2"
  run "damaged-$1" /S
  check "a bit flipped in the $1 (byte $2) exits 2" test "$status" -eq 2
  check "and says the setup is damaged" grep -q '^Setup: the setup file is damaged: ' "$work/damaged-$1.err"
done
payload_at=$(awk '$1 == "settings" { print $2 }' <<<"$listing")
for cut in "payload $(( (payload_at + size) / 2 ))" "trailer $(( size - 40 ))" "last-byte $(( size - 1 ))"; do
  set -- $cut
  head -c "$2" "$work/clean.exe" > "$work/cut-$1.exe"
  run "cut-$1" /S
  check "a setup cut in its $1 exits 2" test "$status" -eq 2
done
check "nothing was installed by a refused setup" test ! -e "$drive_c/windows/bundle.ini" -a ! -e "$drive_c/Bundle Test"
check "no private folder was made" test "$(private_folders)" -eq 0

# --- 0: a clean silent run -----------------------------------------------------------------
# A planted QXI.dll beside the setup and in the current folder is never loaded.
echo 'not a DLL' > "$work/QXI.dll"
run clean /S
check "a clean run exits 0" test "$status" -eq 0
check "the file in the setup folder's subfolder was copied" cmp -s "$work/clean/docs/readme.txt" "$drive_c/Bundle Test/readme.txt"
check "the INI key was set" grep -q '^Installed=yes' "$drive_c/windows/bundle.ini"
check "the script ran in the private folder" \
  grep -qE '^From=C:\\users\\[^\\]+\\Temp\\QXI[0-9A-F]{8}\\setup$' <(plain "$drive_c/windows/bundle.ini")
check "the private folder is gone" test "$(private_folders)" -eq 0
plain "$work/clean.log" > "$work/clean.log.plain"
check "the log opens with the product" test "$(head -1 "$work/clean.log.plain")" = "Bundle Test Setup 1.2.3"
check "the message box was logged and answered" grep -qx 'Message box (answered OK): Greeting: Welcome to the bundle' "$work/clean.log.plain"
check "the log has the summary" grep -qx 'Errors logged: 0' "$work/clean.log.plain"
check "and the exit status" test "$(tail -2 "$work/clean.log.plain" | tr '\n' '|')" = "Restart needed: no|Exit status: 0|"
rm -f "$work/QXI.dll"

# --- 1: a failing line, reported with its place; the run goes on ---------------------------
bundle failing "[Setup]
INI Settings
[Settings]
\"Settings\" 2
Bogus
SetKey $ini Main After failure" --force
(cd "$work" && wine_run "$bin/qxibundle.exe" --out "$(winpath "$work/unchecked.exe")" \
   "$(winpath "$work/failing")") > "$work/unchecked.build" 2>&1
check "qxibundle refuses a script the check finds errors in" test $? -eq 1 -a ! -e "$work/unchecked.exe"
check "and says where" grep -qF 'setup.qxs:5: error: Unknown command, section [Settings] line #2' \
  <(plain "$work/unchecked.build")
run failing /S
check "a run with a failing line exits 1" test "$status" -eq 1
check "the line after it ran" grep -q '^After=failure' "$drive_c/windows/bundle.ini"
check "the log names the script and the line" \
  grep -qx 'setup.qxs: Unknown command, section \[Settings\] line #2' <(plain "$work/failing.log")

# --- 3010: a restart asked for, a file in use ----------------------------------------------
bundle restart "[Setup]
Misc Finish
[Finish]
\"Finishing\" 1
Reboot"
run restart /S
check "a script's restart exits 3010" test "$status" -eq 3010
check "the log says the restart waits" grep -qx 'The script asked for a restart: left until the run is over' <(plain "$work/restart.log")
check "the log says a restart is needed" grep -qx 'Restart needed: yes' <(plain "$work/restart.log")

mkdir -p "$drive_c/Bundle Test"
printf 'old\r\n' > "$drive_c/Bundle Test/readme.txt"
wine_env "$prefix" "$arch"
"$WINE" "$bin/lumen.exe" --hold 'C:\Bundle Test\readme.txt' 120 >/dev/null 2>&1 &
holder=$!
for _ in $(seq 100); do [ -f "$drive_c/Bundle Test/readme.txt.held" ] && break; sleep 0.1; done
run clean /S
check "a file in use exits 3010" test "$status" -eq 3010
# restart_records: the operations waiting for the restart, in both of the system's records.
restart_records() {
  "$WINE" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
    /v PendingFileRenameOperations 2>/dev/null | tr -d '\r'
  find "$drive_c/windows" -maxdepth 1 -iname wininit.ini -exec cat {} \;
}
check "the file waits for the restart" grep -q 'Bundle Test\\readme.txt' <(restart_records)
touch "$drive_c/Bundle Test/readme.txt.release"
wait $holder

# --- the uninstaller: one for every run, found through its entry ------------------------------
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Bundle Test'
kept="$drive_c/Bundle Test/Uninstall"
entry_value() {  # entry_value KEY NAME: the value's data as reg shows it, from the 32-bit view
  "$WINE" reg query "$1" /v "$2" /reg:32 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
# uninstall NAME: as a deployment tool uninstalls, with a log; status and log as run's.
uninstall() {
  rm -f "$work/uninstall.log"
  (cd "$work" && wine_run "$bin/deployment_tool.exe" uninstall "$1" "/LOG=$(winpath "$work/uninstall.log")") \
    > "$work/uninstall.out" 2>&1
  status=$(tr -d '\r' < "$work/uninstall.out" | sed -n 's/^exit status: //p')
}
check "the four runs kept one journal" test "$(grep -c '^Run	setup.qxs	Setup' "$kept/journal.txt")" -eq 4
check "the restart the silent run took over is journalled as asked for" grep -q '^ExitWindows	Reboot' "$kept/journal.txt"
check "and one entry that names the uninstaller" \
  test "$(entry_value "$entry" QuietUninstallString)" = '"C:\Bundle Test\Uninstall\uninstall.exe" /S'
check "the entry's publisher" test "$(entry_value "$entry" Publisher)" = "QXI Team"
# The uninstall script is the author's to edit: a line of it fails.
sed -i 's/^\[Uninstall\]\r$/&\nMisc Broken\r/' "$kept/uninstall.qxs"
printf '[Broken]\r\n"Broken" 1\r\nBogus\r\n' >> "$kept/uninstall.qxs"
uninstall "Bundle Test"
check "an uninstallation with a failing line exits 1" test "$status" -eq 1
check "it removed the rest" test ! -e "$drive_c/Bundle Test/readme.txt" -a ! -e "$drive_c/windows/bundle.ini"
check "the entry and the uninstaller stay, to be run again" \
  test "$(entry_value "$entry" DisplayName)" = "Bundle Test" -a -f "$kept/uninstall.exe"
# Installed again (the uninstall script is made afresh from the journal), the file in use
# when the uninstaller runs goes at the restart.
run clean /S
"$WINE" "$bin/lumen.exe" --hold 'C:\Bundle Test\readme.txt' 120 >/dev/null 2>&1 &
holder=$!
for _ in $(seq 100); do [ -f "$drive_c/Bundle Test/readme.txt.held" ] && break; sleep 0.1; done
uninstall "Bundle Test"
check "an uninstallation that leaves a file in use for the restart exits 3010" test "$status" -eq 3010
# A deletion is the name and an empty one; reg shows the strings with \0 between them.
check "the file in use waits for the restart, to be deleted" \
  grep -qE '(\\0| )\\\?\?\\C:\\Bundle Test\\readme\.txt\\0(\\0|$)' <(restart_records)
check "the entry is gone" test -z "$(entry_value "$entry" DisplayName)"
check "the journal and the uninstall script are gone" test ! -e "$kept/journal.txt" -a ! -e "$kept/uninstall.qxs"
touch "$drive_c/Bundle Test/readme.txt.release"
wait $holder

# --- the same inputs, the same bytes -------------------------------------------------------
cp "$work/clean.exe" "$work/first.exe"
touch "$work/clean/setup.qxs" "$work/clean/docs/readme.txt"
bundle clean "$(plain "$work/clean/setup.qxs")"
check "building again gives the same bytes" cmp -s "$work/first.exe" "$work/clean.exe"
if [ -n "$native" ] && [ -x "$native" ]; then
  "$native" --out "$work/native.exe" --name "Bundle Test" --version 1.2.3 --publisher "QXI Team" \
    --install-dir 'C:\Bundle Test' --kit "$bin" "$work/clean" > "$work/native.build" 2>&1
  check "the Linux qxibundle gives the same bytes" cmp -s "$work/first.exe" "$work/native.exe"
else
  echo "note: no Linux qxibundle given; the comparison with it is left out"
fi

# --- manifest and version record, as the cross binutils read them ---------------------------
convert -size 32x32 xc:'#3366cc' "$work/product.ico" 2>/dev/null
bundle peruser "[Setup]" --per-user --name "Per User" --install-dir 'C:\Per User' \
  --icon "$(winpath "$work/product.ico")"
"$windres" -i "$work/clean.exe" -O rc > "$work/clean.rc" 2>&1
"$windres" -i "$work/peruser.exe" -O rc > "$work/peruser.rc" 2>&1
check "the manifest asks for administrator rights" grep -q 'requestedExecutionLevel level=""requireAdministrator""' "$work/clean.rc"
check "a per-user setup runs as invoked" grep -q 'requestedExecutionLevel level=""asInvoker""' "$work/peruser.rc"
for text in 'supportedOS Id=""{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}""' \
            'name=""Microsoft.Windows.Common-Controls"" version=""6.0.0.0""' '>true</dpiAware>'; do
  check "the manifest holds $text" grep -qF "$text" "$work/clean.rc"
done
for text in 'FILEVERSION 1, 2, 3, 0' 'PRODUCTVERSION 1, 2, 3, 0' 'VALUE "CompanyName", "QXI Team"' \
            'VALUE "ProductName", "Bundle Test"' 'VALUE "ProductVersion", "1.2.3"' \
            'VALUE "FileDescription", "Bundle Test Setup"'; do
  check "the version record holds $text" grep -qF "$text" "$work/clean.rc"
done
check "the icon is there" grep -q '^1 GROUP_ICON\|RT_GROUP_ICON' "$work/peruser.rc"
run peruser /S
user_entry='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Per User'
check "a per-user setup registers its uninstaller for the user" \
  test "$(entry_value "$user_entry" UninstallString)" = '"C:\Per User\Uninstall\uninstall.exe"'
check "with the icon" test "$(entry_value "$user_entry" DisplayIcon)" = 'C:\Per User\Uninstall\uninstall.exe,0'
uninstall "Per User"
check "and it uninstalls" test "$status" -eq 0 -a -z "$(entry_value "$user_entry" DisplayName)"

# --- a real display: /S waits for nobody; the window runs to its end -------------------------
cp "$work/clean.exe" "$work/display.exe"
(cd "$work" && timeout 300 "$root/src/system/run_on_display.sh" "$prefix-display" "$arch" \
   "$work/display.exe" /S "/LOG=$(winpath "$work/display.log")") > /dev/null 2>&1
check "with a display, /S runs its MessageBox line without waiting" test $? -eq 0
check "and logs it" grep -qx 'Message box (answered OK): Greeting: Welcome to the bundle' <(plain "$work/display.log")
bundle window "[Setup]
INI Settings
[Settings]
\"Writing settings\" 1
SetKey $ini Window Shown yes"
(cd "$work" && timeout 300 "$root/src/system/run_on_display.sh" "$prefix-display" "$arch" \
   "$bin/qxisetup_driver.exe" "$work/window.exe") > "$work/window.out" 2>&1
status=$?
check "the window run exits 0" test "$status" -eq 0
check "the window says the installation is complete" grep -qx 'status: Installation complete' <(plain "$work/window.out")
check "the window run wrote its key" grep -q '^Shown=yes' "$prefix-display/drive_c/windows/bundle.ini"

echo "$failures failed"
exit $((failures > 0))
