#!/usr/bin/env bash
# Builds every preset and runs all tests: the system-free parts natively with sanitizers, the
# Windows build under Wine, then each libFuzzer target for a bounded time.
#   QXI_FUZZ_SECONDS  seconds per fuzz target (default 60; 0 skips fuzzing)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh"

jobs=$(nproc)
for preset in native win32 win64; do
  echo "=== $preset: configure, build, test"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  # Most Windows tests spend their time waiting on Wine, not computing: run twice as many.
  ctest --preset "$preset" -j"$((jobs * 2))"
done

"$root/scripts/fuzz.sh" "${QXI_FUZZ_SECONDS:-60}"
echo "=== all tests passed"
