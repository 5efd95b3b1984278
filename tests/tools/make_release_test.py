#!/usr/bin/env python3
"""The release writer, tools/make_release.py, on small inputs of its own:
what dates the entries, that the time zone does not matter, the entries'
order and attributes, the text files' byte-order marks and line ends, the
sums as sha256sum checks them, and what it refuses.

    make_release_test.py tools/make_release.py
"""

import hashlib
import os
import subprocess
import sys
import tempfile
import unittest
import zipfile

WRITER = None  # the script under test, from the command line

VERSION = "3.1.4.1"
GUIDE = "Wersja @VEMORA_VERSION@\nŻyczenia: @display, @nick, @name, @surname, @age.\n"
CHANGELOG = ("# Changelog\n\n## [3.1.4.1] - 2026-01-02\n\n"
             "### Added\n\n- A button, „Roześlij życzenia!”.\n").encode("utf-8")
LICENSE = b"MIT License\n\nCopyright (c) 2026\n"
BOM = b"\xef\xbb\xbf"
COMMIT_TIME = "2021-06-15T08:30:44+00:00"


class ReleaseWriterTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory()
        self.addCleanup(self.work.cleanup)
        self.source = os.path.join(self.work.name, "source")
        os.makedirs(os.path.join(self.source, "release"))
        self.write_sources()

    def write_sources(self):
        self.write("release/CZYTAJ.txt.in", GUIDE.encode("utf-8"))
        self.write("LICENSE", LICENSE)
        self.write("CHANGELOG.md", CHANGELOG)
        self.write("Vemora.dll", b"MZ the library")
        self.write("Vemora.dll.debug", b"the debug information")

    def write(self, name, data):
        with open(os.path.join(self.source, name), "wb") as file:
            file.write(data)

    def commit(self):
        """Makes the source a repository whose last commit is COMMIT_TIME."""
        env = dict(os.environ, GIT_AUTHOR_DATE=COMMIT_TIME, GIT_COMMITTER_DATE=COMMIT_TIME,
                   GIT_AUTHOR_NAME="t", GIT_AUTHOR_EMAIL="t@t", GIT_COMMITTER_NAME="t", GIT_COMMITTER_EMAIL="t@t")
        for command in (["init", "-q"], ["add", "."], ["commit", "-q", "-m", "sources"]):
            subprocess.run(["git", "-C", self.source] + command, check=True, env=env)

    def environment(self, epoch=None, tz="UTC"):
        env = {key: value for key, value in os.environ.items() if key != "SOURCE_DATE_EPOCH"}
        env["TZ"] = tz
        # A work folder inside some other repository must not borrow its commits.
        env["GIT_CEILING_DIRECTORIES"] = self.work.name
        if epoch is not None:
            env["SOURCE_DATE_EPOCH"] = epoch
        return env

    def release(self, out, epoch=None, tz="UTC"):
        env = self.environment(epoch, tz)
        out_dir = os.path.join(self.work.name, out)
        result = subprocess.run([sys.executable, WRITER, "--version", VERSION, "--source-dir", self.source,
                                 "--dll", os.path.join(self.source, "Vemora.dll"),
                                 "--debug", os.path.join(self.source, "Vemora.dll.debug"), "--out-dir", out_dir],
                                capture_output=True, text=True, env=env)
        return result, out_dir

    def archive(self, out_dir, debug=False):
        name = f"Vemora-{VERSION}-debug.zip" if debug else f"Vemora-{VERSION}.zip"
        return zipfile.ZipFile(os.path.join(out_dir, name))

    def test_entries_are_dated_by_the_epoch_in_utc_whatever_the_time_zone(self):
        _, west = self.release("west", epoch="1078833600", tz="America/Los_Angeles")
        _, east = self.release("east", epoch="1078833600", tz="Pacific/Kiritimati")
        for name in (f"Vemora-{VERSION}.zip", f"Vemora-{VERSION}-debug.zip", "SHA256SUMS"):
            with open(os.path.join(west, name), "rb") as a, open(os.path.join(east, name), "rb") as b:
                self.assertEqual(a.read(), b.read(), name)
        for debug in (False, True):
            for info in self.archive(west, debug).infolist():
                self.assertEqual(info.date_time, (2004, 3, 9, 12, 0, 0), info.filename)

    def test_without_an_epoch_the_last_commit_dates_the_entries(self):
        self.commit()
        result, out = self.release("out", tz="Asia/Tokyo")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual({info.date_time for info in self.archive(out).infolist()}, {(2021, 6, 15, 8, 30, 44)})

    def test_without_an_epoch_or_a_commit_the_changelog_dates_the_entries(self):
        # A source archive unpacked inside some other repository is dated as
        # one unpacked anywhere: by its own changelog, not that repository.
        self.commit()
        self.source = os.path.join(self.source, "unpacked")
        os.makedirs(os.path.join(self.source, "release"))
        self.write_sources()
        for tz in ("Pacific/Kiritimati", "America/Los_Angeles"):
            result, out = self.release("out-" + tz.split("/")[0], tz=tz)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertEqual({info.date_time for info in self.archive(out).infolist()}, {(2026, 1, 2, 0, 0, 0)})
        epoch = subprocess.run([sys.executable, WRITER, "--epoch", "--version", VERSION, "--source-dir", self.source],
                               capture_output=True, text=True, env=self.environment(tz="Asia/Tokyo"))
        self.assertEqual((epoch.returncode, epoch.stdout), (0, "1767312000\n"), epoch.stderr)

    def test_without_an_epoch_a_commit_or_a_dated_section_it_refuses(self):
        self.write("CHANGELOG.md", CHANGELOG.replace(b" - 2026-01-02", b""))
        result, out = self.release("out")
        self.assertEqual(result.returncode, 1)
        self.assertIn("SOURCE_DATE_EPOCH", result.stderr)
        self.assertFalse(os.path.exists(os.path.join(out, f"Vemora-{VERSION}.zip")))

    def test_a_time_before_1980_becomes_the_earliest_zip_date(self):
        _, out = self.release("out", epoch="0")
        self.assertEqual(self.archive(out).infolist()[0].date_time, (1980, 1, 1, 0, 0, 0))

    def test_entries_in_a_fixed_order_with_fixed_attributes_and_sums(self):
        _, out = self.release("out", epoch="1078833600")
        main = self.archive(out)
        self.assertEqual(main.namelist(), ["Vemora.dll", "CZYTAJ.txt", "LICENSE", "CHANGELOG.md", "SHA256SUMS"])
        self.assertEqual(self.archive(out, debug=True).namelist(), ["Vemora.dll.debug"])
        for info in main.infolist():
            self.assertEqual((info.external_attr >> 16, info.create_system, info.extra), (0o100644, 3, b""))
        self.assertEqual(main.read("Vemora.dll"), b"MZ the library")
        expected = "".join(f"{hashlib.sha256(main.read(name)).hexdigest()}  {name}\n"
                           for name in ("Vemora.dll", "CZYTAJ.txt", "LICENSE", "CHANGELOG.md"))
        self.assertEqual(main.read("SHA256SUMS").decode("ascii"), expected)
        check = subprocess.run(["sha256sum", "-c", "SHA256SUMS"], cwd=out, capture_output=True, text=True)
        self.assertEqual(check.returncode, 0, check.stdout + check.stderr)
        self.assertEqual(check.stdout.count(": OK"), 2)

    def test_the_guide_gets_the_version_a_byte_order_mark_and_crlf(self):
        _, out = self.release("out", epoch="1078833600")
        expected = "Wersja 3.1.4.1\r\nŻyczenia: @display, @nick, @name, @surname, @age.\r\n"
        self.assertEqual(self.archive(out).read("CZYTAJ.txt"), BOM + expected.encode("utf-8"))

    def test_licence_and_changelog_get_crlf_and_a_byte_order_mark_only_beyond_ascii(self):
        _, out = self.release("out", epoch="1078833600")
        main = self.archive(out)
        self.assertEqual(main.read("LICENSE"), b"MIT License\r\n\r\nCopyright (c) 2026\r\n")
        self.assertEqual(main.read("CHANGELOG.md"), BOM + CHANGELOG.replace(b"\n", b"\r\n"))

    def test_the_sums_inside_keep_lf_and_sha256sum_checks_the_unpacked_files(self):
        _, out = self.release("out", epoch="1078833600")
        unpacked = os.path.join(out, "unpacked")
        self.archive(out).extractall(unpacked)
        with open(os.path.join(unpacked, "SHA256SUMS"), "rb") as file:
            sums = file.read()
        self.assertNotIn(b"\r", sums)
        self.assertEqual(sums.count(b"\n"), 4)
        check = subprocess.run(["sha256sum", "-c", "SHA256SUMS"], cwd=unpacked, capture_output=True, text=True)
        self.assertEqual(check.returncode, 0, check.stdout + check.stderr)
        self.assertEqual(check.stdout.count(": OK"), 4)

    def test_a_guide_source_with_crlf_or_without_the_version_is_refused(self):
        for guide, complaint in ((GUIDE.replace("\n", "\r\n"), "LF line ends"), ("Bez wersji.\n", "names no version")):
            with self.subTest(complaint=complaint):
                self.write("release/CZYTAJ.txt.in", guide.encode("utf-8"))
                result, out = self.release("out-" + complaint.split()[0], epoch="1078833600")
                self.assertEqual(result.returncode, 1)
                self.assertIn(complaint, result.stderr)
                self.assertFalse(os.path.exists(out))

    def test_a_licence_or_changelog_with_crlf_a_byte_order_mark_or_not_utf8_is_refused(self):
        # The release adds the CRs and the mark itself: sources that already
        # had them would get them twice.
        cases = [("LICENSE", LICENSE.replace(b"\n", b"\r\n"), "LICENSE must have LF line ends"),
                 ("CHANGELOG.md", BOM + CHANGELOG, "CHANGELOG.md must not begin with a byte-order mark"),
                 ("LICENSE", b"Copyright (c) \xa9 2026\n", "LICENSE is not UTF-8")]
        for number, (name, data, complaint) in enumerate(cases):
            with self.subTest(complaint=complaint):
                self.write_sources()
                self.write(name, data)
                result, out = self.release(f"out-{number}", epoch="1078833600")
                self.assertEqual(result.returncode, 1)
                self.assertIn(complaint, result.stderr)
                self.assertFalse(os.path.exists(out))

    def test_a_changelog_without_this_version_is_refused(self):
        self.write("CHANGELOG.md", CHANGELOG.replace(b"[3.1.4.1]", b"[3.1.4.0]"))
        result, out = self.release("out", epoch="1078833600")
        self.assertEqual(result.returncode, 1)
        self.assertIn("## [3.1.4.1]", result.stderr)
        self.assertFalse(os.path.exists(out))


if __name__ == "__main__":
    if len(sys.argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    WRITER = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
