#!/usr/bin/env python3
"""Writes the portable ZIP so that the same inputs give the same bytes.

  make_zip.py OUT.zip SOURCE_DIR NAME=FILE...

Entries in name order, each with the same time, the commit's (SOURCE_DATE_EPOCH when
set, else the last commit of SOURCE_DIR), fixed permissions and no extra fields: a ZIP
of an archiver would carry the files' times, owner and the folder's listing order.
"""
import os
import subprocess
import sys
import time
import zipfile


def fail(message):
    print(f"make_zip: {message}", file=sys.stderr)
    sys.exit(1)


def commit_time(source_dir):
    given = os.environ.get("SOURCE_DATE_EPOCH")
    if given is not None:
        if not given.isdigit():
            fail(f"SOURCE_DATE_EPOCH is not a number of seconds: {given!r}")
        return int(given)
    try:
        out = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                             check=True, capture_output=True, text=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError) as e:
        detail = getattr(e, "stderr", "") or str(e)
        fail(f"no commit time in {source_dir} ({detail.strip()}); set SOURCE_DATE_EPOCH")
    if not out.isdigit():
        fail(f"git gave no commit time in {source_dir}: {out!r}; set SOURCE_DATE_EPOCH")
    return int(out)


def main(argv):
    if len(argv) < 4 or not all("=" in a for a in argv[3:]):
        print(__doc__, file=sys.stderr)
        return 2
    out, source_dir = argv[1], argv[2]
    files = dict(a.split("=", 1) for a in argv[3:])
    epoch = commit_time(source_dir)
    # ZIP times are local DOS times: UTC, so that the builder's time zone is no input.
    stamp = time.gmtime(epoch)[:6]
    if stamp[0] < 1980:
        fail(f"the commit time {epoch} lies before 1980, which a ZIP cannot hold")
    partial = out + ".partial"
    with zipfile.ZipFile(partial, "w") as z:
        for name in sorted(files):
            with open(files[name], "rb") as f:
                data = f.read()
            entry = zipfile.ZipInfo(name, stamp)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 3  # Unix, so that unzip there applies the modes below
            mode = 0o755 if name.endswith(".exe") else 0o644
            entry.external_attr = (0o100000 | mode) << 16
            z.writestr(entry, data, compresslevel=9)
    os.replace(partial, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
