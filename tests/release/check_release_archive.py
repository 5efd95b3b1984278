#!/usr/bin/env python3
"""Checks the release archives as a user gets them, then unpacks the main one
for the end-to-end run of the released DLL.

    check_release_archive.py RELEASE_DIR VERSION SOURCE_DIR UNPACK_DIR

VERSION is the DLL's; the release's NAME is what tools/make_release.py of
SOURCE_DIR makes of it and CHANGELOG.md. Exit 77 (a skip) when there is no
release to check: entries wait under [Unreleased], or RELEASE_DIR holds no
archives (`make release` writes them). RELEASE_DIR (dist/release) must hold
Vemora-NAME.zip and Vemora-NAME-debug.zip, with a SHA256SUMS that verifies
them and no other archives. The main archive lists exactly Vemora.dll,
CZYTAJ.txt, LICENSE, CHANGELOG.md and SHA256SUMS, in that order, each a
plain rw-r--r-- file of one date with no extra fields, and its SHA256SUMS
verifies the others, also through sha256sum -c in the unpacked folder. The
text files read right in the oldest Notepad: CZYTAJ.txt, LICENSE and
CHANGELOG.md are UTF-8 with CRLF line ends, with a byte-order mark where they
hold anything beyond ASCII (CZYTAJ.txt always does); SHA256SUMS keeps
sha256sum's LF. CZYTAJ.txt names the release and the five placeholders;
LICENSE and CHANGELOG.md are those of the sources, with a section for the
release. The debug archive holds Vemora.dll.debug, the very file the DLL's
debug link names (its CRC matches).
"""

import hashlib
import os
import re
import shutil
import struct
import subprocess
import sys
import zipfile
import zlib

MAIN_ENTRIES = ["Vemora.dll", "CZYTAJ.txt", "LICENSE", "CHANGELOG.md", "SHA256SUMS"]
DEBUG_ENTRIES = ["Vemora.dll.debug"]
PLACEHOLDERS = ["@display", "@nick", "@name", "@surname", "@age"]
BOM = b"\xef\xbb\xbf"
SKIPPED = 77  # CTest's SKIP_RETURN_CODE
NOTHING_TO_RELEASE = 3  # tools/make_release.py's status when [Unreleased] holds entries


def parse_sums(text):
    """sha256sum's lines: {name: digest}, in order."""
    sums = {}
    for line in text.splitlines():
        match = re.fullmatch(r"([0-9a-f]{64})  (\S+)", line)
        if not match:
            raise ValueError(f"not a sha256sum line: {line!r}")
        sums[match.group(2)] = match.group(1)
    return sums


def check_sums(where, sums_text, files, failures):
    """The sums name exactly these files, in this order, and each digest matches."""
    try:
        sums = parse_sums(sums_text.decode("ascii"))
    except (UnicodeDecodeError, ValueError) as error:
        failures.append(f"{where}: {error}")
        return
    if list(sums) != list(files):
        failures.append(f"{where} lists {list(sums)}, expected {list(files)}")
    for name, data in files.items():
        if name in sums and hashlib.sha256(data).hexdigest() != sums[name]:
            failures.append(f"{where}: the sum of {name} does not match")


def check_entries(archive_name, archive, expected, failures):
    infos = archive.infolist()
    names = [info.filename for info in infos]
    if names != expected:
        failures.append(f"{archive_name} lists {names}, expected {expected}")
    if len({info.date_time for info in infos}) > 1:
        failures.append(f"{archive_name}: entries of different dates {sorted({info.date_time for info in infos})}")
    for info in infos:
        if info.external_attr >> 16 != 0o100644 or info.create_system != 3:
            failures.append(f"{archive_name}: {info.filename} has attributes {info.external_attr >> 16:o} "
                            f"(system {info.create_system}), expected a plain rw-r--r-- file")
        if info.extra:
            failures.append(f"{archive_name}: {info.filename} carries extra fields {info.extra.hex()}")


def notepad_text(name, data, failures):
    """The text of a file that Notepad must read right: CRLF line ends only,
    and a byte-order mark exactly when it holds anything beyond ASCII. Its
    text with LF line ends, or None when it is not UTF-8."""
    marked = data.startswith(BOM)
    try:
        text = data[len(BOM) if marked else 0:].decode("utf-8")
    except UnicodeDecodeError as error:
        failures.append(f"{name} is not UTF-8: {error}")
        return None
    if marked == text.isascii():
        failures.append(f"{name} is ASCII but begins with a byte-order mark" if marked else
                        f"{name} holds more than ASCII but has no byte-order mark")
    bare = len(re.findall(r"\r(?!\n)|(?<!\r)\n", text))
    if bare or not text.endswith("\r\n"):
        failures.append(f"{name}: {bare} line end(s) other than CRLF" if bare else
                        f"{name}: the last line has no CRLF")
    return text.replace("\r\n", "\n")


def check_guide(guide, name, failures):
    text = notepad_text("CZYTAJ.txt", guide, failures)
    if text is None:
        return
    if not re.search(rf"(?<![0-9.]){re.escape(name)}(?![0-9]|[.+-][0-9a-z])", text):
        failures.append(f"CZYTAJ.txt does not name the release {name}")
    if "@VEMORA_VERSION@" in text:
        failures.append("CZYTAJ.txt still holds the version mark")
    for placeholder in PLACEHOLDERS:
        if not re.search(rf"{placeholder}(?![a-z])", text):
            failures.append(f"CZYTAJ.txt does not describe {placeholder}")
    if not set("ąćęłńóśźż") & set(text):
        failures.append("CZYTAJ.txt has no Polish letters")


