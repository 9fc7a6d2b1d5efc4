#!/usr/bin/env python3
"""verify_install.py [--extras-only] PAYLOAD DEST [REG_EXPORT]: checks one installation of the
install benchmark. DEST (a Unix path) must hold exactly the payload's files with their sizes
and SHA-256 sums (unless --extras-only);
with REG_EXPORT (a `reg export` of HKCU\\Software\\QXIBench), the INI keys, the shortcuts and
the registry values of the payload's extras must be there too. Prints every difference
(the first 20) and exits 1 when there is one."""
import hashlib
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_installers import read_extras, tokens  # noqa: E402

EXTRAS_FOLDERS = ("_settings", "_shortcuts")


def check_files(payload, dest, problems):
    expected = {}
    with open(os.path.join(payload, "manifest.tsv")) as f:
        for line in f:
            rel, size, digest = line.rstrip("\n").split("\t")
            expected[rel.replace("\\", "/")] = (int(size), digest)
    found = set()
    for folder, dirs, names in os.walk(dest):
        if folder == dest:
            dirs[:] = [d for d in dirs if d not in EXTRAS_FOLDERS]
        for name in names:
            found.add(os.path.relpath(os.path.join(folder, name), dest))
    for rel in sorted(found - expected.keys()):
        problems.append(f"unexpected file {rel}")
    for rel, (size, digest) in sorted(expected.items()):
        path = os.path.join(dest, rel)
        if rel not in found:
            problems.append(f"missing file {rel}")
            continue
        with open(path, "rb") as f:
            data = f.read()
        if len(data) != size:
            problems.append(f"{rel}: {len(data)} bytes, expected {size}")
        elif hashlib.sha256(data).hexdigest() != digest:
            problems.append(f"{rel}: content differs")


def unix_path(dest, script_path):
    return os.path.join(dest, *script_path.replace("@DEST@\\", "").split("\\"))


def read_ini(path):
    """{(section, key): value} of an INI file, names compared ignoring case as Windows does."""
    values, section = {}, None
    with open(path, encoding="latin-1") as f:
        for line in f.read().splitlines():
            if line.startswith("["):
                section = line.strip()[1:-1].lower()
            elif "=" in line and section is not None:
                key, _, value = line.partition("=")
                values[(section, key.strip().lower())] = value.strip()
    return values


def read_reg_export(path):
    """{(key, value name): data} of the REG_SZ values of a `reg export` file."""
    with open(path, "rb") as f:
        text = f.read().decode("utf-16")
    values, key = {}, None
    for line in text.splitlines():
        if line.startswith("["):
            key = line[1:-1].lower()
        elif line.startswith('"') and '"="' in line:
            name, _, data = line.partition('"="')
            values[(key, name[1:].lower())] = data[:-1].replace('\\"', '"').replace("\\\\", "\\")
    return values


def check_extras(payload, dest, reg_export, problems):
    ini_cache, registry = {}, read_reg_export(reg_export)
    for _, lines in read_extras(payload):
        for line in lines:
            t = tokens(line)
            if t[0] == "SetKey":
                path = unix_path(dest, t[1])
                if path not in ini_cache:
                    ini_cache[path] = read_ini(path) if os.path.exists(path) else {}
                got = ini_cache[path].get((t[2].lower(), t[3].lower()))
                if got != t[4]:
                    problems.append(f"INI {t[1]} [{t[2]}] {t[3]}: {got!r}, expected {t[4]!r}")
            elif t[0] == "SetSzValue":
                got = registry.get((f"hkey_current_user\\{t[2]}".lower(), t[3].lower()))
                if got != t[4]:
                    problems.append(f"registry {t[2]} {t[3]}: {got!r}, expected {t[4]!r}")
            elif t[0] == "CreateShortcut":
                path = unix_path(dest, t[1])
                # A shell link starts with its header size, 0x4C, and then its class id.
                head = open(path, "rb").read(4) if os.path.exists(path) else b""
                if head != b"\x4c\x00\x00\x00":
                    problems.append(f"shortcut {t[1]} missing or not a shell link")


def main():
    args = sys.argv[1:]
    extras_only = args[:1] == ["--extras-only"]
    if extras_only:
        args = args[1:]
    payload, dest = args[0], args[1]
    reg_export = args[2] if len(args) > 2 else None
    problems = []
    if not extras_only:
        check_files(payload, dest, problems)
    if reg_export:
        check_extras(payload, dest, reg_export, problems)
    for problem in problems[:20]:
        print(f"verify: {problem}", file=sys.stderr)
    if problems:
        print(f"verify: {len(problems)} differences in {dest}", file=sys.stderr)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
