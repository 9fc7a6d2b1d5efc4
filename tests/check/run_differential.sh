#!/usr/bin/env bash
# run_differential.sh BIN ARCH WORKDIR SEED CASES CHUNK ROOT SEEDFILE...: the differential
# test. Every seed script as it is (each of its sections as the master section), then CASES
# mutants of run SEED, go through qxicheck's check and through the real QXI.dll under Wine,
# in chunks of CHUNK cases, each chunk in a fresh throw-away prefix under WORKDIR without the
# Z: drive. The command examples of ROOT/docs/script-reference.md join the seeds as one
# script. Prints what the check missed or foresaw wrongly, and the summed counts; exit
# status 0 when it missed nothing and foresaw nothing wrongly. QXI_DIFFERENTIAL_FIRST=N starts
# at case N instead (without the seeds as they are), to run a failing chunk again.
set -u
bin=$1 arch=$2 work=$3 seed=$4 cases=$5 chunk=$6 root=$7
shift 7
. "$root/cmake/wine-env.sh"
mkdir -p "$work"
work=$(realpath "$work")
prefix=$work/prefix
"$root/tests/docs/reference_examples.sh" "$root/docs/script-reference.md" "$work"
cp "$work/examples.qxs" "$work/reference-examples.qxs"
start=${QXI_DIFFERENTIAL_FIRST:-0}
first=$start
end=$((start + cases))
failed=0
started=$(date +%s)
: >"$work/counts"

while :; do
  n=$(( end - first < chunk ? end - first : chunk ))
  as_is=()
  [ "$first" -eq 0 ] && as_is=(--as-is)
  [ "$n" -gt 0 ] || [ ${#as_is[@]} -gt 0 ] || break
  wine_fresh_prefix "$prefix" "$arch"
  harness=$prefix/drive_c/harness
  mkdir -p "$harness/seeds"
  cp "$bin/differential_harness.exe" "$bin/QXI.dll" "$harness/"
  seeds=()
  for file in "$@" "$work/reference-examples.qxs"; do
    # Seeds keep their names (the scripts include each other by name); a name met twice is
    # told apart by the folder it comes from.
    name=$(basename "$file")
    [ -e "$harness/seeds/$name" ] && name="$(basename "$(dirname "$file")")-$name"
    cp "$file" "$harness/seeds/$name"
    seeds+=("C:\\harness\\seeds\\$name")
  done
  chunk_started=$(date +%s)
  (cd "$prefix/drive_c" &&
     "$WINE" 'C:\harness\differential_harness.exe' "${as_is[@]}" "$seed" "$first" "$n" \
       'C:\harness\sandbox' "${seeds[@]}" > "$work/chunk.out" 2>&1 </dev/null)
  status=$?
  tr -d '\r' < "$work/chunk.out" | grep -v '^counts '
  tr -d '\r' < "$work/chunk.out" | grep '^counts ' >>"$work/counts"
  if [ $status -ne 0 ]; then
    echo "FAIL: exit status $status in cases $first..$((first + n - 1)); case in hand:" \
         "$(tr -d '\r' < "$harness/current.txt" 2>/dev/null)"
    failed=1
  elif ! grep -q '^counts ' "$work/chunk.out"; then
    echo "FAIL: no counts for cases $first..$((first + n - 1)) after" \
         "$(( $(date +%s) - chunk_started )) s: the harness did not finish"
    failed=1
  fi
  wineserver -k >/dev/null 2>&1
  first=$((first + n))
  [ "$first" -lt "$end" ] || break
done
rm -rf "$prefix"
# The counts of the chunks, summed.
awk -v seed="$seed" '{ for (i = 2; i <= 8; ++i) sum[i] += $i }
  END { printf "differential, seed %s: scripts %d, engine reports %d " \
               "(machine-independent %d), matched %d, missed %d, false %d, " \
               "foreseen where conditions hold but not logged %d\n",
               seed, sum[2], sum[3], sum[4], sum[5], sum[6], sum[7], sum[8] }' "$work/counts"
echo "differential run: $(( $(date +%s) - started )) s"
exit $failed
