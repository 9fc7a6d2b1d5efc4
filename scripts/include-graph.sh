#!/usr/bin/env bash
# include-graph.sh [SRC]: prints the folder-level include graph of SRC (default: src of this
# tree) and fails when an include runs from a folder to one at its own layer or above. The
# layers, bottom first, say which folder sits on which; a folder of SRC that no layer names
# fails too, so that a new one is placed on purpose. Strict layers also rule out any cycle.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
src=${1:-$root/src}

layers=(
  "resources archive/implode"   # the string table's texts; the implode codec
  "engine"                      # script, parameters, groups, walkers, errors, callbacks
  "ini registry"                # profile lines and INI commands; RegKey, priorities, Reg commands
  "paths files"                 # folder resolver; file wrapper, deferred operations, installing
  "archive conditions desktop"  # QXZ and ExtractQXZ; the condition tests; the session commands
  "dll"                         # the list of every command, the exports of QXI.dll
)

declare -A layer_of
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do layer_of[$folder]=$i; done
done

# Every "folder/file" include that names a file of SRC, as "from to" lines.
edges=$(cd "$src" && find . -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' -o -name '*.rc' \) |
  sed 's|^\./||' | sort | while read -r file; do
    from=$(dirname "$file")
    grep -o '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/[^"]*"' "$file" |
      sed 's/.*"\(.*\)"/\1/' | while read -r target; do
        [ -f "$target" ] || continue
        to=$(dirname "$target")
        [ "$to" = "$from" ] || echo "$from $to"
      done
  done)

echo "include graph of $src (folder -> folder: includes):"
printf '%s\n' "$edges" | sed '/^$/d' | sort | uniq -c |
  awk '{ printf "  %-12s -> %-16s %d\n", $2, $3, $1 }'
echo "layers, bottom first:"
for i in "${!layers[@]}"; do echo "  $i: ${layers[$i]}"; done

status=0
for folder in $(cd "$src" && find . -mindepth 1 -type d | sed 's|^\./||' | sort); do
  ls "$src/$folder"/*.h "$src/$folder"/*.cpp >/dev/null 2>&1 || continue
  if [ -z "${layer_of[$folder]+x}" ]; then
    echo "FAIL: folder $folder has no layer" >&2
    status=1
  fi
done
while read -r from to; do
  [ -n "$from" ] || continue
  [ -n "${layer_of[$from]+x}" ] && [ -n "${layer_of[$to]+x}" ] || continue
  if [ "${layer_of[$from]}" -le "${layer_of[$to]}" ]; then
    echo "FAIL: $from includes $to, which is not below it" >&2
    status=1
  fi
done < <(printf '%s\n' "$edges" | sort -u)
[ "$status" -eq 0 ] && echo "every include points down"
exit "$status"
