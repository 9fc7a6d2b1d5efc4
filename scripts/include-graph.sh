#!/usr/bin/env bash
# include-graph.sh [SRC]: prints the folder-level include graph of SRC (default: this tree's
# src) and fails on an include from a folder to one at its own layer or above, and on a
# folder no layer names. The layers, bottom first, say which folder sits on which; being
# strict, they also rule out any cycle.
set -eu
cd "${1:-$(dirname "$0")/../src}"
layers=(
  "resources archive/implode"   # the string table's texts; the implode codec
  "engine"                      # script, parameters, rows and groups, walkers, errors
  "ini registry"                # profile lines, INI commands; RegKey, priorities, Reg commands
  "paths files"                 # folder resolver; file wrapper, deferred operations, installing
  "archive conditions system"   # QXZ, ExtractQXZ; the condition tests; the session commands
  "dll"                         # the list of every command, the exports of QXI.dll
)
declare -A layer
for i in "${!layers[@]}"; do for f in ${layers[$i]}; do layer[$f]=$i; done; done

# "from to" for every include of a file of SRC in another folder.
edges=$(find . -type f -name '*.[hc]*' | sed 's|^\./||' | while read -r file; do
  sed -n 's/^ *# *include *"\([^"]*\/[^"]*\)".*/\1/p' "$file" | while read -r target; do
    [ -f "$target" ] && [ "${target%/*}" != "${file%/*}" ] && echo "${file%/*} ${target%/*}"
  done || true
done | sort)

echo "include graph of $(pwd) (folder -> folder: includes):"
uniq -c <<<"$edges" | awk '$2 { printf "  %-12s -> %-16s %d\n", $2, $3, $1 }'
for i in "${!layers[@]}"; do echo "layer $i: ${layers[$i]}"; done
status=0
for folder in $(find . -name '*.[hc]*' | sed 's|^\./||; s|/[^/]*$||' | sort -u); do
  [ -n "${layer[$folder]+x}" ] || { echo "FAIL: folder $folder has no layer" >&2; status=1; }
done
while read -r from to; do
  if [ -n "$from" ] && [ "${layer[$from]:-0}" -le "${layer[$to]:--1}" ]; then
    echo "FAIL: $from includes $to, which is not below it" >&2
    status=1
  fi
done < <(uniq <<<"$edges")
[ "$status" -ne 0 ] || echo "every include points down"
exit "$status"
