#!/usr/bin/env bash
# Builds every preset and runs all tests: the system-free parts natively with sanitizers, the
# Windows build under Wine, the 32-bit product itself (scripts/test-win32.sh, under emulation
# where the kernel cannot start 32-bit programs), then each libFuzzer target for a bounded time.
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
# After the 64-bit suite: under emulation, prefixes made meanwhile would set up slowly.
"$root/scripts/test-win32.sh"

"$root/scripts/fuzz.sh" "${QXI_FUZZ_SECONDS:-60}"
echo "=== all tests passed"
