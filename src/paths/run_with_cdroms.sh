#!/usr/bin/env bash
# run_with_cdroms.sh PREFIX ARCH PROGRAM [ARGS...]: runs a test program in a Wine prefix of
# its own whose drive list holds all 26 letters (longer than the 98 characters a short drive
# buffer holds) with CD-ROM drives at Y: and Z:, and tells it to expect Y: for $CDROM$.
set -u
prefix=$1 arch=$2
shift 2
cmake_dir=$(cd "$(dirname "$0")/../../cmake" && pwd)
"$cmake_dir/wine-prefix.sh" start "$prefix" "$arch" || exit 1
. "$cmake_dir/wine-env.sh"
wine_env "$prefix" "$arch"
mkdir -p "$prefix/drive_extra"
for letter in a b d e f g h i j k l m n o p q r s t u v w x y; do
  [ -e "$prefix/dosdevices/$letter:" ] || ln -s ../drive_extra "$prefix/dosdevices/$letter:"
done
for letter in y z; do
  "$WINE" reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d cdrom /f >/dev/null 2>&1 </dev/null
done
# The drive types are read when the prefix's services start: restart them.
wineserver -k >/dev/null 2>&1 </dev/null
wineserver -w >/dev/null 2>&1 </dev/null
export QXI_EXPECTED_CDROM=Y:
"$cmake_dir/wine-run.sh" "$prefix" "$arch" "$@"
rc=$?
"$cmake_dir/wine-prefix.sh" remove "$prefix" "$arch"
exit $rc
