#!/usr/bin/env bash
# demo.sh [SCRIPT [SECTION]]: builds QXI.dll and qxirun, creates a fresh Wine prefix and runs
# the master section (default Setup) of SCRIPT (default examples/hello/setup.qxs) with
# qxirun in the script's folder, showing the progress and every logged failure.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
script=$(realpath "${1:-$root/examples/hello/setup.qxs}")
section=${2:-Setup}
"$root/scripts/install-deps.sh"

# The product is the 32-bit build. Where 32-bit Wine cannot run (kernels without 32-bit
# program support), the same code built for x86-64 runs under 64-bit Wine instead.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then preset=win32; else preset=win64; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target qxirun QXI >/dev/null
bin="$root/build/$preset/bin"

prefix="$root/build/demo-prefix"
"$root/cmake/wine-prefix.sh" stop "$prefix" "$preset" 2>/dev/null || true
rm -rf "$prefix"
echo "=== fresh Wine prefix $prefix ($preset)"
"$root/cmake/wine-prefix.sh" start "$prefix" "$preset"

echo "=== qxirun $(basename "$script") $section"
status=0
(cd "$(dirname "$script")" &&
   "$root/cmake/wine-run.sh" "$prefix" "$preset" "$bin/qxirun.exe" \
     "Z:$(echo "$script" | tr / '\\')" "$section") || status=$?
"$root/cmake/wine-prefix.sh" stop "$prefix" "$preset"
exit $status
