#!/usr/bin/env python3
"""Checks the release archives as a user gets them, then unpacks the main one
for the end-to-end run of the released DLL.

    check_release_archive.py RELEASE_DIR VERSION SOURCE_DIR UNPACK_DIR

Exit 77 (a skip) when RELEASE_DIR holds no archives: `make release` writes
them. RELEASE_DIR (dist/release) must hold
Vemora-VERSION.zip and Vemora-VERSION-debug.zip, with a SHA256SUMS that
verifies them. The main archive lists exactly Vemora.dll, CZYTAJ.txt,
LICENSE, CHANGELOG.md and SHA256SUMS, in that order, each a plain rw-r--r--
file of one date with no extra fields, and its SHA256SUMS verifies the
others. CZYTAJ.txt is UTF-8 with a byte-order mark and CRLF line ends and
names the version and the five placeholders; LICENSE and CHANGELOG.md are
those of the sources. The debug archive holds Vemora.dll.debug, the very
file the DLL's debug link names (its CRC matches).
"""

import hashlib
import os
import re
import shutil
import struct
import sys
import zipfile
import zlib

MAIN_ENTRIES = ["Vemora.dll", "CZYTAJ.txt", "LICENSE", "CHANGELOG.md", "SHA256SUMS"]
DEBUG_ENTRIES = ["Vemora.dll.debug"]
PLACEHOLDERS = ["@display", "@nick", "@name", "@surname", "@age"]
BOM = b"\xef\xbb\xbf"
SKIPPED = 77  # CTest's SKIP_RETURN_CODE


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


def check_guide(guide, version, failures):
    if not guide.startswith(BOM):
        failures.append("CZYTAJ.txt does not begin with the UTF-8 byte-order mark")
    try:
        text = guide[len(BOM):].decode("utf-8")
    except UnicodeDecodeError as error:
        failures.append(f"CZYTAJ.txt is not UTF-8: {error}")
        return
    bare = len(re.findall(r"\r(?!\n)|(?<!\r)\n", text))
    if bare or not text.endswith("\r\n"):
        failures.append(f"CZYTAJ.txt: {bare} line end(s) other than CRLF" if bare else
                        "CZYTAJ.txt: the last line has no CRLF")
    if not re.search(rf"(?<![0-9.]){re.escape(version)}(?![0-9]|\.[0-9])", text):
        failures.append(f"CZYTAJ.txt does not name the version {version}")
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


def check(release_dir, version, source_dir, unpack_dir):
    failures = []
    main_name = f"Vemora-{version}.zip"
    debug_name = f"Vemora-{version}-debug.zip"
    outer = {}
    for name in (main_name, debug_name, "SHA256SUMS"):
        path = os.path.join(release_dir, name)
        with open(path, "rb") as file:
            outer[name] = file.read()
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

    check_guide(files["CZYTAJ.txt"], version, failures)
    for name in ("LICENSE", "CHANGELOG.md"):
        with open(os.path.join(source_dir, name), "rb") as file:
            if files[name] != file.read():
                failures.append(f"{name} in {main_name} differs from the sources'")
    if not re.search(rf"^## \[{re.escape(version)}\]", files["CHANGELOG.md"].decode("utf-8"), re.MULTILINE):
        failures.append(f"CHANGELOG.md has no section for {version}")

    crc = debug_link_crc(files["Vemora.dll"])
    if crc is None:
        failures.append("the released Vemora.dll has no debug link to Vemora.dll.debug")
    elif crc != zlib.crc32(debug.read("Vemora.dll.debug")):
        failures.append(f"Vemora.dll.debug in {debug_name} is not the released DLL's (debug link CRC {crc:08x})")
    if b".debug_info" in files["Vemora.dll"]:
        failures.append("the released Vemora.dll still holds debug information")

    shutil.rmtree(unpack_dir, ignore_errors=True)
    main.extractall(unpack_dir)
    return failures


def main(argv):
    if len(argv) != 5:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    release_dir, version, _, unpack_dir = argv[1:]
    missing = [name for name in (f"Vemora-{version}.zip", f"Vemora-{version}-debug.zip", "SHA256SUMS")
               if not os.path.isfile(os.path.join(release_dir, name))]
    if missing:
        # Nothing left unpacked from an earlier run stands in for the archive.
        shutil.rmtree(unpack_dir, ignore_errors=True)
        print(f"SKIPPED: no {', '.join(missing)} in {release_dir}: run make release")
        return SKIPPED
    try:
        failures = check(*argv[1:])
    except (OSError, zipfile.BadZipFile, UnicodeDecodeError) as error:
        failures = [f"cannot read the release: {error}"]
    for failure in failures:
        print(f"FAIL: {failure}")
    if failures:
        print(f"(the archives are those make release last wrote into {release_dir}: after a change of the "
              f"sources, run it again)")
        return 1
    print(f"Vemora-{argv[2]}.zip and its debug archive: listing, sums, guide and debug link as expected; "
          f"unpacked into {argv[4]}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
