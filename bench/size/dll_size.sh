#!/usr/bin/env bash
# dll_size.sh: the size of QXI.dll as the win32 preset builds it, and of a size-minded build
# of the same sources in build/win32-size (-Os, one section per function and datum, unused
# sections dropped at link time, stripped), with a link map that says what the bytes are:
# the engine's own objects or the statically linked C++ runtime, C runtime and libgcc.
# Changes nothing in the project's own build directories but building the QXI target.
# The linker flags given here replace the toolchain's, so -static is repeated: without it the
# C++ runtime would be linked as a DLL and the figures would mean nothing.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$root/bench/size
size_dir=$root/build/win32-size
cd "$root"

cmake --preset win32 >/dev/null
cmake --build --preset win32 --target QXI -j2 >/dev/null
default_dll=$root/build/win32/bin/QXI.dll

cmake -S "$root" -B "$size_dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_C_FLAGS="-ffunction-sections -fdata-sections" \
  -DCMAKE_CXX_FLAGS="-ffunction-sections -fdata-sections" \
  -DCMAKE_SHARED_LINKER_FLAGS="-static -Wl,--gc-sections -s -Wl,-Map=$size_dir/QXI.map" >/dev/null
cmake --build "$size_dir" --target QXI -j2 >/dev/null
size_dll=$size_dir/bin/QXI.dll

stripped=$(mktemp)
trap 'rm -f "$stripped"' EXIT
i686-w64-mingw32-strip -o "$stripped" "$default_dll"

echo "QXI.dll, win32 preset (Release, -O3):      $(stat -c %s "$default_dll") bytes"
echo "  the same, stripped:                      $(stat -c %s "$stripped") bytes"
echo "QXI.dll, -Os + gc-sections + strip:        $(stat -c %s "$size_dll") bytes"
echo
echo "Sections (bytes; a stripped image shortens .eh_frame to .eh_fram):"
for dll in "$stripped" "$size_dll"; do
  i686-w64-mingw32-objdump -h "$dll" | while read -r _ name size _; do
    case $name in .text | .rdata | .eh_fram* | .data | .reloc) printf '  %s %d' "$name" $((16#$size)) ;; esac
  done
  echo
  # Both must depend on system DLLs only, as the product does.
  echo "  imports: $(i686-w64-mingw32-objdump -p "$dll" | awk '/DLL Name:/ { print $3 }' | sort | paste -sd' ')"
done
echo
python3 "$here/map_summary.py" "$size_dir/QXI.map"