def debug_link_crc(dll):
    """The CRC that the DLL's .gnu_debuglink section holds for Vemora.dll.debug."""
    name = b"Vemora.dll.debug\0"
    at = dll.find(name)
    if at < 0:
        return None
    # The name, padded with zeros to a multiple of four bytes, then the CRC.
    (crc,) = struct.unpack_from("<I", dll, at + (len(name) + 3) // 4 * 4)
    return crc


def check(release_dir, name, source_dir, unpack_dir):
    failures = []
    main_name = f"Vemora-{name}.zip"
    debug_name = f"Vemora-{name}-debug.zip"
    others = sorted({file for file in os.listdir(release_dir) if file.endswith(".zip")} - {main_name, debug_name})
    if others:
        failures.append(f"{release_dir} holds {others} beside the release {name}")
    outer = {}
    for file_name in (main_name, debug_name, "SHA256SUMS"):
        with open(os.path.join(release_dir, file_name), "rb") as file:
            outer[file_name] = file.read()
    check_sums("SHA256SUMS beside the archives", outer["SHA256SUMS"],
               {main_name: outer[main_name], debug_name: outer[debug_name]}, failures)

    main = zipfile.ZipFile(os.path.join(release_dir, main_name))
    debug = zipfile.ZipFile(os.path.join(release_dir, debug_name))
    before = len(failures)
    check_entries(main_name, main, MAIN_ENTRIES, failures)
    check_entries(debug_name, debug, DEBUG_ENTRIES, failures)
    if len(failures) > before:
        return failures
    files = {name: main.read(name) for name in MAIN_ENTRIES}
    check_sums(f"SHA256SUMS in {main_name}", files["SHA256SUMS"],
               {name: data for name, data in files.items() if name != "SHA256SUMS"}, failures)

    if b"\r" in files["SHA256SUMS"]:
        failures.append(f"SHA256SUMS in {main_name} has CR in its line ends: sha256sum's format has LF")

    check_guide(files["CZYTAJ.txt"], name, failures)
    texts = {}
    for text_name in ("LICENSE", "CHANGELOG.md"):
        texts[text_name] = notepad_text(text_name, files[text_name], failures)
        with open(os.path.join(source_dir, text_name), "rb") as file:
            source = file.read().decode("utf-8")
        if texts[text_name] is not None and texts[text_name] != source:
            failures.append(f"{text_name} in {main_name} differs from the sources' beyond its line ends and mark")
    if texts["CHANGELOG.md"] is not None and not re.search(rf"^## \[{re.escape(name)}\]", texts["CHANGELOG.md"],
                                                           re.MULTILINE):
        failures.append(f"CHANGELOG.md has no section for {name}")

    crc = debug_link_crc(files["Vemora.dll"])
    if crc is None:
        failures.append("the released Vemora.dll has no debug link to Vemora.dll.debug")
    elif crc != zlib.crc32(debug.read("Vemora.dll.debug")):
        failures.append(f"Vemora.dll.debug in {debug_name} is not the released DLL's (debug link CRC {crc:08x})")
    if b".debug_info" in files["Vemora.dll"]:
        failures.append("the released Vemora.dll still holds debug information")

    shutil.rmtree(unpack_dir, ignore_errors=True)
    main.extractall(unpack_dir)
    # The check the guide gives Linux users, on the files as unpacked.
    check = subprocess.run(["sha256sum", "-c", "SHA256SUMS"], cwd=unpack_dir, capture_output=True, text=True)
    if check.returncode != 0:
        failures.append(f"sha256sum -c SHA256SUMS fails in the unpacked archive: "
                        f"{(check.stdout + check.stderr).strip()}")
    return failures


def release_name(version, source_dir):
    """The release's name as make release finds it, or None (with the reason
    printed) when entries wait under [Unreleased]."""
    query = subprocess.run([sys.executable, os.path.join(source_dir, "tools", "make_release.py"), "--name",
                            "--version", version, "--source-dir", source_dir], capture_output=True, text=True)
    if query.returncode == NOTHING_TO_RELEASE:
        print(f"SKIPPED: no release to check: {query.stderr.strip()}")
        return None
    if query.returncode != 0:
        raise ValueError(query.stderr.strip())
    return query.stdout.strip()


def main(argv):
    if len(argv) != 5:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    release_dir, version, source_dir, unpack_dir = argv[1:]
    # Nothing left unpacked from an earlier run stands in for the archive.
    shutil.rmtree(unpack_dir, ignore_errors=True)
    try:
        name = release_name(version, source_dir)
    except ValueError as error:
        print(f"FAIL: {error}")
        return 1
    if name is None:
        return SKIPPED
    missing = [file for file in (f"Vemora-{name}.zip", f"Vemora-{name}-debug.zip", "SHA256SUMS")
               if not os.path.isfile(os.path.join(release_dir, file))]
    if missing:
        print(f"SKIPPED: no {', '.join(missing)} in {release_dir}: run make release")
        return SKIPPED
    try:
        failures = check(release_dir, name, source_dir, unpack_dir)
    except (OSError, zipfile.BadZipFile, UnicodeDecodeError) as error:
        failures = [f"cannot read the release: {error}"]
    for failure in failures:
        print(f"FAIL: {failure}")
    if failures:
        print(f"(the archives are those make release last wrote into {release_dir}: after a change of the "
              f"sources, run it again)")
        return 1
    print(f"Vemora-{name}.zip and its debug archive: listing, sums (sha256sum -c too), text files, guide "
          f"and debug link as expected; unpacked into {unpack_dir}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
