#!/usr/bin/env python3
"""Checks of the packages that need no Windows.

  packages.py check DIST VERSION WIN64_EXE WIN32_EXE   both ZIPs and both installers in DIST,
                                                      against the exe of each build
  packages.py machine FILE.exe                         prints win64, win32 or the unknown machine
  packages.py shortcut FILE.lnk                        prints the shortcut's target, folder and arguments
"""
import re
import struct
import sys
import zipfile

# IMAGE_FILE_HEADER.Machine of each build.
MACHINES = {"win64": 0x8664, "win32": 0x14C}
ZIP_FILES = {"Kestrevane.exe", "README.txt", "LICENSE.txt"}
UTF8_BOM = b"\xef\xbb\xbf"
# What Notepad would show as Markdown's own marks: headings, tables, emphasis, code, links.
MARKDOWN = re.compile(r"^#{1,6} |^\|.*\|\s*$|\*\*|`|\]\(", re.MULTILINE)


def machine_of(data):
    if data[:2] != b"MZ":
        return None
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, pe + 4)[0]


def arch_of(data):
    machine = machine_of(data)
    return next((a for a, m in MACHINES.items() if m == machine), f"machine {machine}")


def readme_problems(readme, version):
    """What keeps README.txt from reading right in Notepad on every Windows the program runs on."""
    if readme.startswith(UTF8_BOM):
        encoding, text = "UTF-8", readme[len(UTF8_BOM):]
    else:
        encoding, text = "ASCII", readme
    try:
        text = text.decode(encoding)
    except UnicodeDecodeError as e:
        return [f"README.txt is neither ASCII nor UTF-8 with a byte order mark ({e})"]
    problems = []
    if f"Kestrevane {version}" not in text:
        problems.append(f"README.txt does not name the version (Kestrevane {version})")
    markdown = MARKDOWN.search(text)
    if markdown:
        line = text.count("\n", 0, markdown.start()) + 1
        problems.append(f"README.txt holds Markdown in line {line}: {markdown.group(0)!r}")
    return problems


def check(dist, version, win64_exe, win32_exe):
    problems = []
    builds = {"win64": win64_exe, "win32": win32_exe}
    for arch, machine in MACHINES.items():
        built_exe = builds[arch]
        with open(built_exe, "rb") as f:
            built = f.read()
        # Builds given the other way round would make the identity check below meaningless.
        if machine_of(built) != machine:
            problems.append(f"{built_exe}, given as the {arch} build, is a {arch_of(built)} program")
            built = None
        name = f"{dist}/Kestrevane-{version}-{arch}.zip"
        try:
            with zipfile.ZipFile(name) as z:
                names = set(z.namelist())
                if names != ZIP_FILES:
                    problems.append(f"{name} holds {sorted(names)}, not {sorted(ZIP_FILES)}")
                    continue
                exe = z.read("Kestrevane.exe")
                readme = z.read("README.txt")
                licence = z.read("LICENSE.txt")
        except (OSError, zipfile.BadZipFile) as e:
            problems.append(f"{name}: {e}")
            continue
        if machine_of(exe) != machine:
            problems.append(f"{name}: Kestrevane.exe is no {arch} program but a {arch_of(exe)} one")
        elif built is not None and exe != built:
            problems.append(f"{name}: Kestrevane.exe is not {built_exe} (packages out of date?)")
        for file, text in (("README.txt", readme), ("LICENSE.txt", licence)):
            if text.count(b"\n") == 0 or text.count(b"\n") != text.count(b"\r\n"):
                problems.append(f"{name}: {file} does not end its lines with CR LF")
        problems += [f"{name}: {p}" for p in readme_problems(readme, version)]
        if b"MIT License" not in licence:
            problems.append(f"{name}: LICENSE.txt is not the MIT licence")

        setup = f"{dist}/Kestrevane-{version}-{arch}-setup.exe"
        try:
            with open(setup, "rb") as f:
                data = f.read()
        except OSError as e:
            problems.append(f"{setup}: {e}")
            continue
        if machine_of(data) != machine:
            problems.append(f"{setup} is no {arch} program but a {arch_of(data)} one")
        if b"Nullsoft" not in data:
            problems.append(f"{setup} is no NSIS installer")
    for p in problems:
        print(f"packages: {p}", file=sys.stderr)
    return 1 if problems else 0


def shortcut(path):
    """Target path, working folder and arguments of a shell link (MS-SHLLINK)."""
    with open(path, "rb") as f:
        data = f.read()
    if struct.unpack_from("<I", data, 0)[0] != 0x4C:
        print(f"packages: {path} is no shell link", file=sys.stderr)
        return 1
    flags = struct.unpack_from("<I", data, 20)[0]
    pos = 0x4C
    if flags & 0x01:  # HasLinkTargetIDList
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    target = ""
    if flags & 0x02:  # HasLinkInfo
        size, _, info_flags, _, base_offset = struct.unpack_from("<5I", data, pos)
        if info_flags & 0x01:  # VolumeIDAndLocalBasePath
            end = data.index(b"\0", pos + base_offset)
            target = data[pos + base_offset:end].decode("latin-1")
        pos += size
    unicode = bool(flags & 0x80)
    strings = {}
    for bit, key in ((0x04, "name"), (0x08, "relative"), (0x10, "folder"), (0x20, "arguments"), (0x40, "icon")):
        if flags & bit:
            count = struct.unpack_from("<H", data, pos)[0]
            pos += 2
            width = 2 if unicode else 1
            raw = data[pos:pos + count * width]
            strings[key] = raw.decode("utf-16-le" if unicode else "latin-1")
            pos += count * width
    print(target)
    print(strings.get("folder", ""))
    print(strings.get("arguments", ""))
    return 0


if __name__ == "__main__":
    if len(sys.argv) == 6 and sys.argv[1] == "check":
        sys.exit(check(*sys.argv[2:]))
    if len(sys.argv) == 3 and sys.argv[1] == "machine":
        with open(sys.argv[2], "rb") as f:
            print(arch_of(f.read()))
        sys.exit(0)
    if len(sys.argv) == 3 and sys.argv[1] == "shortcut":
        sys.exit(shortcut(sys.argv[2]))
    print(__doc__, file=sys.stderr)
    sys.exit(2)
