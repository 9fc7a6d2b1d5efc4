# Sourced by the Wine scripts: the environment of one prefix of the given architecture
# (win32 or win64). Sets WINE to the loader to start programs with.
wine_env() {
  export WINEPREFIX=$1 WINEARCH=$2 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ "$2" = win64 ]; then
    WINE=/usr/lib/wine/wine64
    export WINELOADER=$WINE
  else
    WINE=/usr/lib/wine/wine
  fi
}

# A throw-away prefix made afresh at PREFIX, whose Z: drive (the host's whole file system) is
# removed, so that what runs in it can only touch the prefix. Leaves wine_env set for it.
wine_fresh_prefix() {
  wine_env "$1" "$2"
  wineserver -k >/dev/null 2>&1
  rm -rf "$1"
  "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
  rm -f "$1/dosdevices/z:"
}
