# Sourced: machine_snapshot DRIVE_C prints what the demo's installations may change on the
# machine of the Wine prefix whose C: drive is DRIVE_C, one line each, for comparing one
# moment with another: every file (its content's digest) and folder under C:\ outside the
# Windows folder, and there the INI files, the restart files and the shared runtime; the
# registry keys the demo touches and its uninstall entry (in the 32-bit view, where the setup
# writes it); the operations waiting for the restart. Needs wine_env set for the prefix.
# snapshot_registry ARGS...: reg query ARGS without blank lines and without reg's words for a
# missing key or value, which it prints on standard output.
snapshot_registry() {
  "$WINE" reg query "$@" 2>/dev/null | tr -d '\r' | grep -v -e '^$' -e '^reg: '
}

machine_snapshot() {
  local drive_c=$1 path key
  (cd "$drive_c" && find . -mindepth 1 -path ./windows -prune -o -print &&
     find ./windows -maxdepth 1 \( -iname '*.ini' -o -iname 'wininit.*' \) &&
     find ./windows/system32 -maxdepth 1 -name lumenrt.dll) | LC_ALL=C sort |
    while IFS= read -r path; do
      if [ -d "$drive_c/$path" ]; then echo "folder ${path#./}"
      else echo "file ${path#./} $(md5sum <"$drive_c/$path" | cut -c1-12)"; fi
    done
  for key in 'HKLM\Software\Lumen' 'HKCU\Software\Lumen' 'HKLM\Software\Brenvale'; do
    echo "key $key"
    snapshot_registry "$key" /s
  done
  key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumen Notes'
  echo "key $key"
  snapshot_registry "$key" /reg:32 | grep -v '^HKEY'
  echo "restart operations"
  snapshot_registry 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations
}
