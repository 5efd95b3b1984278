#!/usr/bin/env python3
"""check_so.py on copies of the built vemora.so, each with one fault put in:
the checker passes the library as built and fails each copy naming the check
that catches its fault.

    check_so_test.py check_so.py vemora.so
"""

import os
import re
import subprocess
import sys
import tempfile
import unittest

CHECKER = LIBRARY = None
EM_X86_64 = 62


class CheckSoCatchesFaults(unittest.TestCase):
    def check(self, path):
        result = subprocess.run([sys.executable, CHECKER, path], capture_output=True, text=True)
        failed = {match.group(1) for match in re.finditer(r"^FAIL: ([^:]+):", result.stdout, re.MULTILINE)}
        return result.returncode, failed, result.stdout

    def test_the_built_library_passes_and_each_fault_is_named(self):
        status, failed, output = self.check(LIBRARY)
        self.assertEqual((status, failed), (0, set()), output)
        with open(LIBRARY, "rb") as source:
            built = source.read()
        # e_machine is the half-word at offset 18 of the ELF header.
        cases = [
            ("exports", built.replace(b"IMessageProc\0", b"IMessageProx\0")),
            ("needs", built.replace(b"libc.so.6\0", b"libz.so.6\0")),
            ("machine", built[:18] + EM_X86_64.to_bytes(2, "little") + built[20:]),
        ]
        with tempfile.TemporaryDirectory() as work:
            for check, data in cases:
                with self.subTest(check):
                    self.assertTrue(data != built, "the fault was not put in")
                    path = os.path.join(work, "vemora.so")
                    with open(path, "wb") as out:
                        out.write(data)
                    status, failed, output = self.check(path)
                    self.assertEqual((status, failed), (1, {check}), output)


if __name__ == "__main__":
    CHECKER, LIBRARY = sys.argv[1:3]
    del sys.argv[1:3]
    unittest.main()
