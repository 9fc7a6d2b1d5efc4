#!/usr/bin/env bash
# disk_full_test.sh PROGRAM PREFIX ARCH: runs the DiskFull tests of PROGRAM (faults_test.exe)
# with a volume that fills up: a 256 KiB tmpfs mounted for the run and mapped as drive Q:
# of the Wine prefix PREFIX. Where mounting is not allowed (not root, or no mount rights in
# a container) the test is skipped with status 77.
set -u
program=$1 prefix=$2 arch=$3
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

"$root/cmake/wine-prefix.sh" start "$prefix" "$arch" || exit 1
volume=$(mktemp -d /tmp/qxi-small-volume.XXXXXX)
if ! mount -t tmpfs -o size=256k tmpfs "$volume" 2>/dev/null; then
  rmdir "$volume"
  echo "cannot mount a small volume here: skipped"
  exit 77
fi
drive=$prefix/dosdevices/q:
ln -sfn "$volume" "$drive"
QXI_SMALL_VOLUME='Q:' "$root/cmake/wine-run.sh" "$prefix" "$arch" "$program" \
  --gtest_filter='DiskFull.*'
rc=$?
rm -f "$drive"
umount "$volume"
rmdir "$volume"
exit $rc
