#!/usr/bin/env bash
# probe_extras.sh [ROUNDS]: where the fixed cost of the install benchmark's extras goes. Runs
# qxirun.exe with one kind of extras line at a time (after the folder they need), and with a
# single NOP line for the start-up alone, ROUNDS times each (default 3), in the prefix of
# run.sh, and prints each time. Needs build/bench-install from a run of run.sh.
set -eu
rounds=${1:-3}
root=$(cd "$(dirname "$0")/../.." && pwd)
arch=win64
work=$root/build/bench-install
prefix=$work/wineprefix
extras=$work/installers/extras.qxs
[ -f "$extras" ] || { echo "probe_extras: run bench/install/run.sh first" >&2; exit 1; }
. "$root/cmake/wine-env.sh"
"$root/cmake/wine-prefix.sh" start "$prefix" "$arch"
trap '"$root/cmake/wine-prefix.sh" stop "$prefix" "$arch"' EXIT
wine_env "$prefix" "$arch"
script=$work/probe.qxs
# The first Wine program of a prefix starts Wine's own services (about 2 s): not timed.
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null

# MASTER_LINES (\r\n-separated): a script running those lines over the extras' sections.
make_script() {
  { printf '[Setup]\r\n%b' "$1"; sed -n '/^\[Folders\]/,$p' "$extras"
    printf '[Nop]\r\n"Nop" 1\r\nNOP\r\n'; } | sed 's/@DEST@/C:\\bench\\probe/g' >"$script"
}

for lines in 'Misc Nop' 'FileOps Folders\r\nReg Registry' 'FileOps Folders\r\nINI Ini' \
             'FileOps Folders\r\nFileOps Shortcuts'; do
  make_script "$lines\r\n"
  for round in $(seq "$rounds"); do
    rm -rf "$prefix/drive_c/bench/probe"
    start=$(date +%s.%N)
    "$WINE" "$root/build/$arch/bin/qxirun.exe" --quiet "Z:$(echo "$script" | tr / '\\')" Setup \
      >"$work/probe.log" 2>&1 </dev/null || { cat "$work/probe.log" >&2; exit 1; }
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" -v l="${lines//\\r\\n/, }" -v r="$round" \
      'BEGIN { printf "%-36s round %d: %.3f s\n", l, r, b - a }'
  done
done
rm -rf "$prefix/drive_c/bench/probe" "$script" "$work/probe.log"
