#!/usr/bin/env bash
# wine-prefix.sh start PREFIX ARCH: creates the Wine prefix once (serialised with a lock, so
# that tests started in parallel share it) and keeps its wineserver running.
# wine-prefix.sh stop PREFIX ARCH: stops that prefix's wineserver, and only that one.
# wine-prefix.sh remove PREFIX ARCH: stops it and deletes the prefix (about 1.3 GB each), unless
# QXI_KEEP_PREFIXES is set, for looking into a test's prefix after its run.
set -u
action=$1 prefix=$2 arch=${3:-win32}
. "$(cd "$(dirname "$0")" && pwd)/wine-env.sh"
wine_env "$prefix" "$arch"
case $action in
  start)
    mkdir -p "$(dirname "$prefix")"
    (
      flock 9
      if [ ! -f "$prefix/system.reg" ]; then
        "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
        wineserver -w >/dev/null 2>&1 </dev/null
        # The user's Desktop, Documents... are links into the real home folder: make them
        # folders of the prefix, so that what programs write there stays in the prefix.
        find "$prefix/drive_c/users" -mindepth 2 -maxdepth 2 -type l 2>/dev/null |
          while IFS= read -r link; do rm -f "$link" && mkdir -p "$link"; done
      fi
    ) 9>"$prefix.lock"
    # The persistent server is started outside the locked block: it would otherwise inherit
    # the lock's descriptor and hold the lock for as long as it lives.
    wineserver -p >/dev/null 2>&1 </dev/null
    [ -f "$prefix/system.reg" ] || { echo "wine-prefix: could not create $prefix" >&2; exit 1; }
    ;;
  stop)
    [ -d "$prefix" ] && wineserver -k >/dev/null 2>&1 </dev/null
    exit 0
    ;;
  remove)
    [ -d "$prefix" ] && wineserver -k >/dev/null 2>&1 </dev/null
    [ -n "${QXI_KEEP_PREFIXES:-}" ] || rm -rf "$prefix" "$prefix.lock"
    exit 0
    ;;
  *)
    echo "usage: wine-prefix.sh start|stop|remove PREFIX [win32|win64]" >&2
    exit 2
    ;;
esac
