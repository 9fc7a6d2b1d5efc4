#!/usr/bin/env bash
# run_mutation.sh BIN ARCH WORKDIR SEED CASES CHUNK SEEDFILE...: the mutation run through the
# real QXI.dll under Wine. CASES cases of run SEED go in chunks of CHUNK, each chunk in a fresh
# throw-away Wine prefix under WORKDIR whose Z: drive (the host's whole file system) is
# removed, so that mutated scripts can only touch the prefix. A crash, a hang or an empty log
# line fails the run, naming the case (rerun it with FIRST=case, CASES=1).
set -u
bin=$1 arch=$2 work=$3 seed=$4 cases=$5 chunk=$6
shift 6
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/cmake/wine-env.sh"
mkdir -p "$work"
work=$(realpath "$work")
prefix=$work/prefix
first=${QXI_MUTATION_FIRST:-0}
end=$((first + cases))
failed=0
started=$(date +%s)

while [ "$first" -lt "$end" ]; do
  n=$(( end - first < chunk ? end - first : chunk ))
  wine_fresh_prefix "$prefix" "$arch"
  harness=$prefix/drive_c/harness
  mkdir -p "$harness/seeds"
  cp "$bin/mutation_harness.exe" "$bin/QXI.dll" "$harness/"
  seeds=()
  i=0
  for file in "$@"; do
    cp "$file" "$harness/seeds/seed$i"
    seeds+=("C:\\harness\\seeds\\seed$i")
    i=$((i + 1))
  done
  (cd "$prefix/drive_c" &&
     "$WINE" 'C:\harness\mutation_harness.exe' "$seed" "$first" "$n" 'C:\harness\sandbox' \
       "${seeds[@]}" > "$work/chunk.out" 2>&1 </dev/null)
  status=$?
  tr -d '\r' < "$work/chunk.out"
  if [ $status -ne 0 ]; then
    echo "FAIL: exit status $status in cases $first..$((first + n - 1)); case in hand:" \
         "$(tr -d '\r' < "$harness/current.txt" 2>/dev/null)"
    failed=1
  fi
  wineserver -k >/dev/null 2>&1
  first=$((first + n))
done
rm -rf "$prefix"
echo "mutation run: seed $seed, $cases cases in $(( $(date +%s) - started )) s"
exit $failed
