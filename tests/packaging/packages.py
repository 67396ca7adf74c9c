#!/usr/bin/env python3
"""Checks of the packages that need no Windows.

  packages.py check DIST VERSION WIN64_EXE WIN32_EXE [CA.pem]
      both ZIPs and both installers in DIST against the exe of each build, SHA256SUMS and
      the winget manifest; unsigned, or with CA.pem signed by a certificate of that CA
  packages.py signed FILE.exe CA.pem [BUILT_EXE]       signed by a certificate of that CA, and
      with BUILT_EXE, that exe once its signature is removed
  packages.py machine FILE.exe                         prints win64, win32 or the unknown machine
  packages.py shortcut FILE.lnk                        prints the shortcut's target, folder and arguments
"""
import hashlib
import json
import os
import re
import struct
import subprocess
import sys
import tempfile
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


def signature_size(data):
    """Size of the certificate table (IMAGE_DIRECTORY_ENTRY_SECURITY): 0 when unsigned."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 24
    directories = optional + (96 if struct.unpack_from("<H", data, optional)[0] == 0x10B else 112)
    return struct.unpack_from("<I", data, directories + 4 * 8 + 4)[0]


def osslsigncode(*args):
    """None when it succeeds, else the end of its report, which says why."""
    run = subprocess.run(["osslsigncode", *args], capture_output=True, text=True)
    lines = [line.strip() for line in (run.stdout + run.stderr).splitlines() if line.strip()]
    return None if run.returncode == 0 else " / ".join(lines[-3:])


def signature_problems(name, data, built, ca):
    """Unsigned without CA; with it, signed by that CA, and the built exe once unsigned."""
    if ca is None:
        return [f"{name} is signed, though no certificate was given"] if signature_size(data) else []
    with tempfile.TemporaryDirectory() as tmp:
        signed, unsigned = os.path.join(tmp, "signed.exe"), os.path.join(tmp, "unsigned.exe")
        with open(signed, "wb") as f:
            f.write(data)
        failed = osslsigncode("verify", "-CAfile", ca, "-in", signed)
        if failed:
            return [f"{name} does not verify as signed by {ca}: {failed}"]
        if built is None:
            return []
        failed = osslsigncode("remove-signature", "-in", signed, "-out", unsigned)
        if failed:
            return [f"{name}: osslsigncode cannot remove its signature: {failed}"]
        with open(unsigned, "rb") as f:
            if f.read() != built:
                return [f"{name} without its signature is not the built exe"]
    return []


SCHEMAS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "winget-schemas")
WINGET_FILES = {"version": "Kestrevane.Kestrevane.yaml", "installer": "Kestrevane.Kestrevane.installer.yaml",
                "defaultLocale": "Kestrevane.Kestrevane.locale.en-US.yaml"}


def winget_problems(dist, version):
    """The three manifests valid by their schemas, of this version, with the installers' SHA-256."""
    # Here, not at the top: the install test uses this file too, where only the Windows
    # tests' packages are installed (tools/deps.sh windows-tests).
    import jsonschema
    import yaml

    problems, manifests = [], {}
    for kind, file in WINGET_FILES.items():
        name = f"{dist}/winget/{file}"
        try:
            with open(name, encoding="utf-8") as f:
                manifest = yaml.safe_load(f)
        except OSError as e:
            problems.append(str(e))
            continue
        with open(f"{SCHEMAS}/manifest.{kind}.1.10.0.json", encoding="utf-8") as f:
            validator = jsonschema.Draft7Validator(json.load(f))
        problems += [f"{name}: {list(e.absolute_path)}: {e.message}" for e in validator.iter_errors(manifest)]
        if manifest.get("PackageVersion") != version:
            problems.append(f"{name} is not of version {version}")
        manifests[kind] = manifest
    if problems:
        return problems
    hashes = {i["Architecture"]: i["InstallerSha256"].lower() for i in manifests["installer"]["Installers"]}
    for arch, build in (("x64", "win64"), ("x86", "win32")):
        with open(f"{dist}/Kestrevane-{version}-{build}-setup.exe", "rb") as f:
            if hashes.get(arch) != hashlib.sha256(f.read()).hexdigest():
                problems.append(f"the winget {arch} installer's InstallerSha256 is not that of the {build} installer")
    return problems


def checksum_problems(dist):
    """sha256sum -c SHA256SUMS passes, over every other file in DIST."""
    run = subprocess.run(["sha256sum", "-c", "--strict", "SHA256SUMS"], cwd=dist, capture_output=True, text=True)
    if run.returncode != 0:
        failed = [line for line in (run.stdout + run.stderr).splitlines() if not line.endswith(": OK")]
        return [f"sha256sum -c SHA256SUMS fails in {dist}: {' / '.join(failed)}"]
    checked = {line.rsplit(": ", 1)[0] for line in run.stdout.splitlines()}
    present = {os.path.relpath(os.path.join(d, n), dist) for d, _, names in os.walk(dist) for n in names}
    return [] if checked == present - {"SHA256SUMS"} else [f"SHA256SUMS lists {sorted(checked)} of {sorted(present)}"]


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


def check(dist, version, win64_exe, win32_exe, ca=None):
    problems = checksum_problems(dist) + winget_problems(dist, version)
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
        else:
            # Signed, it is the built exe once its signature is removed.
            if ca is None and built is not None and exe != built:
                problems.append(f"{name}: Kestrevane.exe is not {built_exe} (packages out of date?)")
            problems += signature_problems(f"{name}: Kestrevane.exe", exe, built, ca)
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
        problems += signature_problems(setup, data, None, ca)
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
    if len(sys.argv) in (6, 7) and sys.argv[1] == "check":
        sys.exit(check(*sys.argv[2:]))
    if len(sys.argv) in (4, 5) and sys.argv[1] == "signed":
        with open(sys.argv[2], "rb") as f:
            data = f.read()
        built = None
        if len(sys.argv) == 5:
            with open(sys.argv[4], "rb") as f:
                built = f.read()
        found = signature_problems(sys.argv[2], data, built, sys.argv[3])
        for p in found:
            print(f"packages: {p}", file=sys.stderr)
        sys.exit(1 if found else 0)
    if len(sys.argv) == 3 and sys.argv[1] == "machine":
        with open(sys.argv[2], "rb") as f:
            print(arch_of(f.read()))
        sys.exit(0)
    if len(sys.argv) == 3 and sys.argv[1] == "shortcut":
        sys.exit(shortcut(sys.argv[2]))
    print(__doc__, file=sys.stderr)
    sys.exit(2)
