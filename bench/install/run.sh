#!/usr/bin/env bash
# run.sh [ROUNDS]: the install benchmark. Installs the payload of make_payload.py into a fresh
# folder of one 64-bit Wine prefix with every variant in turn, ROUNDS times (default 3), the
# order rotated each round, and times each installation as a whole (process start included):
#   qxi-copy   qxirun.exe --quiet, one CopyFile line per file, then the registry, INI and
#              shortcut lines
#   qxi-qxz    qxirun.exe --quiet, one ExtractQXZ line per archive, then the same lines
#   qxi-extras qxirun.exe --quiet, the registry, INI and shortcut lines alone (what the two
#              above spend besides the files)
#   qxi-copy-journal, qxi-extras-journal   the same with --journal: every change recorded
#   xcopy      xcopy /E /I /Q /Y of the files alone: the platform's own copy
#   qxi-bundle the ExtractQXZ script and its archives made into one setup.exe by qxibundle,
#              run with /S (it checks itself, unpacks into a private folder, runs the script,
#              registers its uninstaller and removes the folder)
#   nsis-store, nsis-zlib, nsis-lzma   makensis installers run with /S /D=
# Every installation is checked against the payload (files, sizes, SHA-256; INI keys,
# registry values and shortcuts but for xcopy) and a difference fails the run. The
# preparation (payload, archives, installers) is not timed and is reused when present.
# Results: build/bench-install/times.tsv and the table printed by summarize.py.
# Each variant's source (payload files, archives or installer) is read once, untimed, just
# before its run, so that every variant starts from a warm page cache.
# QXI_BENCH_FILES and QXI_BENCH_MBYTES change the payload (defaults 2000 and 100);
# QXI_BENCH_VARIANTS="qxi-copy qxi-copy-journal" runs only the variants named; with
# QXI_BENCH_OTHER_BIN=DIR the variants other-copy and other-extras run qxirun.exe and QXI.dll
# of DIR (another build, such as main's) the way qxi-copy and qxi-extras run this build's.
set -eu
rounds=${1:-3}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
arch=win64  # the product is the 32-bit build; only 64-bit Wine runs on every machine
bin=$root/build/$arch/bin
work=$root/build/bench-install
prefix=$work/wineprefix
payload=$work/payload
installers=$work/installers
"$root/scripts/install-deps.sh"
. "$root/cmake/wine-env.sh"

winpath() { echo "Z:$(realpath -m "$1" | tr / '\\')"; }
note() { printf '== %s\n' "$*" >&2; }
now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

cmake --preset "$arch" >/dev/null
cmake --build --preset "$arch" --target QXI qxirun qxzpack qxibundle qxistub >/dev/null
mkdir -p "$work" "$installers"

# --- the payload, made once per size -------------------------------------------------------
files=${QXI_BENCH_FILES:-2000} mbytes=${QXI_BENCH_MBYTES:-100}
stamp="$files files, $mbytes MiB, $(sha256sum "$here/make_payload.py" | cut -c1-16)"
if [ "$(cat "$payload/stamp" 2>/dev/null)" != "$stamp" ]; then
  note "making the payload: $stamp"
  rm -rf "$payload" "$installers"/*
  mkdir -p "$payload"
  python3 "$here/make_payload.py" "$payload" --files "$files" --mbytes "$mbytes"
  echo "$stamp" >"$payload/stamp"
fi

# --- a fresh prefix for this run -----------------------------------------------------------
"$root/cmake/wine-prefix.sh" stop "$prefix" "$arch"
rm -rf "$prefix"
"$root/cmake/wine-prefix.sh" start "$prefix" "$arch"
trap '"$root/cmake/wine-prefix.sh" stop "$prefix" "$arch"' EXIT
wine_env "$prefix" "$arch"
mkdir -p "$prefix/drive_c/bench"

# --- archives and installers (timed for information only) ---------------------------------
archives=()
for top in "$payload"/files/*/; do
  top=$(basename "$top")
  archives+=("$(winpath "$installers/$top.qxz")")
  [ -f "$installers/$top.qxz" ] && continue
  start=$(now)
  "$WINE" "$bin/qxzpack.exe" create "$(winpath "$installers/$top.qxz")" \
    -C "$(winpath "$payload/files")" "$top" >"$work/qxzpack.log" 2>&1 ||
    { cat "$work/qxzpack.log" >&2; exit 1; }
  note "qxzpack $top.qxz: $(elapsed "$start") s"
