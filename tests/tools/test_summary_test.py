#!/usr/bin/env python3
"""tools/test_summary.py on presets and JUnit files of its own, written as
ctest writes them: what each suite's line and the totals say, and the exit
status.

    test_summary_test.py tools/test_summary.py
"""

import json
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = None


def junit(*cases):
    """A ctest JUnit file of (name, status, skipped message or None, output)."""
    body = []
    for name, status, message, output in cases:
        skipped = '<skipped message="%s"/>' % message if message else ""
        body.append('<testcase name="%s" status="%s">%s<system-out>%s</system-out></testcase>'
                    % (name, status, skipped, output))
    return '<?xml version="1.0"?><testsuite tests="%d">%s</testsuite>' % (len(cases), "".join(body))


class TestSummary(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory()
        self.dir = self.work.name
        presets = {"version": 6, "testPresets": [
            {"name": "base", "hidden": True,
             "output": {"outputOnFailure": True, "outputJUnitFile": "${sourceDir}/junit/${presetName}.xml"}},
            {"name": "linux", "inherits": "base", "displayName": "32-bit Linux"},
            {"name": "windows", "inherits": ["base"], "displayName": "32-bit Windows under Wine"},
            {"name": "plain", "inherits": "base"},
        ]}
        with open(os.path.join(self.dir, "CMakePresets.json"), "w") as out:
            json.dump(presets, out)
        os.mkdir(os.path.join(self.dir, "results"))

    def tearDown(self):
        self.work.cleanup()

    def write(self, preset, *cases):
        with open(os.path.join(self.dir, "results", preset + ".xml"), "w") as out:
            out.write(junit(*cases))

    def summary(self, *presets):
        result = subprocess.run([sys.executable, SCRIPT, "--presets", os.path.join(self.dir, "CMakePresets.json"),
                                 "--results", os.path.join(self.dir, "results"), *presets],
                                capture_output=True, text=True)
        return result.returncode, result.stdout.splitlines()

    def test_suites_and_totals_skips_named_only_where_there_are_any(self):
        self.write("linux", ("a", "run", None, ""), ("b", "run", None, ""), ("c", "run", None, ""))
        self.write("windows", ("dll", "run", None, ""),
                   ("unit", "notrun", "SKIP_RETURN_CODE=77", "VEMORA_NO_WINE is set: nothing runs\n"),
                   ("e2e.x", "notrun", "SKIP_REGULAR_EXPRESSION_MATCHED", "ran\nSKIPPED: VEMORA_NO_WINE is set: nothing runs\n"),
                   ("e2e.y", "notrun", "SKIP_REGULAR_EXPRESSION_MATCHED", "SKIPPED: no Linux tree: run make linux"),
                   ("off", "disabled", None, "Disabled"))
        status, lines = self.summary("linux", "windows")
        self.assertEqual(status, 0)
        self.assertEqual(lines, [
            "32-bit Linux: 3 passed, 0 failed",
            "32-bit Windows under Wine: 1 passed, 0 failed, 4 skipped "
            "(2: VEMORA_NO_WINE is set: nothing runs; 1: no Linux tree: run make linux; 1: Disabled)",
            "4 passed, 0 failed, 4 skipped",
        ])

    def test_failures_and_tests_not_run_count_as_failed(self):
        self.write("linux", ("a", "run", None, ""), ("b", "fail", None, "boom"))
        self.write("windows", ("wine_ready", "fail", None, "Wine cannot be set up here"),
                   ("unit", "notrun", "Fixture dependency failed", "Failed test dependencies: wine_ready"),
                   ("gone", "notrun", "Unable to find executable", ""))
        status, lines = self.summary("linux", "windows")
        self.assertEqual(status, 1)
        self.assertEqual(lines, ["32-bit Linux: 1 passed, 1 failed (failed: b)",
                                 "32-bit Windows under Wine: 0 passed, 3 failed (failed: wine_ready; "
                                 "1 not run, as wine_ready failed; 1 not run: Unable to find executable)",
                                 "1 passed, 4 failed"])

    def test_a_suite_without_results_is_a_failure_named_by_its_preset(self):
        self.write("linux", ("a", "run", None, ""))
        status, lines = self.summary("linux", "plain")
        self.assertEqual(status, 1)
        self.assertEqual(lines[1:], ["plain: no results, 1 failed (its configure or build failed, or its tests did not run)",
                                     "1 passed, 1 failed"])

    def test_a_googletest_program_counts_as_its_cases(self):
        tail = "[==========] %d tests from 3 test suites ran. (5 ms total)\n"
        self.write("linux",
                   ("unit", "run", None, "[ RUN      ] A.B\n" + tail % 118 + "[  PASSED  ] 118 tests.\n"),
                   ("host", "fail", None, tail % 22 + "[  PASSED  ] 20 tests.\n"
                    "[  FAILED  ] 2 tests, listed below:\n[  FAILED  ] C.D\n[  FAILED  ] C.E\n\n 2 FAILED TESTS\n"),
                   ("lib", "run", None, tail % 3 + "[  PASSED  ] 2 tests.\n"
                    "[  SKIPPED ] 1 test, listed below:\n[  SKIPPED ] L.M\n"),
                   # All its cases passed, then the sanitizer reported a leak at exit.
                   ("tape", "fail", None, tail % 1 + "[  PASSED  ] 1 test.\n==1==ERROR: LeakSanitizer\n"),
                   ("crashed", "fail", None, "[ RUN      ] X.Y\nSegmentation fault\n"),
                   ("e2e.x", "run", None, "all steps agree\n"))
        status, lines = self.summary("linux")
        self.assertEqual(status, 1)
        self.assertEqual(lines, ["32-bit Linux: 142 passed, 4 failed, 1 skipped "
                                 "(failed: host, tape, crashed; 1: skipped by GoogleTest in lib)",
                                 "142 passed, 4 failed, 1 skipped"])

    def test_a_suite_that_ran_no_test_is_a_failure(self):
        self.write("linux")
        status, lines = self.summary("linux")
        self.assertEqual((status, lines), (1, ["32-bit Linux: no tests ran, 1 failed", "0 passed, 1 failed"]))

    def test_an_unknown_preset_is_refused(self):
        status, _ = self.summary("nowhere")
        self.assertNotEqual(status, 0)


if __name__ == "__main__":
    SCRIPT = sys.argv.pop(1)
    unittest.main()
