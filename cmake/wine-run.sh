#!/usr/bin/env bash
# Runs one Windows program under Wine in the build's own prefix (the first argument). Output
# passes through files: Wine's background processes may inherit a pipe and keep it open, and
# a reader waiting for the end of a pipe would then wait for ever.
set -u
prefix=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-prefix.sh" start "$prefix" || exit 1
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
out=$(mktemp) err=$(mktemp)
wine "$@" >"$out" 2>"$err" </dev/null
rc=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $rc
