#!/usr/bin/env python3
"""make_installers.py PAYLOAD OUT ARCHIVES...: writes the installers of the install benchmark
from the payload of make_payload.py, all installing the same files, registry values, INI keys
and shortcuts into the folder @DEST@ (the runner puts a fresh folder in its place per run):
  OUT/copy.qxs     one CopyFile line per file, then the extras
  OUT/qxz.qxs      one ExtractQXZ line per archive (ARCHIVES: Windows paths), then the extras
  OUT/extras.qxs   the extras alone: what the two scripts above cost besides the files
  OUT/bundle/setup.qxs   qxz.qxs for a one-file setup: the archives by their names beside the
                   script (the runner puts them there), into the fixed folder BUNDLE_DEST
  OUT/{store,zlib,lzma}.nsi   the same as NSIS scripts, for makensis"""
import os
import sys

COMPRESSORS = {"store": "SetCompress off",
               "zlib": "SetCompressor /SOLID zlib",
               "lzma": "SetCompressor /SOLID lzma"}


def windows_path(unix_path):
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def quote(text):
    """A script token: quoted (quotes doubled) when it holds a blank or is empty."""
    return '"' + text.replace('"', '""') + '"' if (" " in text or not text) else text


def tokens(line):
    """Splits a command line into tokens, undoing the script quoting ("" inside quotes)."""
    out, i = [], 0
    while i < len(line):
        if line[i] == " ":
            i += 1
        elif line[i] == '"':
            value, i = "", i + 1
            while i < len(line):
                if line[i] == '"' and line[i + 1:i + 2] == '"':
                    value, i = value + '"', i + 2
                elif line[i] == '"':
                    i += 1
                    break
                else:
                    value, i = value + line[i], i + 1
            out.append(value)
        else:
            end = line.find(" ", i)
            end = len(line) if end < 0 else end
            out.append(line[i:end])
            i = end
    return out


def read_extras(payload):
    """The extras file as (section name, [command lines]) in file order."""
    sections = []
    with open(os.path.join(payload, "extras.qxs"), newline="") as f:
        for line in f.read().split("\r\n"):
            if line.startswith("["):
                sections.append((line[1:-1], []))
            elif line and not line.startswith('"'):
                sections[-1][1].append(line)
    return sections


def read_manifest(payload):
    with open(os.path.join(payload, "manifest.tsv")) as f:
        return [(rel, int(size)) for rel, size, _ in (line.rstrip("\n").split("\t") for line in f)]


def extras_master_lines(extras):
    group = {"Folders": "FileOps", "Registry": "Reg", "Ini": "INI", "Shortcuts": "FileOps"}
    return [f"{group[name]} {name}" for name, _ in extras]


def extras_sections(extras):
    return "".join(f'[{name}]\r\n"{name}" {len(lines)}\r\n' + "".join(l + "\r\n" for l in lines)
                   for name, lines in extras)


def copy_script(payload, files, extras):
    source = windows_path(os.path.join(payload, "files"))
    total = sum(size for _, size in files)
    lines = []
    for rel, _ in files:
        folder, _, name = rel.rpartition("\\")
        # The sub-folder goes into both folders, not into the file name: each line names the
        # folder it copies into, as an installer's author would write it.
        lines.append(f"CopyFile {quote(source + chr(92) + folder)} {quote('@DEST@' + chr(92) + folder)} "
                     f'{quote(name)} "" 0')
    master = ["FileCopy Files"] + extras_master_lines(extras)
    return ("[Setup]\r\n" + "".join(m + "\r\n" for m in master) +
            f'[Files]\r\n"Copying files" {total}\r\n' + "".join(l + "\r\n" for l in lines) +
            extras_sections(extras))


def qxz_script(archives, total, extras):
    lines = [f"ExtractQXZ {quote(a)} @DEST@" for a in archives]
    master = ["FileCopy Files"] + extras_master_lines(extras)
    return ("[Setup]\r\n" + "".join(m + "\r\n" for m in master) +
            f'[Files]\r\n"Unpacking files" {total}\r\n' + "".join(l + "\r\n" for l in lines) +
            extras_sections(extras))


# A setup made by qxibundle takes no destination on its command line: it installs here.
BUNDLE_DEST = "C:\\bench\\qxi-bundle"


def extras_script(extras):
    master = extras_master_lines(extras)
    return "[Setup]\r\n" + "".join(m + "\r\n" for m in master) + extras_sections(extras)


def nsis_string(text):
    return '"' + text.replace("$", "$$").replace('"', '$\\"').replace("@DEST@", "$INSTDIR") + '"'


def nsis_line(line):
    """The NSIS instructions that do what one extras line does."""
    t = tokens(line)
    s = [nsis_string(x) for x in t[1:]]
    if t[0] == "MakeDir":
        return [f"CreateDirectory {s[0]}"]
    if t[0] == "SetSzValue":
        return [f"WriteRegStr {t[1]} {s[1]} {s[2]} {s[3]}"]
    if t[0] == "SetKey":
        return [f"WriteINIStr {s[0]} {s[1]} {s[2]} {s[3]}"]
    if t[0] == "CreateShortcut":
        # The shortcut's folder is made, and its working folder is the output path, as NSIS
        # takes it from there.
        folder = nsis_string(t[1].rpartition("\\")[0])
        return [f"CreateDirectory {folder}", f"SetOutPath {s[3]}",
                f"CreateShortCut {s[0]} {s[1]} {s[2]}"]
    raise ValueError("no NSIS equivalent for: " + line)


def nsis_script(payload, compressor, extras):
    body = [f'SetOutPath "$INSTDIR"', f'File /r "{os.path.abspath(payload)}/files/*"']
    for _, lines in extras:
        for line in lines:
            body += nsis_line(line)
    return "\n".join([
        "Unicode true", "Target amd64-unicode", COMPRESSORS[compressor],
        'Name "QXI benchmark payload"', f'OutFile "{compressor}.exe"',
        'InstallDir "C:\\bench\\nsis"', "RequestExecutionLevel user", "SilentInstall normal",
        'Section "Payload"'] + ["  " + b for b in body] + ["SectionEnd", ""])


def main():
    payload, out, archives = sys.argv[1], sys.argv[2], sys.argv[3:]
    files, extras = read_manifest(payload), read_extras(payload)
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "copy.qxs"), "w", newline="") as f:
        f.write(copy_script(payload, files, extras))
    with open(os.path.join(out, "qxz.qxs"), "w", newline="") as f:
        f.write(qxz_script(archives, sum(size for _, size in files), extras))
    os.makedirs(os.path.join(out, "bundle"), exist_ok=True)
    with open(os.path.join(out, "bundle", "setup.qxs"), "w", newline="") as f:
        names = [a.rpartition("\\")[2] for a in archives]
        f.write(qxz_script(names, sum(size for _, size in files), extras)
                .replace("@DEST@", BUNDLE_DEST))
    with open(os.path.join(out, "extras.qxs"), "w", newline="") as f:
        f.write(extras_script(extras))
    for compressor in COMPRESSORS:
        with open(os.path.join(out, compressor + ".nsi"), "w") as f:
            f.write(nsis_script(payload, compressor, extras))


if __name__ == "__main__":
    main()
