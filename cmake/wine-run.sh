#!/usr/bin/env bash
# wine-run.sh PREFIX ARCH PROGRAM [ARGS...]: runs one Windows program under Wine in the
# build's own prefix. Output passes through files: Wine's background processes may inherit a
# pipe and keep it open, and a reader waiting for the end of a pipe would then wait for ever.
set -u
prefix=$1 arch=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-prefix.sh" start "$prefix" "$arch" || exit 1
. "$here/wine-env.sh"
wine_env "$prefix" "$arch"
out=$(mktemp) err=$(mktemp)
"$WINE" "$@" >"$out" 2>"$err" </dev/null
rc=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $rc
