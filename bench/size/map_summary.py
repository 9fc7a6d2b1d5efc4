#!/usr/bin/env python3
"""map_summary.py MAP: what a DLL's bytes are, from its GNU ld link map: the kept input
sections summed per library (the engine's archive, libstdc++, libgcc, the C runtime...) for
code (.text), read-only data (.rdata) and unwind tables (.eh_frame), then the largest objects.
Discarded sections (listed before the memory map) are not counted."""
import collections
import os
import re
import sys

KINDS = (".text", ".rdata", ".eh_frame")
# " .text$name  0xADDRESS  0xSIZE  FILE", where a long section name puts the rest on a line
# of its own.
ENTRY = re.compile(r"^\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$")
NAME = re.compile(r"^ (\.\S+)(.*)$")


def origin(path):
    """(library, object) of an input file: archive(member) or a loose object."""
    match = re.match(r"^(.*)\((.*)\)$", path)
    if match:
        return os.path.basename(match.group(1)), match.group(2)
    return os.path.basename(path), os.path.basename(path)


def main():
    sizes = collections.defaultdict(lambda: collections.Counter())
    objects = collections.Counter()
    kind, pending = None, None
    with open(sys.argv[1]) as f:
        lines = iter(f.read().split("\n"))
    for line in lines:
        if line.startswith("Linker script and memory map"):
            break
    for line in lines:
        if line.startswith("."):
            name = line.split()[0]
            kind = next((k for k in KINDS if name == k), None)
            continue
        named = NAME.match(line)
        if named:
            pending, rest = named.group(1), named.group(2)
            if not rest.strip():
                continue
            line = rest
        entry = ENTRY.match(" " + line.strip()) if pending else None
        if entry and kind:
            size = int(entry.group(1), 16)
            library, obj = origin(entry.group(2).strip())
            sizes[library][kind] += size
            objects[(library, obj)] += size
        pending = None
    total = collections.Counter()
    for counter in sizes.values():
        total.update(counter)
    print("| library | .text | .rdata | .eh_frame | share of the three |")
    print("|---|---:|---:|---:|---:|")
    grand = sum(total.values())
    for library, counter in sorted(sizes.items(), key=lambda i: -sum(i[1].values())):
        share = 100.0 * sum(counter.values()) / grand
        if share >= 0.5:
            print(f"| {library} | {counter['.text']} | {counter['.rdata']} | "
                  f"{counter['.eh_frame']} | {share:.1f}% |")
    print(f"| all | {total['.text']} | {total['.rdata']} | {total['.eh_frame']} | 100% |")
    print("\nLargest objects (the three kinds together, bytes):")
    for (library, obj), size in objects.most_common(15):
        print(f"  {size:7d}  {library}: {obj}")


if __name__ == "__main__":
    main()
