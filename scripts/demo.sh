#!/usr/bin/env bash
# demo.sh: the demo installation. Builds QXI.dll, the hosts, qxzpack, qxicheck, the setup stub,
# the demo application and (for Linux) qxibundle, packs the payload, checks the script, makes
# the medium one setup.exe, then installs Lumen Notes with it in a fresh Wine prefix twice (a
# fresh install with a file in use, the restart, an upgrade), showing the log and what changed.
# demo.sh SCRIPT [SECTION]: runs another script (section default Setup) with qxirun in the
# script's folder, in a fresh prefix, instead.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

# The product is the 32-bit build. Where 32-bit Wine cannot run (kernels without 32-bit
# program support), the same code built for x86-64 runs under 64-bit Wine instead.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then preset=win32; else preset=win64; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target QXI qxirun qxzpack qxicheck lumen >/dev/null
bin="$root/build/$preset/bin"
prefix="$root/build/demo-prefix"

if [ $# -eq 0 ]; then
  cmake --build --preset "$preset" --target qxistub qxibundle deployment_tool >/dev/null
  # The setup is made on Linux, as an author's build machine would make it.
  cmake --preset native >/dev/null
  cmake --build --preset native --target qxibundle >/dev/null
  exec "$root/examples/demo/run_demo.sh" "$bin" "$prefix" "$preset" "$root/build/native/bin/qxibundle"
fi

script=$(realpath "$1")
section=${2:-Setup}
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
