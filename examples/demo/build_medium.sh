#!/usr/bin/env bash
# build_medium.sh BIN PREFIX ARCH MEDIUM: makes the demo's installation medium in the folder
# MEDIUM (made afresh): setup.qxs with its copy section's byte count filled in, lumen.exe from
# BIN, the loose files, and the archives program.qxz and samples.qxz packed from the payload by
# qxzpack.exe, run under Wine in PREFIX. Prints the program archive's listing.
set -eu
bin=$(realpath "$1") prefix=$(realpath -m "$2") arch=$3 medium=$4
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
qxzpack() { "$root/cmake/wine-run.sh" "$prefix" "$arch" "$bin/qxzpack.exe" "$@"; }

rm -rf "$medium"
mkdir -p "$medium"
cp "$here/media/"* "$bin/lumen.exe" "$medium/"
qxzpack create "$(winpath "$medium")\\program.qxz" --priority 21 \
  -C "$(winpath "$here/payload/program")" help templates
qxzpack create "$(winpath "$medium")\\samples.qxz" --priority 1 \
  -C "$(winpath "$here/payload/samples")" welcome.txt notebooks
qxzpack list "$(winpath "$medium")\\program.qxz"
# The copy section's progress total: every byte copied or unpacked.
payload=$(( $(stat -c %s "$medium/lumen.exe" "$medium/readme.txt" "$medium/lumenrt.dll" |
              paste -sd+) + $(find "$here/payload" -type f -printf '%s+' | sed 's/+$//') ))
sed "s/PAYLOAD_BYTES/$payload/" "$here/setup.qxs" > "$medium/setup.qxs"
