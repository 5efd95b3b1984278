#!/usr/bin/env python3
"""The release writer, tools/make_release.py, on small inputs of its own:
what names and dates a release or a snapshot, that neither the time zone nor
the history of the copy matters, the entries' order and attributes, the
text files' byte-order marks and line ends, the sums as sha256sum checks
them, and what it refuses.

    make_release_test.py tools/make_release.py
"""

import hashlib
import os
import re
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

    def release(self, out, epoch=None, tz="UTC", snapshot=False):
        out_dir = os.path.join(self.work.name, out)
        result = self.run_writer("--dll", os.path.join(self.source, "Vemora.dll"),
                                 "--debug", os.path.join(self.source, "Vemora.dll.debug"), "--out-dir", out_dir,
                                 epoch=epoch, tz=tz, snapshot=snapshot)
        return result, out_dir

    def run_writer(self, *arguments, epoch=None, tz="UTC", snapshot=False):
        return subprocess.run([sys.executable, WRITER, "--version", VERSION, "--source-dir", self.source,
                               *(["--snapshot"] if snapshot else []), *arguments],
                              capture_output=True, text=True, env=self.environment(epoch, tz))

    def query(self, what, epoch=None, snapshot=False):
        """What --name or --epoch prints, or the failure."""
        result = self.run_writer(what, epoch=epoch, snapshot=snapshot)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout.strip()

    def archive(self, out_dir, debug=False, name=VERSION):
        return zipfile.ZipFile(os.path.join(out_dir, f"Vemora-{name}-debug.zip" if debug else f"Vemora-{name}.zip"))

    def changelog(self, *sections, unreleased=""):
        """A changelog with an [Unreleased] section and these, newest first."""
        text = "# Changelog\n\n## [Unreleased]\n" + unreleased + "\n"
        text += "".join(f"## {heading}\n\n- A change.\n\n" for heading in sections)
        self.write("CHANGELOG.md", text.encode("utf-8"))

    def assert_refused(self, result, status, complaint, out_dir=None):
        self.assertEqual(result.returncode, status, result.stdout + result.stderr)
        self.assertEqual(result.stderr.count("\n"), 1, result.stderr)
        self.assertIn(complaint, result.stderr)
        if out_dir:
            self.assertFalse(os.path.exists(out_dir))

    def test_entries_are_dated_by_the_epoch_in_utc_whatever_the_time_zone(self):
        _, west = self.release("west", epoch="1078833600", tz="America/Los_Angeles")
        _, east = self.release("east", epoch="1078833600", tz="Pacific/Kiritimati")
        for name in (f"Vemora-{VERSION}.zip", f"Vemora-{VERSION}-debug.zip", "SHA256SUMS"):
            with open(os.path.join(west, name), "rb") as a, open(os.path.join(east, name), "rb") as b:
                self.assertEqual(a.read(), b.read(), name)
        for debug in (False, True):
            for info in self.archive(west, debug).infolist():
                self.assertEqual(info.date_time, (2004, 3, 9, 12, 0, 0), info.filename)

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

    def test_the_newest_dated_section_names_and_dates_a_release_in_a_clone_or_a_copy(self):
        self.changelog("[3.1.4.1-2] - 2026-03-04", "[3.1.4.1] - 2026-01-02")
        _, copy = self.release("copy", tz="Pacific/Kiritimati")
        # A clone, its last commit years before: the changelog still dates it.
        self.commit()
        result, clone = self.release("clone", tz="America/Los_Angeles")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(sorted(os.listdir(clone)), ["SHA256SUMS", "Vemora-3.1.4.1-2-debug.zip", "Vemora-3.1.4.1-2.zip"])
        for name in os.listdir(clone):
            with open(os.path.join(clone, name), "rb") as a, open(os.path.join(copy, name), "rb") as b:
                self.assertEqual(a.read(), b.read(), name)
        main = self.archive(clone, name="3.1.4.1-2")
        self.assertEqual({info.date_time for info in main.infolist()}, {(2026, 3, 4, 0, 0, 0)})
        self.assertTrue(main.read("CZYTAJ.txt").startswith(BOM + b"Wersja 3.1.4.1-2\r\n"))
        self.assertEqual((self.query("--name"), self.query("--epoch")), ("3.1.4.1-2", "1772582400"))
        # SOURCE_DATE_EPOCH still rules the date, not the name.
        self.assertEqual((self.query("--name", epoch="1078833600"), self.query("--epoch", epoch="1078833600")),
                         ("3.1.4.1-2", "1078833600"))

    def test_entries_under_unreleased_refuse_a_release_in_one_line_naming_the_changelog(self):
        for number, entries in enumerate(("### Fixed\n\n- A fix.\n", "- A fix.\n", "  text\n")):
            with self.subTest(entries=entries):
                self.changelog("[3.1.4.1] - 2026-01-02", unreleased="\n" + entries)
                result, out = self.release(f"out-{number}", epoch="1078833600")
                self.assert_refused(result, 3, "CHANGELOG.md", out)
                self.assertIn("[Unreleased]", result.stderr)
                for query in ("--name", "--epoch"):
                    self.assert_refused(self.run_writer(query), 3, "CHANGELOG.md")
        # Blank lines are no entries.
        self.changelog("[3.1.4.1] - 2026-01-02", unreleased="\n\n  \n")
        result, out = self.release("blank")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.archive(out).infolist()[0].date_time, (2026, 1, 2, 0, 0, 0))

    def test_a_release_name_is_the_dll_version_and_a_packaging_revision_from_two(self):
        for accepted in ("3.1.4.1", "3.1.4.1-2", "3.1.4.1-10"):
            with self.subTest(name=accepted):
                self.changelog(f"[{accepted}] - 2026-01-02", "[3.1.4.1] - 2025-12-01")
                self.assertEqual(self.query("--name"), accepted)
        refused = [("3.1.4.2", "not of the DLL's version 3.1.4.1"), ("3.1.4", "not of the DLL's version 3.1.4.1"),
                   ("3.1.4.2-2", "not of the DLL's version 3.1.4.1"), ("3.1.4.1-1", "no release name"),
                   ("3.1.4.1-02", "no release name"), ("3.1.4.1-rc1", "no release name"),
                   ("3.1.4.1.2", "not of the DLL's version 3.1.4.1")]
        for number, (name, complaint) in enumerate(refused):
            with self.subTest(name=name):
                # Only the newest section counts: an older good one does not save it.
                self.changelog(f"[{name}] - 2026-01-02", "[3.1.4.1] - 2025-12-01")
                result, out = self.release(f"out-{number}", epoch="1078833600")
                self.assert_refused(result, 1, complaint, out)
        for number, (heading, complaint) in enumerate((("[3.1.4.1]", "dates no release"),
                                                       ("[3.1.4.1] - 2026-02-30", "no day of the calendar"))):
            with self.subTest(heading=heading):
                self.changelog(heading)
                result, out = self.release(f"undated-{number}")
                self.assert_refused(result, 1, complaint, out)

    def test_a_snapshot_is_named_and_dated_by_its_commit_never_as_a_release(self):
        # Entries under [Unreleased] do not stop a snapshot.
        self.changelog("[3.1.4.1] - 2026-01-02", unreleased="\n- Not yet released.\n")
        result, out = self.release("no-commit", snapshot=True)
        self.assert_refused(result, 1, "not the top of a git work tree", out)
        self.commit()
        commit = subprocess.run(["git", "-C", self.source, "rev-parse", "HEAD"], check=True, capture_output=True,
                                text=True).stdout.strip()
        result, out = self.release("clean", snapshot=True, tz="Asia/Tokyo")
        self.assertEqual(result.returncode, 0, result.stderr)
        name = f"3.1.4.1+git.{commit[:12]}"
        self.assertEqual({info.date_time for info in self.archive(out, name=name).infolist()},
                         {(2021, 6, 15, 8, 30, 44)})
        self.assertEqual(self.query("--epoch", epoch="1078833600", snapshot=True), "1078833600")
        self.write("LICENSE", LICENSE + b"Changed.\n")
        dirty = self.query("--name", snapshot=True)
        self.assertEqual(dirty, name + ".dirty")
        # Written as a changelog's newest section, neither name is a release's.
        for snapshot_name in (name, dirty):
            with self.subTest(name=snapshot_name):
                self.changelog(f"[{snapshot_name}] - 2026-01-02")
                self.assert_refused(self.run_writer("--name"), 1, "no release name")

    def test_the_archives_of_an_earlier_name_leave_the_folder(self):
        self.changelog("[3.1.4.1] - 2026-01-02")
        _, out = self.release("out")
        self.changelog("[3.1.4.1-2] - 2026-01-05", "[3.1.4.1] - 2026-01-02")
        with open(os.path.join(out, "notes.txt"), "w") as file:
            file.write("not an archive\n")
        result, out = self.release("out")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(sorted(os.listdir(out)),
                         ["SHA256SUMS", "Vemora-3.1.4.1-2-debug.zip", "Vemora-3.1.4.1-2.zip", "notes.txt"])
        with open(os.path.join(out, "SHA256SUMS")) as file:
            self.assertEqual(re.findall(r"  (\S+)", file.read()), ["Vemora-3.1.4.1-2.zip", "Vemora-3.1.4.1-2-debug.zip"])


if __name__ == "__main__":
    if len(sys.argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    WRITER = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
