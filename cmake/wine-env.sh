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
