#!/usr/bin/env python3
"""The closing lines of make test: one line per suite, then the totals.

    test_summary.py [--presets CMakePresets.json] [--results DIR] PRESET...

Each PRESET is a test preset of CMakePresets.json: its displayName says what
the suite is, and DIR/PRESET.xml (DIR is build/results beside the presets
unless given) what ran: the JUnit file of the suite's last whole run, which
make test keeps there (a slice run through the preset writes only the
preset's own file, so it never stands for the suite). One line per suite,
in the order given:

    32-bit Linux: 164 passed, 0 failed
    32-bit Windows under Wine: 4 passed, 0 failed, 22 skipped (22: VEMORA_NO_WINE is set: ...)

and last the totals: "N passed, N failed", with ", N skipped" where any
were. A GoogleTest program, one test to CTest, counts as its cases, read
from its closing lines ("[  PASSED  ] 118 tests."); one that failed beyond
its cases (a sanitizer's report at exit, a crash) counts one failure more.
A skipped test is one that said so (a skip code, a skip mark, or
disabled); why, is the last line it printed. A test that did not run for
another reason (a fixture it needs failed, its program is missing) counts as
failed, as ctest counts it. A suite's line names what failed, what did not
run for a failure before it, and why tests were skipped. A suite without
results (its configure or build failed, so its tests never ran) counts as
one failure, and so does one that ran no test. Exit status 1 when anything
failed.
"""

import argparse
import collections
import json
import os
import re
import sys
import xml.etree.ElementTree as ElementTree

# What a test prints before the reason it skips (cmake/testing.cmake).
SKIP_MARK = "SKIPPED:"
SKIPPED = {"SKIP_RETURN_CODE", "SKIP_REGULAR_EXPRESSION_MATCHED", "Disabled"}
# The closing lines of a GoogleTest program, by what they count.
GTEST_CASES = {
    "passed": re.compile(r"^\[  PASSED  \] (\d+) tests?\.", re.M),
    "failed": re.compile(r"^\[  FAILED  \] (\d+) tests?, listed below:", re.M),
    "skipped": re.compile(r"^\[  SKIPPED \] (\d+) tests?, listed below:", re.M),
}


def test_preset(presets, name):
    """The preset's fields, those it inherits included (its own win)."""
    by_name = {preset["name"]: preset for preset in presets.get("testPresets", [])}
    if name not in by_name:
        raise SystemExit("test_summary.py: no test preset %r" % name)
    preset = by_name[name]
    merged = {}
    inherits = preset.get("inherits", [])
    for parent in [inherits] if isinstance(inherits, str) else inherits:
        merged.update(test_preset(presets, parent))
    for key, value in preset.items():
        if isinstance(value, dict) and isinstance(merged.get(key), dict):
            value = {**merged[key], **value}
        merged[key] = value
    return merged


def results(junit_file):
    """Counter of passed, failed and skipped, and the notes that say which
    failed, which did not run for a failure before them, and why others
    were skipped."""
    counts = collections.Counter()
    failed = []
    not_run = collections.Counter()
    reasons = collections.Counter()
    for case in ElementTree.parse(junit_file).getroot().iter("testcase"):
        name, status = case.get("name"), case.get("status")
        skipped = case.find("skipped")
        output = case.findtext("system-out") or ""
        if status == "disabled" or (skipped is not None and skipped.get("message", "").split("=")[0] in SKIPPED):
            counts["skipped"] += 1
            lines = [line for line in output.splitlines() if line.strip()]
            reason = lines[-1].strip() if lines else "no reason given"
            reasons[re.sub("^" + re.escape(SKIP_MARK) + r"\s*", "", reason)] += 1
            continue
        ran = status in ("run", "fail")
        cases = {kind: int(found.group(1)) for kind, pattern in GTEST_CASES.items()
                 if ran and (found := pattern.search(output))}
        if cases:
            counts.update(cases)
            if "skipped" in cases:
                reasons["skipped by GoogleTest in %s" % name] += cases["skipped"]
            if status == "fail" and not cases.get("failed"):
                counts["failed"] += 1
        elif status == "run":
            counts["passed"] += 1
        else:
            counts["failed"] += 1
        if status == "fail":
            failed.append(name)
        elif status == "notrun":
            found = re.search(r"Failed test dependencies: (.*)", output)
            message = skipped.get("message") if skipped is not None else ""
            not_run[", as %s failed" % found.group(1).strip() if found else ": " + (message or "not started")] += 1
    notes = []
    if failed:
        notes.append("failed: " + ", ".join(failed[:5]) + (" and %d more" % (len(failed) - 5) if len(failed) > 5 else ""))
    notes += ["%d not run%s" % (count, why) for why, count in not_run.most_common()]
    notes += ["%d: %s" % (count, reason) for reason, count in reasons.most_common()]
    return counts, notes


def counted(counts):
    line = "%d passed, %d failed" % (counts["passed"], counts["failed"])
    if counts["skipped"]:
        line += ", %d skipped" % counts["skipped"]
    return line


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--presets", default=os.path.join(os.path.dirname(__file__), "..", "CMakePresets.json"))
    parser.add_argument("--results", help="the folder of the suites' JUnit files (build/results)")
    parser.add_argument("suites", nargs="+", metavar="PRESET")
    args = parser.parse_args()
    with open(args.presets, encoding="utf-8") as text:
        presets = json.load(text)
    results_dir = args.results or os.path.join(os.path.dirname(os.path.abspath(args.presets)), "build", "results")

    totals = collections.Counter()
    for name in args.suites:
        preset = test_preset(presets, name)
        title = preset.get("displayName", name)
        junit = os.path.join(results_dir, name + ".xml")
        if not os.path.exists(junit):
            totals["failed"] += 1
            print("%s: no results, 1 failed (its configure or build failed, or its tests did not run)" % title)
            continue
        counts, notes = results(junit)
        if not counts:
            totals["failed"] += 1
            print("%s: no tests ran, 1 failed" % title)
            continue
        totals.update(counts)
        print("%s: %s%s" % (title, counted(counts), " (%s)" % "; ".join(notes) if notes else ""))
    print(counted(totals))
    return 1 if totals["failed"] else 0


if __name__ == "__main__":
    sys.exit(main())