done
python3 "$here/make_installers.py" "$payload" "$installers" "${archives[@]}"
# Made afresh every time, so that it carries the stub and the DLL of this build.
for archive in "$installers"/*.qxz; do ln -f "$archive" "$installers/bundle/"; done
start=$(now)
"$WINE" "$bin/qxibundle.exe" --out "$(winpath "$installers/bundle.exe")" --name "QXI benchmark" \
  --install-dir 'C:\bench\qxi-bundle' "$(winpath "$installers/bundle")" >"$work/qxibundle.log" 2>&1 ||
  { cat "$work/qxibundle.log" >&2; exit 1; }
note "qxibundle bundle.exe: $(elapsed "$start") s"
for compressor in store zlib lzma; do
  [ -f "$installers/$compressor.exe" ] && continue
  start=$(now)
  (cd "$installers" && makensis -V2 "$compressor.nsi" >"$work/makensis.log" 2>&1) ||
    { cat "$work/makensis.log" >&2; exit 1; }
  note "makensis $compressor: $(elapsed "$start") s"
done
{
  echo "# payload: $(awk -F"\t" '{ s += $2 } END { print s }' "$payload/manifest.tsv") bytes in $(wc -l <"$payload/manifest.tsv") files"
  for f in "$installers"/*.qxz "$installers"/*.exe; do echo "# $(basename "$f"): $(stat -c %s "$f") bytes"; done
} >"$work/sizes.txt"

# --- what each variant reads, read once untimed before its run ----------------------------
# Without it a variant whose source other work evicted from the page cache reads it from the
# disk, and the figures rank the cache's luck as much as the installers.
warm() {  # VARIANT
  local sources=()
  case $1 in
    qxi-copy* | other-copy | xcopy) sources=("$payload/files") ;;
    qxi-qxz) sources=("$installers"/*.qxz) ;;
    qxi-bundle) sources=("$installers/bundle.exe") ;;
    nsis-*) sources=("$installers/${1#nsis-}.exe") ;;
  esac
  case $1 in
    qxi-*) sources+=("$bin/qxirun.exe" "$bin/QXI.dll") ;;
    other-*) sources+=("$QXI_BENCH_OTHER_BIN/qxirun.exe" "$QXI_BENCH_OTHER_BIN/QXI.dll") ;;
  esac
  [ ${#sources[@]} -eq 0 ] || find "${sources[@]}" -type f -exec cat {} + >/dev/null
}

# --- one timed installation ----------------------------------------------------------------
install_once() {  # VARIANT ROUND: prints the seconds taken; fails on an error or a difference
  local variant=$1 name="$1-$2" script cmd
  local dest_win="C:\\bench\\$name" dest=$prefix/drive_c/bench/$name
  [ "$variant" = qxi-bundle ] && dest=$prefix/drive_c/bench/qxi-bundle
  case $variant in
    qxi-copy | qxi-qxz | qxi-extras | qxi-*-journal | other-*)
      local lines=${variant#*-} program=$bin/qxirun.exe
      [ "${variant%%-*}" = other ] && program=$QXI_BENCH_OTHER_BIN/qxirun.exe
      script=$work/$name.qxs
      sed "s/@DEST@/C:\\\\bench\\\\$name/g" "$installers/${lines%-journal}.qxs" >"$script"
      cmd=("$program" --quiet)
      [ "$lines" != "${lines%-journal}" ] && cmd+=(--journal "$(winpath "$work/$name.journal")")
      cmd+=("$(winpath "$script")" Setup) ;;
    xcopy) cmd=(xcopy "$(winpath "$payload/files")" "$dest_win" /E /I /Q /Y) ;;
    qxi-bundle) cmd=("$installers/bundle.exe" /S) ;;
    nsis-*) cmd=("$installers/${variant#nsis-}.exe" /S "/D=$dest_win") ;;
  esac
  warm "$variant"
  sync
  local start end status=0
  start=$(now)
  "$WINE" "${cmd[@]}" >"$work/$name.log" 2>&1 </dev/null || status=$?
  end=$(now)
  if [ $status -ne 0 ]; then
    note "$name: exit status $status"; cat "$work/$name.log" >&2; return 1
  fi
  if [ "$variant" = qxi-bundle ]; then
    # The uninstaller the setup keeps in the installation is not part of the payload.
    [ -f "$dest/Uninstall/uninstall.exe" ] || { note "$name: no uninstaller kept"; return 1; }
    rm -rf "$dest/Uninstall"
  fi
  local extras=() only=()
  [ "${variant%-journal}" = qxi-extras ] || [ "$variant" = other-extras ] && only=(--extras-only)
  if [ "$variant" != xcopy ]; then
    "$WINE" reg export 'HKCU\Software\QXIBench' "$(winpath "$work/$name.reg")" /y >/dev/null 2>&1
    extras=("$work/$name.reg")
  fi
  python3 "$here/verify_install.py" "${only[@]}" "$payload" "$dest" "${extras[@]}" || return 1
  "$WINE" reg delete 'HKCU\Software\QXIBench' /f >/dev/null 2>&1 || true
  rm -rf "$dest" "$work/$name.reg" "$work/$name.log" "$work/$name.journal" "${script:-}"
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}

# The first Wine program of a prefix starts Wine's own services (about 2 s): not timed.
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null

read -r -a variants <<<"${QXI_BENCH_VARIANTS:-qxi-copy qxi-qxz qxi-extras qxi-copy-journal \
  qxi-extras-journal qxi-bundle xcopy nsis-store nsis-zlib nsis-lzma}"
[ -z "${QXI_BENCH_OTHER_BIN:-}" ] || variants+=(other-copy other-extras)
times=$work/times.tsv
printf 'variant\tround\tseconds\n' >"$times"
for round in $(seq "$rounds"); do
  # Rotate the order each round, so that no variant always follows the same one.
  for i in $(seq 0 $((${#variants[@]} - 1))); do
    variant=${variants[$(((i + round - 1) % ${#variants[@]}))]}
    seconds=$(install_once "$variant" "$round") || { note "FAILED: $variant round $round"; exit 1; }
    note "round $round $variant: $seconds s"
    printf '%s\t%s\t%s\n' "$variant" "$round" "$seconds" >>"$times"
  done
done
cat "$work/sizes.txt"
python3 "$here/summarize.py" "$times"
