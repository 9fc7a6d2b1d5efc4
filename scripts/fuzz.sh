#!/usr/bin/env bash
# fuzz.sh [SECONDS]: runs every libFuzzer target of the native build for SECONDS (default 60)
# from its seed corpus, as many at a time as there are processors. Fails on any finding.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
[ "$seconds" -gt 0 ] || exit 0
fuzz_bin="$root/build/native/fuzz"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

targets=()
for seeds in "$root"/fuzz/corpus/*/; do
  name=$(basename "$seeds")
  [ -x "$fuzz_bin/$name" ] || { echo "fuzz: $name is not built" >&2; exit 1; }
  targets+=("$name")
done

run_one() {  # run_one NAME: fuzzes into a scratch corpus; the seeds stay untouched
  local name=$1
  mkdir -p "$work/$name"
  if (cd "$work" && "$fuzz_bin/$name" "$work/$name" "$root/fuzz/corpus/$name" \
        -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        >"$work/$name.log" 2>&1); then
    echo "fuzz: $name clean ($(grep -o 'Done [0-9]* runs' "$work/$name.log" | tail -1))"
  else
    echo "fuzz: $name FOUND A PROBLEM" >&2
    tail -40 "$work/$name.log" >&2
    return 1
  fi
}

echo "=== fuzzing ${#targets[@]} targets for $seconds s each"
failed=0
pids=()
slots=$(nproc)
for name in "${targets[@]}"; do
  run_one "$name" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$slots" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit $failed
