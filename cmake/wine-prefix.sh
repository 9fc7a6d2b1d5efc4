#!/usr/bin/env bash
# wine-prefix.sh start PREFIX: creates the 32-bit Wine prefix once (serialised with a lock, so
# that tests started in parallel share it) and keeps its wineserver running.
# wine-prefix.sh stop PREFIX: stops that prefix's wineserver, and only that one.
set -u
action=$1
prefix=$2
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
case $action in
  start)
    mkdir -p "$(dirname "$prefix")"
    (
      flock 9
      if [ ! -f "$prefix/system.reg" ]; then
        wineboot -i >/dev/null 2>&1 </dev/null
        wineserver -w >/dev/null 2>&1 </dev/null
      fi
      wineserver -p >/dev/null 2>&1 </dev/null
    ) 9>"$prefix.lock"
    [ -f "$prefix/system.reg" ] || { echo "wine-prefix: could not create $prefix" >&2; exit 1; }
    ;;
  stop)
    [ -d "$prefix" ] && wineserver -k >/dev/null 2>&1 </dev/null
    exit 0
    ;;
  *)
    echo "usage: wine-prefix.sh start|stop PREFIX" >&2
    exit 2
    ;;
esac
