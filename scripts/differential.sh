#!/usr/bin/env bash
# differential.sh [CASES [SEED]]: the long differential run (default 5000 mutants, seed 1):
# every script the project has, as it is and mutated, through qxicheck's check and through
# the real QXI.dll under Wine, in throw-away prefixes of 1000 cases each. Fails when the
# check misses a report of the engine that no machine state decides, or foresees one the
# engine does not log. The short run (300 mutants) is part of the tests.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cases=${1:-5000}
seed=${2:-1}
"$root/scripts/install-deps.sh"
# QXI_PRESET chooses the build; by default the 32-bit one where 32-bit Wine runs.
if [ -n "${QXI_PRESET:-}" ]; then
  preset=$QXI_PRESET
elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
  preset=win32
else
  preset=win64
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target QXI differential_harness >/dev/null
mapfile -t seeds < "$root/build/$preset/differential_seeds.txt"
exec "$root/tests/check/run_differential.sh" "$root/build/$preset/bin" "$preset" \
  "$root/build/differential" "$seed" "$cases" 1000 "$root" "${seeds[@]}"
