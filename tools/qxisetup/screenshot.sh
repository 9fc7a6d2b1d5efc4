#!/usr/bin/env bash
# screenshot.sh BIN_DIR OUTPUT.png [ARCH] [qxisetup|setup]: takes a picture of qxisetup at
# work for the docs, or of a setup made by qxibundle.exe of the same example (setup). Starts a
# virtual display, creates a fresh Wine prefix, runs the example script, which fails one line
# and then waits for a program (so the window is caught mid-run), grabs the screen, and stops
# everything it started. ARCH is win64 (default) or win32, matching the build that BIN_DIR
# belongs to. Needs xvfb-run, Wine and imagemagick's import.
set -eu
bin=$(cd "$1" && pwd) output=$2 arch=${3:-win64} kind=${4:-qxisetup}
case $output in /*) ;; *) output=$PWD/$output ;; esac
cmake_dir=$(cd "$(dirname "$0")/../../cmake" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The example: a few steps, one unknown command (for the error list), INI settings, and a
# program that takes a good while, waited for with a time-out.
cat >"$work/example.qxs" <<'SCRIPT'
[Setup]
Misc Prepare
INI Settings
Misc Register

[Prepare]
"Preparing the installation" 4
NOP
NOP
CopyFiles "C:\setup" "$PROGS$\Example"
NOP

[Settings]
"Writing settings" 2
SetKey "C:\windows\example.ini" Options Installed yes
SetKey "C:\windows\example.ini" Options Version 2

[Register]
"Registering components" 3
NOP
RunApp "ping -n 40 127.0.0.1" "C:\windows" 30000
NOP
SCRIPT
sed -i 's/$/\r/' "$work/example.qxs"

cat >"$work/on-display.sh" <<'INNER'
#!/usr/bin/env bash
# Runs inside xvfb-run: everything Wine starts belongs to this display.
set -u
cmake_dir=$1 prefix=$2 arch=$3 bin=$4 script=$5 output=$6 kind=$7
"$cmake_dir/wine-prefix.sh" start "$prefix" "$arch" || exit 1
# The script sits where a setup medium would put it.
mkdir -p "$prefix/drive_c/setup"
cp "$script" "$prefix/drive_c/setup/example.qxs"
. "$cmake_dir/wine-env.sh"
wine_env "$prefix" "$arch"
program=("$bin/qxisetup.exe" 'C:\setup\example.qxs')
if [ "$kind" = setup ]; then
  # The same script as the setup folder's setup.qxs; its mistake is on purpose, and --force
  # builds the setup all the same.
  mkdir -p "$prefix/drive_c/example"
  mv "$prefix/drive_c/setup/example.qxs" "$prefix/drive_c/example/setup.qxs"
  "$WINE" "$bin/qxibundle.exe" --out 'C:\setup\setup.exe' --name Example --version 2.0 \
    --publisher "Example Software" --install-dir 'C:\Example' --force 'C:\example' >/dev/null 2>&1 || exit 1
  program=('C:\setup\setup.exe')
fi
# A Wine desktop window draws the frames and title bars that a window manager would.
"$WINE" explorer /desktop=QxiSetup,640x440 "${program[@]}" >/dev/null 2>&1 &
sleep 15  # the window is up and the script waits for its program
import -window root "$output"
"$cmake_dir/wine-prefix.sh" stop "$prefix" "$arch"
wait
INNER
chmod +x "$work/on-display.sh"
xvfb-run -a -s "-screen 0 640x440x24" "$work/on-display.sh" "$cmake_dir" "$work/prefix" "$arch" \
  "$bin" "$work/example.qxs" "$output" "$kind"
echo "saved $output"
