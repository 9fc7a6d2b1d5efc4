#!/usr/bin/env bash
# mutation.sh [CASES [SEED]]: the full mutation run (default 100000 cases, seed 1) of the
# example scripts and archives through the real QXI.dll under Wine, in throw-away prefixes of
# 5000 cases each. A crash, a hang or an empty log line fails it, naming the case. The
# short run (1000 cases) is part of the tests.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cases=${1:-100000}
seed=${2:-1}
"$root/scripts/install-deps.sh"
if /usr/lib/wine/wine --version >/dev/null 2>&1; then preset=win32; else preset=win64; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target QXI mutation_harness >/dev/null
exec "$root/tests/robustness/run_mutation.sh" "$root/build/$preset/bin" "$preset" \
  "$root/build/mutation" "$seed" "$cases" 5000 \
  "$root"/examples/hello/*.qxs "$root/examples/demo/setup.qxs" \
  "$root"/fuzz/corpus/script_fuzz/* "$root"/fuzz/corpus/qxz_reader_fuzz/*
