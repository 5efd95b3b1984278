#!/usr/bin/env python3
"""Writes the release archives of Vemora from the built library.

    make_release.py --version VERSION --source-dir DIR --dll Vemora.dll
                    --debug Vemora.dll.debug --out-dir DIR

OUT-DIR receives
  Vemora-VERSION.zip        Vemora.dll, CZYTAJ.txt, LICENSE, CHANGELOG.md and
                            SHA256SUMS (of those four), in that order;
  Vemora-VERSION-debug.zip  Vemora.dll.debug;
  SHA256SUMS                of the two archives.

CZYTAJ.txt is release/CZYTAJ.txt.in of the sources (UTF-8, LF) with the version
filled in, written with a byte-order mark and CRLF line ends so that Notepad
shows its Polish letters and its lines on every Windows. LICENSE and
CHANGELOG.md are copied as they are; CHANGELOG.md must have a section for
VERSION.

The archives depend only on these inputs: entries in a fixed order, each
dated SOURCE_DATE_EPOCH (or, when that is unset, the time of the last commit
of SOURCE-DIR) in UTC, with fixed permissions and no extra fields.
"""

import argparse
import hashlib
import os
import re
import subprocess
import sys
import time
import zipfile

VERSION_MARK = "@VEMORA_VERSION@"
# Regular files, rw-r--r--, as a Unix zip tool would record them.
ENTRY_ATTRIBUTES = 0o100644 << 16
UNIX = 3
# The earliest moment a zip entry can carry (its date fields count from 1980).
ZIP_EPOCH = (1980, 1, 1, 0, 0, 0)


class ReleaseError(Exception):
    pass


def release_time(source_dir):
    """SOURCE_DATE_EPOCH when set, else the last commit's time, as a zip date in UTC."""
    text = os.environ.get("SOURCE_DATE_EPOCH", "")
    if not text:
        try:
            text = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                                  check=True, capture_output=True, text=True).stdout.strip()
        except (OSError, subprocess.CalledProcessError) as error:
            raise ReleaseError(f"SOURCE_DATE_EPOCH is unset and {source_dir} has no commit to date the "
                               f"release by ({error}); set SOURCE_DATE_EPOCH") from error
    if not re.fullmatch(r"[0-9]+", text):
        raise ReleaseError(f"SOURCE_DATE_EPOCH is not a number of seconds: {text!r}")
    return max(time.gmtime(int(text))[:6], ZIP_EPOCH)


def guide(template, version):
    """The user's guide: the version filled in, BOM, CRLF."""
    if VERSION_MARK not in template:
        raise ReleaseError(f"the guide names no version ({VERSION_MARK} is missing)")
    if "\r" in template:
        raise ReleaseError("the guide's source must have LF line ends; the release writes CRLF")
    text = template.replace(VERSION_MARK, version).replace("\n", "\r\n")
    return b"\xef\xbb\xbf" + text.encode("utf-8")


def check_changelog(changelog, version):
    if not re.search(rf"^## \[{re.escape(version)}\]", changelog.decode("utf-8"), re.MULTILINE):
        raise ReleaseError(f"CHANGELOG.md has no section '## [{version}]'")


def sums(entries):
    """sha256sum's own format, so that `sha256sum -c` verifies it."""
    return "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n" for name, data in entries).encode("ascii")


def write_zip(path, entries, date_time):
    # Written to a neighbour first: a failed run leaves no half archive.
    partial = path + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time)
            info.create_system = UNIX
            info.external_attr = ENTRY_ATTRIBUTES
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, data, compresslevel=9)
    os.replace(partial, path)


def read(path):
    try:
        with open(path, "rb") as file:
            return file.read()
    except OSError as error:
        raise ReleaseError(f"cannot read {path}: {error.strerror}") from error


def make_release(version, source_dir, dll, debug, out_dir):
    date_time = release_time(source_dir)
    changelog = read(os.path.join(source_dir, "CHANGELOG.md"))
    check_changelog(changelog, version)
    files = [
        ("Vemora.dll", read(dll)),
        ("CZYTAJ.txt", guide(read(os.path.join(source_dir, "release", "CZYTAJ.txt.in")).decode("utf-8"), version)),
        ("LICENSE", read(os.path.join(source_dir, "LICENSE"))),
        ("CHANGELOG.md", changelog),
    ]
    files.append(("SHA256SUMS", sums(files)))

    os.makedirs(out_dir, exist_ok=True)
    archives = [(f"Vemora-{version}.zip", files),
                (f"Vemora-{version}-debug.zip", [("Vemora.dll.debug", read(debug))])]
    for name, entries in archives:
        write_zip(os.path.join(out_dir, name), entries, date_time)
    with open(os.path.join(out_dir, "SHA256SUMS"), "wb") as file:
        file.write(sums((name, read(os.path.join(out_dir, name))) for name, _ in archives))
    return [name for name, _ in archives]


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    for option in ("--version", "--source-dir", "--dll", "--debug", "--out-dir"):
        parser.add_argument(option, required=True)
    args = parser.parse_args(argv[1:])
    if not re.fullmatch(r"[0-9]+(\.[0-9]+)*", args.version):
        print(f"make_release.py: not a version: {args.version!r}", file=sys.stderr)
        return 2
    try:
        written = make_release(args.version, args.source_dir, args.dll, args.debug, args.out_dir)
    except ReleaseError as error:
        print(f"make_release.py: {error}", file=sys.stderr)
        return 1
    print(f"{args.out_dir}: {', '.join(written)}, SHA256SUMS")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
