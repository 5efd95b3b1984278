#!/usr/bin/env python3
"""check_dll.py on copies of the built Vemora.dll, each with one fault put
in: the checker passes the library as built and fails each copy naming the
check that catches its fault, and no other.

    check_dll_test.py check_dll.py Vemora.dll VERSION
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

import pefile

CHECKER = DLL = VERSION = None


def utf16(text):
    return text.encode("utf-16-le") + b"\0\0"


class CheckDllCatchesFaults(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory()
        self.dll = os.path.join(self.work.name, "Vemora.dll")
        shutil.copyfile(DLL, self.dll)
        shutil.copyfile(DLL + ".debug", self.dll + ".debug")

    def tearDown(self):
        self.work.cleanup()

    def check(self, version=None):
        result = subprocess.run([sys.executable, CHECKER, self.dll, version or VERSION],
                                capture_output=True, text=True)
        failed = {match.group(1) for match in re.finditer(r"^FAIL: ([^:]+):", result.stdout, re.MULTILINE)}
        return result.returncode, failed, result.stdout

    def assertFails(self, *checks, version=None):
        status, failed, output = self.check(version)
        self.assertEqual((status, failed), (1, set(checks)), output)

    def edit_headers(self, change):
        pe = pefile.PE(self.dll)
        change(pe)
        data = pe.write()
        pe.close()
        with open(self.dll, "wb") as out:
            out.write(data)

    def replace_once(self, path, old, new):
        with open(path, "rb") as source:
            data = source.read()
        self.assertEqual(data.count(old), 1, old)
        with open(path, "wb") as out:
            out.write(data.replace(old, new))

    def test_the_built_library_passes(self):
        status, failed, output = self.check()
        self.assertEqual((status, failed), (0, set()), output)
        self.assertIn("version block as expected", output)

    def test_each_hardening_flag_and_writable_code(self):
        cases = [
            ("DEP", lambda pe: setattr(pe.OPTIONAL_HEADER, "DllCharacteristics",
                                       pe.OPTIONAL_HEADER.DllCharacteristics & ~0x0100)),
            ("no SEH", lambda pe: setattr(pe.OPTIONAL_HEADER, "DllCharacteristics",
                                          pe.OPTIONAL_HEADER.DllCharacteristics & ~0x0400)),
            ("ASLR", lambda pe: setattr(pe.OPTIONAL_HEADER, "DllCharacteristics",
                                        pe.OPTIONAL_HEADER.DllCharacteristics & ~0x0040)),
            ("ASLR", lambda pe: setattr(pe.OPTIONAL_HEADER.DATA_DIRECTORY[5], "Size", 0)),
            ("W+X", lambda pe: setattr(pe.sections[1], "Characteristics",
                                       pe.sections[1].Characteristics | 0x20000000)),
            ("machine", lambda pe: setattr(pe.FILE_HEADER, "Machine", 0x8664)),
        ]
        for check, change in cases:
            with self.subTest(check):
                shutil.copyfile(DLL, self.dll)
                self.edit_headers(change)
                self.assertFails(check)

    def test_export_imports_and_entry_point(self):
        cases = [
            ("export", b"_IMessageProc@4\0", b"_IMessageProx@4\0"),
            ("imports", b"memchr\0", b"memchx\0"),
            ("imports", b"KERNEL32.dll\0", b"KERNEL33.dll\0"),
            ("entry point", bytes.fromhex("B801000000C20C00"), bytes.fromhex("B800000000C20C00")),
        ]
        for check, old, new in cases:
            with self.subTest(check, new=new):
                shutil.copyfile(DLL, self.dll)
                self.replace_once(self.dll, old, new)
                self.assertFails(check)

    def test_version_block_strings_and_numbers(self):
        self.replace_once(self.dll, utf16("Vemora"), utf16("Vemorb"))
        self.assertFails("version")
        shutil.copyfile(DLL, self.dll)
        words = VERSION.split(".")
        self.assertFails("version", version=".".join(words[:-1] + [str(int(words[-1]) + 1)]))

    def test_debug_information_beside_the_library(self):
        with open(self.dll + ".debug", "ab") as debug:
            debug.write(b"\0")
        self.assertFails("debug link")
        os.remove(self.dll + ".debug")
        self.assertFails("debug link")


if __name__ == "__main__":
    CHECKER, DLL, VERSION = sys.argv[1:4]
    del sys.argv[1:4]
    unittest.main()
