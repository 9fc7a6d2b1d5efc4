#!/usr/bin/env bash
# screenshot.sh BIN_DIR OUTPUT.png [ARCH]: takes a picture of a setup made by qxibundle at
# work, for the docs. Makes a setup of an example folder with BIN_DIR's qxibundle.exe (an
# example that fails one line and then waits for a program, so that the window is caught
# mid-run), starts it on a virtual display in a fresh Wine prefix, grabs the screen and stops
# everything it started. ARCH is win64 (default) or win32, matching BIN_DIR's build. Needs
# xvfb-run, Wine and imagemagick's import.
set -eu
bin=$(cd "$1" && pwd) output=$2 arch=${3:-win64}
case $output in /*) ;; *) output=$PWD/$output ;; esac
cmake_dir=$(cd "$(dirname "$0")/../../cmake" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/example"
cat >"$work/example/setup.qxs" <<'SCRIPT'
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
sed -i 's/$/\r/' "$work/example/setup.qxs"

cat >"$work/on-display.sh" <<'INNER'
#!/usr/bin/env bash
# Runs inside xvfb-run: everything Wine starts belongs to this display.
set -u
cmake_dir=$1 prefix=$2 arch=$3 bin=$4 work=$5 output=$6
"$cmake_dir/wine-prefix.sh" start "$prefix" "$arch" || exit 1
. "$cmake_dir/wine-env.sh"
wine_env "$prefix" "$arch"
# The example's CopyFiles line is a mistake on purpose: --force builds it all the same.
"$WINE" "$bin/qxibundle.exe" --out "Z:$(echo "$work/setup.exe" | tr / '\\')" --name Example \
  --version 2.0 --publisher "Example Software" --install-dir 'C:\Example' --force \
  "Z:$(echo "$work/example" | tr / '\\')" >/dev/null 2>&1 || exit 1
# A Wine desktop window draws the frames and title bars that a window manager would.
"$WINE" explorer /desktop=QxiSetup,640x440 "Z:$(echo "$work/setup.exe" | tr / '\\')" >/dev/null 2>&1 &
sleep 15  # the window is up and the script waits for its program
import -window root "$output"
"$cmake_dir/wine-prefix.sh" stop "$prefix" "$arch"
wait
INNER
chmod +x "$work/on-display.sh"
xvfb-run -a -s "-screen 0 640x440x24" "$work/on-display.sh" "$cmake_dir" "$work/prefix" "$arch" \
  "$bin" "$work" "$output"
echo "saved $output"
