#!/usr/bin/env bash
# probe_files.sh [ROUNDS] [DLLDIR...]: where the files' share of the install benchmark goes.
# In the prefix of run.sh, installs the payload's files alone (no registry, INI or shortcut
# lines) with qxirun's CopyFile lines, with its ExtractQXZ lines and with xcopy, ROUNDS times
# (default 5), and prints for each run the wall time and the processor time of the Wine
# process and of the prefix's wineserver together. Before each run the payload and the
# archives are read once, untimed, so that every variant finds them in the page cache (other
# work on the machine evicts them between runs). Each DLLDIR (a folder with a qxirun.exe and
# a QXI.dll, for instance of a probe build) adds its CopyFile and ExtractQXZ runs.
#
# probe_files.sh --count [DLLDIR]: one CopyFile run, one ExtractQXZ run and one xcopy run,
# each with the wineserver tracing its requests and under strace -c: the requests and the
# system calls per kind, in build/bench-install/probe-*.requests and *.syscalls.
# Needs build/bench-install from a run of run.sh.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
arch=win64
work=$root/build/bench-install
prefix=$work/wineprefix
payload=$work/payload/files
installers=$work/installers
[ -f "$installers/copy.qxs" ] || { echo "probe_files: run bench/install/run.sh first" >&2; exit 1; }
. "$root/cmake/wine-env.sh"
"$root/cmake/wine-prefix.sh" start "$prefix" "$arch"
trap '"$root/cmake/wine-prefix.sh" stop "$prefix" "$arch"' EXIT
wine_env "$prefix" "$arch"
mkdir -p "$prefix/drive_c/bench"
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null

winpath() { echo "Z:$(realpath -m "$1" | tr / '\\')"; }
# The file lines of a benchmark script alone: its master section names only the files.
files_only() { awk '/^FileOps |^Reg |^INI /{next} /^\[Folders\]/{exit} 1' "$1"; }
files_only "$installers/copy.qxs" >"$work/probe-copy.qxs"
files_only "$installers/qxz.qxs" >"$work/probe-qxz.qxs"

command_for() {  # VARIANT DLLDIR DEST: sets cmd
  local script
  case $1 in
    xcopy) cmd=(xcopy "$(winpath "$payload")" "$3" /E /I /Q /Y); return ;;
    copy) script=$work/probe-copy.qxs ;;
    qxz) script=$work/probe-qxz.qxs ;;
  esac
  sed "s/@DEST@/${3//\\/\\\\}/g" "$script" >"$work/probe-run.qxs"
  cmd=("$2/qxirun.exe" --quiet "$(winpath "$work/probe-run.qxs")" Setup)
}

server_pid() {
  local p
  for p in $(pgrep -x wineserver); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && { echo "$p"; return; }
  done
}

clean() { rm -rf "$prefix/drive_c/bench/$1"; "$WINE" reg delete 'HKLM\Software\Brenvale' /f >/dev/null 2>&1 || true; }

if [ "${1:-}" = --count ]; then
  dll_dir=${2:-$root/build/$arch/bin}
  for variant in copy qxz xcopy; do
    command_for "$variant" "$dll_dir" "C:\\bench\\probe-$variant"
    strace -f -c -o "$work/probe-$variant.syscalls" "$WINE" "${cmd[@]}" >/dev/null 2>&1 </dev/null
    clean "probe-$variant"
    # The persistent server is restarted with request tracing for one run.
    wineserver -k; wineserver -w
    wineserver -f -p -d1 2>"$work/probe-trace.log" &
    "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null
    before=$(wc -l <"$work/probe-trace.log")
    "$WINE" "${cmd[@]}" >/dev/null 2>&1 </dev/null
    # Each request is traced twice, as its call and its reply.
    tail -n +"$((before + 1))" "$work/probe-trace.log" | grep -o ': [a-z_]*( ' | sort | uniq -c |
      awk '{ printf "%8d %s\n", $1, $3 }' | sort -rn >"$work/probe-$variant.requests"
    wineserver -k; wineserver -w; rm -f "$work/probe-trace.log"
    "$root/cmake/wine-prefix.sh" start "$prefix" "$arch"
    clean "probe-$variant"
    echo "$variant: $work/probe-$variant.requests, $work/probe-$variant.syscalls"
  done
  exit 0
fi

rounds=${1:-5}
shift || true
dll_dirs=("$root/build/$arch/bin" "$@")
printf 'variant\tround\tseconds\tcpu_seconds\tload\n'
for round in $(seq "$rounds"); do
  for dll_dir in "${dll_dirs[@]}"; do
    for variant in copy qxz xcopy; do
      [ "$variant" = xcopy ] && [ "$dll_dir" != "${dll_dirs[0]}" ] && continue
      name=$variant
      [ "$dll_dir" != "${dll_dirs[0]}" ] && name="$variant@$(basename "$dll_dir")"
      dest_dir=probe-$round
      command_for "$variant" "$dll_dir" "C:\\bench\\$dest_dir"
      find "$payload" "$installers" -type f -name '*.*' -exec cat {} + >/dev/null
      sync
      server=$(server_pid)
      s0=$(awk '{ print $14 + $15 }' "/proc/$server/stat")
      start=$(date +%s.%N)
      /usr/bin/time -f '%U %S' -o "$work/probe-time.txt" "$WINE" "${cmd[@]}" >"$work/probe.log" 2>&1 </dev/null ||
        { echo "probe_files: $name failed" >&2; cat "$work/probe.log" >&2; exit 1; }
      end=$(date +%s.%N)
      s1=$(awk '{ print $14 + $15 }' "/proc/$server/stat")
      count=$(find "$prefix/drive_c/bench/$dest_dir" -type f | wc -l)
      [ "$count" -eq "$(wc -l <"$work/payload/manifest.tsv")" ] ||
        { echo "probe_files: $name installed $count files" >&2; exit 1; }
      awk -v n="$name" -v r="$round" -v a="$start" -v b="$end" -v t0="$s0" -v t1="$s1" \
        -v l="$(cut -d' ' -f1 /proc/loadavg)" \
        '{ printf "%s\t%d\t%.3f\t%.2f\t%s\n", n, r, b - a, $1 + $2 + (t1 - t0) / 100, l }' \
        "$work/probe-time.txt"
      clean "$dest_dir"
    done
  done
done
rm -f "$work/probe-run.qxs" "$work/probe-copy.qxs" "$work/probe-qxz.qxs" "$work/probe.log" \
  "$work/probe-time.txt"
