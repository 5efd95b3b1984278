#!/usr/bin/env python3
"""tools/coverage_check.py on inputs of its own: which ctest runs are slices,
and how the conditions gcov reports are merged over the copies of one
inline function and kept to src/.

    coverage_check_test.py tools/coverage_check.py
"""

import importlib
import json
import os
import stat
import sys
import tempfile
import unittest

check = None


class Slices(unittest.TestCase):
    def test_only_options_that_choose_tests_make_a_slice(self):
        self.assertEqual(check.slicing_options([]), [])
        self.assertEqual(check.slicing_options(["--preset", "coverage", "-j", "2", "--output-on-failure"]), [])
        self.assertEqual(check.slicing_options(["--test-dir", "build/coverage", "-L", "e2e"]), ["-L e2e"])
        self.assertEqual(check.slicing_options(["-R", "unit", "-E", "x"]), ["-R unit", "-E x"])
        self.assertEqual(check.slicing_options(["--label-regex=e2e", "--rerun-failed"]),
                         ["--label-regex=e2e", "--rerun-failed"])
        # An option's value that looks like an option is a value all the same.
        self.assertEqual(check.slicing_options(["--test-dir", "-L"]), [])


class Conditions(unittest.TestCase):
    """A stand-in gcov prints the documents given, one a line, for the count
    files it is asked about."""

    def setUp(self):
        self.work = tempfile.TemporaryDirectory()
        self.source = os.path.join(self.work.name, "checkout")
        self.build = os.path.join(self.source, "build")
        for folder in ("a", "b"):
            os.makedirs(os.path.join(self.build, folder))
            open(os.path.join(self.build, folder, "x.gcda"), "w").close()

    def tearDown(self):
        self.work.cleanup()

    def gcov(self, *documents):
        output = os.path.join(self.work.name, "documents")
        with open(output, "w") as out:
            out.write("\n".join(json.dumps(document) for document in documents) + "\n")
        path = os.path.join(self.work.name, "gcov")
        with open(path, "w") as script:
            script.write("#!/bin/sh\ncat '%s'\n" % output)
        os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR)
        return path

    def document(self, file, line, count, untaken_true=(), untaken_false=()):
        return {"current_working_directory": self.build, "files": [{"file": file, "lines": [{
            "line_number": line, "conditions": [{"count": count, "covered": count - len(untaken_true) - len(untaken_false),
                                                 "not_covered_true": list(untaken_true),
                                                 "not_covered_false": list(untaken_false)}]}]}]}

    def test_an_outcome_is_taken_where_any_copy_took_it_and_only_src_counts(self):
        header = os.path.join(self.source, "src", "birthday", "wish_template.h")
        gcov = self.gcov(
            self.document(header, 40, 4, untaken_true=[0], untaken_false=[1]),
            self.document("../src/birthday/wish_template.h", 40, 4, untaken_true=[0, 1]),
            self.document(os.path.join(self.source, "tools", "wire", "requests.cpp"), 9, 2, untaken_true=[0]),
            self.document("/usr/include/c++/14/bits/basic_string.h", 9, 2, untaken_true=[0]))
        merged = check.gcov_conditions(gcov, self.build, self.source)
        # The second copy names the file relative to the tree; both are one line.
        self.assertEqual(merged, {(os.path.join("src", "birthday", "wish_template.h"), 40, 0): [4, {("true", 0)}]})


if __name__ == "__main__":
    tool = sys.argv.pop(1)
    sys.path.insert(0, os.path.dirname(os.path.abspath(tool)))
    check = importlib.import_module(os.path.splitext(os.path.basename(tool))[0])
    unittest.main(verbosity=1)
