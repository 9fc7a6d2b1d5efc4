#!/usr/bin/env bash
# reference_examples_test.sh BIN PREFIX ARCH ROOT: runs every command example of
# docs/script-reference.md through qxirun in a Wine prefix of its own. Each example line goes
# into a command section of its group (taken from the "### GROUP group" heading above it);
# the Conditions examples form the Conditions section. The run may report failures of the
# system (the examples name files this prefix does not have), but never one of the script
# itself: no line may be refused as a syntax error, an unknown command, a bad root key, a
# missing section or an undefined condition.
# The examples that show a window or end the session (MessageBox, Reboot, Logoff, Shutdown)
# cannot run here; they must be lines that the message box and system tests run as they stand.
set -u
bin=$1 prefix=$(realpath -m "$2") arch=$3 root=$4
reference=$root/docs/script-reference.md
work=$(mktemp -d)
trap 'rm -rf "$work"; "$root/cmake/wine-prefix.sh" remove "$prefix" "$arch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$(dirname "$0")/reference_examples.sh" "$reference" "$work"

count=$(wc -l < "$work/examples")
[ "$count" -ge 30 ] || fail "only $count examples found in the reference"
for command in CopyFile ExtractQXZ MakeDir DelFile DelDir CreateFile RenameFile MoveFile \
               CreateShortcut CreateSection DeleteSection DeleteKey AppendLine SetKey AppendKey \
               NOP RunApp Include CreateKey DeleteValue IncValue SetSzValue SetDwValue \
               SetBinValue RegisterPriority MessageBox Reboot Logoff Shutdown RemoveFile \
               RemoveSharedFile RemoveEmptyDir MoveFileBack RemoveLine RemoveEmptySection \
               RemoveEmptyIniFile RemoveValue RemoveEmptyKey RestorePriority; do
  grep -qP "\t$command( |\$)" "$work/examples" || fail "no example of $command"
done

# The window and session examples, run by other tests exactly as written here.
while IFS=$'\t' read -r group line; do
  case $line in
    MessageBox*)
      source=$root/src/system/message_box_test.cpp
      quoted=${line//\"/\\\"}  # as the test's C++ text writes it
      grep -qF -- "$quoted" "$source" || fail "example not run by message_box_test: $line" ;;
    Reboot*|Logoff*|Shutdown*)
      grep -qF -- "\\n$line" "$root/src/system/misc_commands_test.cpp" ||
        fail "example not run by system_test: $line" ;;
  esac
done < "$work/examples"

"$root/cmake/wine-prefix.sh" stop "$prefix" "$arch"
rm -rf "$prefix" "$prefix.lock"
"$root/cmake/wine-prefix.sh" start "$prefix" "$arch" || exit 1
# What the examples install from: a CD-ROM at D: (where $CDROM$ points when the machine has
# none) and a build folder on C:.
cd_rom=$work/cd
mkdir -p "$cd_rom/disk1" "$cd_rom/extras" "$prefix/drive_c/Build/help"
printf 'MZ hello\r\n' > "$cd_rom/disk1/hello.exe"
printf 'MZ hellolib\r\n' > "$cd_rom/disk1/hellolib.dll"
printf '<html>Hello</html>\r\n' > "$prefix/drive_c/Build/help/index.htm"
printf '[Setup]\r\nMisc Extras\r\n[Extras]\r\n"Extras" 1\r\nNOP\r\n' > "$cd_rom/extras/extras.qxs"
ln -s "$cd_rom" "$prefix/dosdevices/d:"
"$root/cmake/wine-run.sh" "$prefix" "$arch" "$bin/qxzpack.exe" create 'D:\hello.qxz' \
  -C 'D:\disk1' hello.exe > /dev/null || fail "qxzpack could not make the example archive"
"$root/cmake/wine-run.sh" "$prefix" "$arch" "$bin/qxirun.exe" --quiet \
  "Z:$(echo "$work/examples.qxs" | tr / '\\')" Main > "$work/out" 2>&1
tr -d '\r' < "$work/out" > "$work/log"
if grep -E "Syntax error|Unknown command|Enum parameter|Section not found|Undefined condition" \
     "$work/log"; then
  fail "an example was refused (above)"
fi

# The first script of the reference, run as its reader would: saved beside the two files it
# installs and run with qxirun from another folder. quiet.flag beside it skips the message.
kit=$work/kit
mkdir -p "$kit" "$work/elsewhere"
awk '/^## 1\. /{ on = 1 } on && /^```ini$/{ block = 1; next } block && /^```$/{ exit } block' \
  "$reference" | sed 's/$/\r/' > "$kit/setup.qxs"
grep -q '^\[Setup\]' "$kit/setup.qxs" || fail "the first script was not found in the reference"
printf 'MZ hello\r\n' > "$kit/hello.exe"
printf 'Hello 1.0\r\n' > "$kit/readme.txt"
: > "$kit/quiet.flag"
(cd "$work/elsewhere" &&
   "$root/cmake/wine-run.sh" "$prefix" "$arch" "$bin/qxirun.exe" "Z:$(echo "$kit/setup.qxs" | tr / '\\')") \
  > "$work/first.out" 2>&1 || { fail "the first script logged failures:"; cat "$work/first.out"; }
# The engine of the test prefix installs into C:\Program Files: a 64-bit one in a 64-bit
# prefix, a 32-bit one in a 32-bit prefix.
hello="$prefix/drive_c/Program Files/Hello"
cmp -s "$kit/hello.exe" "$hello/hello.exe" || fail "first script: hello.exe not installed"
cmp -s "$kit/readme.txt" "$hello/readme.txt" || fail "first script: readme.txt not installed"
[ "$(tr -d '\r' < "$hello/hello.ini" 2>/dev/null)" = $'[Options]\nLast user="Ann"' ] ||
  fail "first script: hello.ini"
. "$root/cmake/wine-env.sh"
wine_env "$prefix" "$arch"
"$WINE" reg query 'HKLM\Software\Example\Hello' /v InstallDir 2>/dev/null | tr -d '\r' |
  grep -qF 'C:\Program Files\Hello' || fail "first script: registry value"
[ -n "$(find "$prefix/drive_c/users" -path '*Start Menu/Programs/Hello.lnk')" ] ||
  fail "first script: no shortcut in the Programs menu"

ran=$(grep -cE '^(FileCopy|FileOps|INI|Misc|Reg) E[0-9]+' "$work/examples.qxs")
if [ $failures -ne 0 ]; then
  echo "--- script"; cat "$work/examples.qxs"; echo "--- log"; cat "$work/log"
  exit 1
fi
echo "reference examples: $count lines, $ran run, none refused; the first script installs"
