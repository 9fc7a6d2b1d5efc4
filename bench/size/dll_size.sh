#!/usr/bin/env bash
# dll_size.sh: the size of QXI.dll as the win32 preset builds it (the product: the engine
# compiled for size, the implode decoder for speed, unused functions dropped at link time,
# stripped), its sections and imports, and what its bytes are, from the link map the build
# writes beside it: the engine's own objects or the statically linked C++ runtime, C runtime
# and libgcc. Changes nothing but building the QXI target of the win32 preset.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

cmake --preset win32 >/dev/null
cmake --build --preset win32 --target QXI -j2 >/dev/null
dll=$root/build/win32/bin/QXI.dll

echo "QXI.dll, win32 preset: $(stat -c %s "$dll") bytes"
echo
echo "Sections (bytes; a stripped image shortens .eh_frame to .eh_fram):"
i686-w64-mingw32-objdump -h "$dll" | while read -r _ name size _; do
  case $name in .text | .rdata | .eh_fram* | .data | .bss | .reloc) printf '  %s %d' "$name" $((16#$size)) ;; esac
done
echo
# It must depend on system DLLs only.
echo "  imports: $(i686-w64-mingw32-objdump -p "$dll" | awk '/DLL Name:/ { print $3 }' | sort | paste -sd' ')"
echo
python3 "$root/bench/size/map_summary.py" "$root/build/win32/QXI.map"
