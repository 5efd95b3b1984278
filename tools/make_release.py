#!/usr/bin/env python3
"""Writes the release archives of Vemora from the built library.

    make_release.py --version VERSION --source-dir DIR [--snapshot]
                    --dll Vemora.dll --debug Vemora.dll.debug --out-dir DIR
    make_release.py (--name | --epoch) --version VERSION --source-dir DIR [--snapshot]

VERSION is the DLL's own (its version block, what the host is told). The
second form only prints the release's name, or the moment that dates it in
seconds since 1970, for the build to date the library by.

A release takes its name and its day from the newest dated section of
CHANGELOG.md, the first "## [NAME] - YYYY-MM-DD". NAME is VERSION for the
first packaging of that DLL and VERSION-2, VERSION-3, ... for the next ones,
releases that change only what surrounds the DLL; a name of another version
is refused. So is a release while "## [Unreleased]" holds anything (exit 3):
those entries belong to no name yet. The release's moment is
SOURCE_DATE_EPOCH when set, else its day at 00:00 UTC, so that a clone and a
copy without history (a source archive) give the same bytes.

With --snapshot, a build for trying things between releases: [Unreleased]
does not matter, and the build is named after the commit of SOURCE-DIR (the
top of a git work tree), VERSION+git.HASH with twelve hex digits, and .dirty
after it when tracked files differ from the commit: no release name holds a
"+". Its moment is SOURCE_DATE_EPOCH, else the commit's time.

OUT-DIR receives
  Vemora-NAME.zip           Vemora.dll, CZYTAJ.txt, LICENSE, CHANGELOG.md and
                            SHA256SUMS (of those four), in that order;
  Vemora-NAME-debug.zip     Vemora.dll.debug;
  SHA256SUMS                of the two archives;
and loses the archives of other names, so that it holds one build's.

CZYTAJ.txt is release/CZYTAJ.txt.in of the sources with the name filled
in; LICENSE and CHANGELOG.md are those of the sources. All three come as
UTF-8 with LF line ends and are written with CRLF line ends, and with a
byte-order mark when they hold anything beyond ASCII, so that Notepad on
every Windows, the oldest included, shows their lines and their Polish
letters. SHA256SUMS keeps sha256sum's own format, LF line ends included:
every checker reads that, while some (shasum, for one) take the CR of a CRLF
line for part of the file name.

The archives depend only on these inputs: entries in a fixed order, each
dated by the release's moment in UTC, with fixed permissions and no extra
fields.
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
# The exit status of a release refused for entries under [Unreleased].
NOTHING_TO_RELEASE = 3


class ReleaseError(Exception):
    pass


class Unreleased(ReleaseError):
    """Entries wait under [Unreleased]: there is nothing to release yet."""


def git(source_dir, *arguments):
    return subprocess.run(["git", "-C", source_dir, *arguments],
                          check=True, capture_output=True, text=True).stdout.strip()


def snapshot_of(source_dir, version):
    """The name and the time of the commit SOURCE-DIR holds, when it is the
    top of a git work tree (not a folder somewhere inside another one)."""
    try:
        if os.path.realpath(git(source_dir, "rev-parse", "--show-toplevel")) != os.path.realpath(source_dir):
            raise ValueError
        commit, commit_time = git(source_dir, "log", "-1", "--format=%H %ct").split()
        dirty = git(source_dir, "status", "--porcelain", "--untracked-files=no")
    except (OSError, subprocess.CalledProcessError, ValueError) as error:
        raise ReleaseError(f"a snapshot is named after its commit, and {source_dir} is not the top of "
                           f"a git work tree with one") from error
    return f"{version}+git.{commit[:12]}{'.dirty' if dirty else ''}", int(commit_time)


def unreleased_entries(changelog):
    """The non-blank lines of the section [Unreleased], up to the next one."""
    match = re.search(r"^## \[Unreleased\][ \t]*\n(.*?)(?=^## |\Z)", changelog, re.MULTILINE | re.DOTALL)
    return [line.strip() for line in match.group(1).splitlines() if line.strip()] if match else []


def newest_release(changelog, version):
    """The name of the newest dated section of CHANGELOG.md and its day at
    00:00 UTC; the name must be VERSION or VERSION-N with N from 2."""
    entries = unreleased_entries(changelog)
    if entries:
        raise Unreleased(f"CHANGELOG.md holds entries under [Unreleased] (\"{entries[0]}\"): to cut a release, "
                         f"move them under a new section '## [NAME] - YYYY-MM-DD'; to try a build, make release "
                         f"SNAPSHOT=1")
    match = re.search(r"^## \[([^]]*)\] - ([0-9]{4}-[0-9]{2}-[0-9]{2})[ \t]*$", changelog, re.MULTILINE)
    if not match:
        raise ReleaseError("CHANGELOG.md dates no release: it needs a section '## [NAME] - YYYY-MM-DD'")
    name, day = match.groups()
    parts = re.fullmatch(r"([0-9]+(?:\.[0-9]+)*)(?:-([2-9]|[1-9][0-9]+))?", name)
    if not parts:
        raise ReleaseError(f"CHANGELOG.md: [{name}] is no release name: {version} is the first packaging of the "
                           f"DLL's version, {version}-2, {version}-3, ... the next ones")
    if parts.group(1) != version:
        raise ReleaseError(f"CHANGELOG.md: the newest release [{name}] is not of the DLL's version {version} "
                           f"(project(VERSION) in CMakeLists.txt)")
    try:
        return name, calendar.timegm(time.strptime(day, "%Y-%m-%d"))
    except ValueError as error:
        raise ReleaseError(f"CHANGELOG.md: [{name}] is dated {day}, no day of the calendar") from error


def identify(source_dir, version, snapshot):
    """The name of the build and the moment that dates it, in seconds since 1970."""
    if snapshot:
        name, moment = snapshot_of(source_dir, version)
    else:
        name, moment = newest_release(source_text("CHANGELOG.md", read(os.path.join(source_dir, "CHANGELOG.md"))),
                                      version)
    text = os.environ.get("SOURCE_DATE_EPOCH", "")
    if not text:
        return name, moment
    if not re.fullmatch(r"[0-9]+", text):
        raise ReleaseError(f"SOURCE_DATE_EPOCH is not a number of seconds: {text!r}")
    return name, int(text)


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


def guide(template, name):
    """The user's guide: the release's name filled in, for Notepad."""
    text = source_text("the guide's source", template)
    if VERSION_MARK not in text:
        raise ReleaseError(f"the guide names no version ({VERSION_MARK} is missing)")
    return for_notepad(text.replace(VERSION_MARK, name))


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


def make_release(version, source_dir, dll, debug, out_dir, snapshot=False):
    name, moment = identify(source_dir, version, snapshot)
    changelog = source_text("CHANGELOG.md", read(os.path.join(source_dir, "CHANGELOG.md")))
    licence = source_text("LICENSE", read(os.path.join(source_dir, "LICENSE")))
    date_time = zip_time(moment)
    files = [
        ("Vemora.dll", read(dll)),
        ("CZYTAJ.txt", guide(read(os.path.join(source_dir, "release", "CZYTAJ.txt.in")), name)),
        ("LICENSE", for_notepad(licence)),
        ("CHANGELOG.md", for_notepad(changelog)),
    ]
    files.append(("SHA256SUMS", sums(files)))

    os.makedirs(out_dir, exist_ok=True)
    archives = [(f"Vemora-{name}.zip", files),
                (f"Vemora-{name}-debug.zip", [("Vemora.dll.debug", read(debug))])]
    for archive, entries in archives:
        write_zip(os.path.join(out_dir, archive), entries, date_time)
    with open(os.path.join(out_dir, "SHA256SUMS"), "wb") as file:
        file.write(sums((archive, read(os.path.join(out_dir, archive))) for archive, _ in archives))
    # An earlier build's archives would sit beside these with no sums.
    for stale in set(os.listdir(out_dir)) - {archive for archive, _ in archives}:
        if stale.startswith("Vemora-") and stale.endswith(".zip"):
            os.remove(os.path.join(out_dir, stale))
    return [archive for archive, _ in archives]


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    query = parser.add_mutually_exclusive_group()
    query.add_argument("--name", action="store_true", help="only print the release's name")
    query.add_argument("--epoch", action="store_true", help="only print the moment that dates the release")
    parser.add_argument("--snapshot", action="store_true", help="a build named after the commit, not a release")
    for option in ("--version", "--source-dir"):
        parser.add_argument(option, required=True)
    for option in ("--dll", "--debug", "--out-dir"):
        parser.add_argument(option)
    args = parser.parse_args(argv[1:])
    if not (args.name or args.epoch) and None in (args.dll, args.debug, args.out_dir):
        parser.error("--dll, --debug and --out-dir are needed to write the archives")
    if not re.fullmatch(r"[0-9]+(\.[0-9]+)*", args.version):
        print(f"make_release.py: not a version: {args.version!r}", file=sys.stderr)
        return 2
    try:
        if args.name or args.epoch:
            name, moment = identify(args.source_dir, args.version, args.snapshot)
            print(name if args.name else moment)
            return 0
        written = make_release(args.version, args.source_dir, args.dll, args.debug, args.out_dir, args.snapshot)
    except ReleaseError as error:
        print(f"make_release.py: {error}", file=sys.stderr)
        return NOTHING_TO_RELEASE if isinstance(error, Unreleased) else 1
    print(f"{args.out_dir}: {', '.join(written)}, SHA256SUMS")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
