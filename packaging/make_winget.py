#!/usr/bin/env python3
"""Writes the winget manifest of one release: the three files of a multi-file manifest.

  make_winget.py OUT_DIR VERSION HOMEPAGE RELEASE_URL x64=SETUP.exe x86=SETUP.exe

Each installer's address is RELEASE_URL followed by its file name. The Apps-and-features
entry is the one packaging/kestrevane.nsi writes, so that winget recognises a copy
installed before or without it. Written as text, not through a YAML library, so that
the package command needs nothing more; every value is quoted (a version such as 1.10
would otherwise read as a number).
"""
import hashlib
import json
import os
import re
import sys

MANIFEST_VERSION = "1.10.0"
IDENTIFIER = "Kestrevane.Kestrevane"
LOCALE = "en-US"
# As the installer writes them under HKCU\...\Uninstall\Kestrevane (its key name is
# the ProductCode winget matches).
NAME = "Kestrevane"
PUBLISHER = "The Kestrevane developers"
PRODUCT_CODE = "Kestrevane"
ARCHITECTURES = ("x64", "x86")
# The installer's exit code when Kestrevane runs and will not close (EXIT_IN_USE in
# packaging/kestrevane.nsi): winget then tells the user to close it.
EXIT_IN_USE = 3


def fail(message):
    print(f"make_winget: {message}", file=sys.stderr)
    sys.exit(1)


def q(value):
    return json.dumps(value)


def header(kind, version):
    return [f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json",
            f"PackageIdentifier: {q(IDENTIFIER)}",
            f"PackageVersion: {q(version)}"]


def footer(kind):
    return [f"ManifestType: {kind}", f"ManifestVersion: {MANIFEST_VERSION}"]


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest().upper()


def manifests(version, homepage, url, installers):
    files = {}
    files[f"{IDENTIFIER}.yaml"] = header("version", version) + [f"DefaultLocale: {LOCALE}"] + footer("version")
    lines = header("installer", version) + [
        "InstallerType: nullsoft",
        "Scope: user",
        "InstallModes:",
        "- interactive",
        "- silent",
        "InstallerSwitches:",
        f"  Silent: {q('/S')}",
        f"  SilentWithProgress: {q('/S')}",
        # The installer replaces an earlier copy in place, closing it first if it runs, and
        # keeps its log.
        "UpgradeBehavior: install",
        "ExpectedReturnCodes:",
        f"- InstallerReturnCode: {EXIT_IN_USE}",
        "  ReturnResponse: packageInUse",
        "AppsAndFeaturesEntries:",
        f"- DisplayName: {q(NAME)}",
        f"  Publisher: {q(PUBLISHER)}",
        f"  DisplayVersion: {q(version)}",
        f"  ProductCode: {q(PRODUCT_CODE)}",
        "Installers:",
    ]
    for arch in ARCHITECTURES:
        setup = installers[arch]
        lines += [f"- Architecture: {arch}",
                  f"  InstallerUrl: {q(url + os.path.basename(setup))}",
                  f"  InstallerSha256: {q(sha256(setup))}"]
    files[f"{IDENTIFIER}.installer.yaml"] = lines + footer("installer")
    files[f"{IDENTIFIER}.locale.{LOCALE}.yaml"] = header("defaultLocale", version) + [
        f"PackageLocale: {LOCALE}",
        f"Publisher: {q(PUBLISHER)}",
        f"PublisherUrl: {q(homepage)}",
        f"PackageName: {q(NAME)}",
        f"PackageUrl: {q(homepage)}",
        "License: MIT",
        f"ShortDescription: {q('Boot counter: how often Windows was started today')}",
        "Moniker: kestrevane",
    ] + footer("defaultLocale")
    return files


def main(argv):
    if len(argv) != 7 or not all("=" in a for a in argv[5:]):
        print(__doc__, file=sys.stderr)
        return 2
    out, version, homepage, url = argv[1:5]
    installers = dict(a.split("=", 1) for a in argv[5:])
    if set(installers) != set(ARCHITECTURES):
        fail(f"needs one installer for each of {', '.join(ARCHITECTURES)}, not {', '.join(sorted(installers))}")
    if not re.fullmatch(r"[Hh][Tt][Tt][Pp][Ss]?://[^\s]+/", url):
        fail(f"the release address {url!r} (KESTREVANE_RELEASE_URL) is no http(s) address of a folder, ending in /")
    for setup in installers.values():
        if not os.path.isfile(setup):
            fail(f"no installer {setup}")
    os.makedirs(out, exist_ok=True)
    for name, lines in manifests(version, homepage, url, installers).items():
        with open(os.path.join(out, name), "w", encoding="utf-8", newline="\n") as f:
            f.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
