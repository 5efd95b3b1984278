#!/usr/bin/env python3
"""Writes the release archives of Vemora from the built library.

    make_release.py --version VERSION --source-dir DIR --dll Vemora.dll
                    --debug Vemora.dll.debug --out-dir DIR
    make_release.py --epoch --version VERSION --source-dir DIR

The second form only prints the moment that dates the release (below), in
seconds since 1970, for the build to date the library by.

OUT-DIR receives
  Vemora-VERSION.zip        Vemora.dll, CZYTAJ.txt, LICENSE, CHANGELOG.md and
                            SHA256SUMS (of those four), in that order;
  Vemora-VERSION-debug.zip  Vemora.dll.debug;
  SHA256SUMS                of the two archives.

CZYTAJ.txt is release/CZYTAJ.txt.in of the sources with the version filled
in; LICENSE and CHANGELOG.md are those of the sources, and CHANGELOG.md must
have a section for VERSION. All three come as UTF-8 with LF line ends and are
written with CRLF line ends, and with a byte-order mark when they hold
anything beyond ASCII, so that Notepad on every Windows, the oldest included,
shows their lines and their Polish letters. SHA256SUMS keeps sha256sum's own
format, LF line ends included: every checker reads that, while some
(shasum, for one) take the CR of a CRLF line for part of the file name.

The archives depend only on these inputs: entries in a fixed order, each
dated SOURCE_DATE_EPOCH in UTC, with fixed permissions and no extra fields.
When SOURCE_DATE_EPOCH is unset, the time of the last commit stands in for
it when SOURCE-DIR is the top of a git work tree, and otherwise (a source
archive) the day of VERSION's section in CHANGELOG.md, "## [VERSION] -
YYYY-MM-DD", at 00:00 UTC.
"""

import argparse
import calendar
import hashlib
import os
import re
import subprocess
import sys
import time
import zipfile

VERSION_MARK = "@VEMORA_VERSION@"
BOM = b"\xef\xbb\xbf"
# Regular files, rw-r--r--, as a Unix zip tool would record them.
ENTRY_ATTRIBUTES = 0o100644 << 16
UNIX = 3
# The earliest moment a zip entry can carry (its date fields count from 1980).
ZIP_EPOCH = (1980, 1, 1, 0, 0, 0)


class ReleaseError(Exception):
    pass


def last_commit_time(source_dir):
    """The last commit's time when SOURCE-DIR is the top of a git work tree
    (not a folder somewhere inside another repository), else None."""
    try:
        top = subprocess.run(["git", "-C", source_dir, "rev-parse", "--show-toplevel"],
                             check=True, capture_output=True, text=True).stdout.strip()
        if os.path.realpath(top) != os.path.realpath(source_dir):
            return None
        return subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                              check=True, capture_output=True, text=True).stdout.strip() or None
    except (OSError, subprocess.CalledProcessError):
        return None


def changelog_day(changelog, version):
    """The day of VERSION's section in CHANGELOG.md, at 00:00 UTC, or None."""
    match = re.search(rf"^## \[{re.escape(version)}\] - ([0-9]{{4}})-([0-9]{{2}})-([0-9]{{2}})\s*$",
                      changelog.decode("utf-8"), re.MULTILINE)
    if not match:
        return None
    try:
        return str(calendar.timegm(time.strptime("-".join(match.groups()), "%Y-%m-%d")))
    except ValueError:
        return None


def release_epoch(source_dir, version):
    """SOURCE_DATE_EPOCH when set, else the last commit's time, else the day
    of this version's section in the changelog: seconds since 1970."""
    text = os.environ.get("SOURCE_DATE_EPOCH", "")
    if not text:
        text = last_commit_time(source_dir) or changelog_day(read(os.path.join(source_dir, "CHANGELOG.md")), version)
    if not text:
        raise ReleaseError(f"SOURCE_DATE_EPOCH is unset, {source_dir} has no commit to date the release by, "
                           f"and CHANGELOG.md dates no section '## [{version}] - YYYY-MM-DD'; "
                           f"set SOURCE_DATE_EPOCH")
    if not re.fullmatch(r"[0-9]+", text):
        raise ReleaseError(f"SOURCE_DATE_EPOCH is not a number of seconds: {text!r}")
    return int(text)


def zip_time(epoch):
    """A moment as a zip date in UTC; before 1980, the earliest a zip can hold."""
    return max(time.gmtime(epoch)[:6], ZIP_EPOCH)


def source_text(name, data):
    """A text file of the sources: UTF-8, LF line ends, no byte-order mark."""
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as error:
        raise ReleaseError(f"{name} is not UTF-8: {error}") from error
    if "\r" in text:
        raise ReleaseError(f"{name} must have LF line ends; the release writes CRLF")
    if text.startswith("\ufeff"):
        raise ReleaseError(f"{name} must not begin with a byte-order mark; the release writes one where needed")
    return text


def for_notepad(text):
    """TEXT as Notepad reads it right on every Windows: CRLF line ends (before
    Windows 10 it breaks lines at nothing else) and, beyond ASCII, a UTF-8
    byte-order mark (without one it reads the bytes in the ANSI code page)."""
    data = text.replace("\n", "\r\n").encode("utf-8")
    return data if text.isascii() else BOM + data


def guide(template, version):
    """The user's guide: the version filled in, for Notepad."""
    text = source_text("the guide's source", template)
    if VERSION_MARK not in text:
        raise ReleaseError(f"the guide names no version ({VERSION_MARK} is missing)")
    return for_notepad(text.replace(VERSION_MARK, version))


def check_changelog(changelog, version):
    if not re.search(rf"^## \[{re.escape(version)}\]", changelog, re.MULTILINE):
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
    changelog = source_text("CHANGELOG.md", read(os.path.join(source_dir, "CHANGELOG.md")))
    check_changelog(changelog, version)
    licence = source_text("LICENSE", read(os.path.join(source_dir, "LICENSE")))
    date_time = zip_time(release_epoch(source_dir, version))
    files = [
        ("Vemora.dll", read(dll)),
        ("CZYTAJ.txt", guide(read(os.path.join(source_dir, "release", "CZYTAJ.txt.in")), version)),
        ("LICENSE", for_notepad(licence)),
        ("CHANGELOG.md", for_notepad(changelog)),
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
    parser.add_argument("--epoch", action="store_true", help="only print the moment that dates the release")
    for option in ("--version", "--source-dir"):
        parser.add_argument(option, required=True)
    for option in ("--dll", "--debug", "--out-dir"):
        parser.add_argument(option)
    args = parser.parse_args(argv[1:])
    if not args.epoch and None in (args.dll, args.debug, args.out_dir):
        parser.error("--dll, --debug and --out-dir are needed to write the archives")
    if not re.fullmatch(r"[0-9]+(\.[0-9]+)*", args.version):
        print(f"make_release.py: not a version: {args.version!r}", file=sys.stderr)
        return 2
    try:
        if args.epoch:
            print(release_epoch(args.source_dir, args.version))
            return 0
        written = make_release(args.version, args.source_dir, args.dll, args.debug, args.out_dir)
    except ReleaseError as error:
        print(f"make_release.py: {error}", file=sys.stderr)
        return 1
    print(f"{args.out_dir}: {', '.join(written)}, SHA256SUMS")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
