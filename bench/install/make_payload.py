#!/usr/bin/env python3
"""make_payload.py OUT [--files N] [--mbytes M] [--seed S]: writes the installation payload of
the install benchmark, the same bytes for the same arguments on every machine:
  OUT/files/...     N files in nested folders, M MiB in all; half the bytes text-like
                    (compressible), half random
  OUT/manifest.tsv  one line per file: relative path (backslashes), size, SHA-256
  OUT/extras.qxs    a folder, registry values, INI keys and shortcuts as command sections, with
                    @DEST@ standing for the installation folder (replaced per run)
Everything comes from one random.Random(seed), whose sequence Python keeps stable."""
import argparse
import hashlib
import os
import random
import shutil

TOP_FOLDERS = ["bin", "lib", "data", "docs", "res", "plugins"]
WORDS = ("install engine script section folder value archive library window setup program "
         "registry shortcut profile manual update device network driver string table record "
         "version module option default system user data file path key copy read write the "
         "of and to in is for on with as by at from this that").split()
REGISTRY_VALUES = 300
INI_KEYS = 300
SHORTCUTS = 10


def folder_tree(rng):
    """About 60 folders, one to four levels deep, under the fixed top-level names."""
    folders = []
    for top in TOP_FOLDERS:
        folders.append(top)
        for i in range(rng.randint(2, 4)):
            second = f"{top}/sub{i}"
            folders.append(second)
            for j in range(rng.randint(0, 3)):
                third = f"{second}/part{j}"
                folders.append(third)
                if rng.random() < 0.4:
                    folders.append(f"{third}/deep")
    return folders


def file_sizes(rng, count, total):
    """Log-uniform sizes from 64 bytes to 4 MiB, scaled to sum to `total`, never below 1 byte:
    an empty file as the last entry of an archive is too short for the decoder's first read."""
    raw = [2 ** rng.uniform(6, 22) for _ in range(count)]
    scale = total / sum(raw)
    sizes = [max(1, int(r * scale)) for r in raw]
    sizes[0] += total - sum(sizes)
    return sizes


def text_bytes(rng, size):
    """Words and line breaks: about what the implode, zlib and LZMA coders see in text files."""
    out = bytearray()
    while len(out) < size:
        line = " ".join(rng.choices(WORDS, k=rng.randint(4, 14)))
        out += line.encode() + b"\r\n"
    return bytes(out[:size])


def write_files(rng, out, count, total):
    folders = folder_tree(rng)
    sizes = file_sizes(rng, count, total)
    # Half of the bytes are text: alternate the kinds while both halves have room.
    text_left = total // 2
    binary_left = total - text_left
    rows = []
    for index, size in enumerate(sizes):
        if text_left >= size and (index % 2 == 0 or binary_left < size):
            text_left -= size
            data, ext = text_bytes(rng, size), "txt"
        else:
            binary_left -= size
            data, ext = rng.randbytes(size), "bin"
        rel = f"{rng.choice(folders)}/f{index:04d}.{ext}"
        path = os.path.join(out, "files", rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        rows.append((rel.replace("/", "\\"), size, hashlib.sha256(data).hexdigest()))
    return rows


def extras_lines(rng):
    """Registry, INI and shortcut lines in the engine's script syntax, per group section."""
    reg = [f'SetSzValue HKCU Software\\QXIBench\\Group{i % 10} Value{i} '
           f'"{" ".join(rng.choices(WORDS, k=3))} {i}"' for i in range(REGISTRY_VALUES)]
    ini = [f'SetKey @DEST@\\_settings\\app{i % 3}.ini Section{i % 7} Key{i} '
           f'"{" ".join(rng.choices(WORDS, k=2))} {i}"' for i in range(INI_KEYS)]
    lnk = [f'CreateShortcut @DEST@\\_shortcuts\\Link{i}.lnk @DEST@\\bin\\tool{i}.exe '
           f'"--mode {i}" @DEST@\\bin "" 0' for i in range(SHORTCUTS)]
    # The INI files' folder is made first: profile writes do not create folders.
    folders = ['MakeDir @DEST@\\_settings ""']
    return {"Folders": folders, "Registry": reg, "Ini": ini, "Shortcuts": lnk}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--files", type=int, default=2000)
    parser.add_argument("--mbytes", type=int, default=100)
    parser.add_argument("--seed", type=int, default=20261210)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    shutil.rmtree(os.path.join(args.out, "files"), ignore_errors=True)
    rows = write_files(rng, args.out, args.files, args.mbytes * 1024 * 1024)
    with open(os.path.join(args.out, "manifest.tsv"), "w", newline="\n") as f:
        for rel, size, digest in rows:
            f.write(f"{rel}\t{size}\t{digest}\n")
    with open(os.path.join(args.out, "extras.qxs"), "w", newline="\r\n") as f:
        for name, lines in extras_lines(rng).items():
            f.write(f"[{name}]\n\"{name}\" {len(lines)}\n")
            f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
