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

# wine_system_folder DLL ARCH: the system folder, under C:\windows, of the programs that load
# DLL in a prefix of ARCH: syswow64 for a 32-bit DLL in a 64-bit prefix (as on 64-bit Windows,
# where its writes to system32 land there and its registry keys are the 32-bit view).
wine_system_folder() {
  local header machine
  header=$(od -An -tu4 -N4 -j60 "$1" | tr -d ' ')  # where the PE header starts
  machine=$(od -An -tx2 -N2 -j$((header + 4)) "$1" | tr -d ' ')
  if [ "$2" = win64 ] && [ "$machine" = 014c ]; then echo syswow64; else echo system32; fi
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
