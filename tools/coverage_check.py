#!/usr/bin/env python3
"""The coverage of the plugin's code (src/) after the coverage tree's tests ran.

Runs gcovr over the counts the tests left in the build tree, writes the HTML
report (one page per file, each line with its branches), and prints one line:
lines, functions and branches of src/ taken, and how many are excluded where
they stand. Anything of src/ left untaken is then listed as file:line, and
the exit status is 1: every line, function and branch of the plugin must be
taken by its tests.

What is not counted: branches gcc adds that no source can take (gcovr's
--exclude-unreachable-branches), those that only an exception would take
(--exclude-throw-branches; the plugin is built without exceptions, the tests
calling its inline functions are not), and what src/ itself marks with
GCOVR_EXCL_LINE or GCOVR_EXCL_BR_LINE. Each such marker has to say why after
a colon ("GCOVR_EXCL_BR_LINE: ..."); one without a reason fails the check.
"""

import argparse
import json
import os
import re
import subprocess
import sys

MARKER = re.compile(r"\b(?:GCOVR|LCOV|GCOV)_EXCL_(?:BR_)?(LINE|START|STOP)\b(.*)")


def run_gcovr(source_dir, build_dir, report_dir, json_path):
    os.makedirs(report_dir, exist_ok=True)
    # No page of an earlier report stays behind (a file since removed).
    for name in os.listdir(report_dir):
        if name.startswith("index.") and name.endswith(".html") or name == "summary.txt":
            os.remove(os.path.join(report_dir, name))
    command = [
        "gcovr",
        "--root", source_dir,
        "--filter", re.escape(os.path.join(source_dir, "src") + os.sep),
        "--exclude-unreachable-branches",
        "--exclude-throw-branches",
        "--json", json_path,
        "--html-details", os.path.join(report_dir, "index.html"),
        "--html-title", "Vemora: coverage of src/",
        build_dir,
    ]
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if result.returncode != 0:
        sys.stdout.write(result.stdout)
        raise SystemExit("coverage: gcovr failed (exit %d)" % result.returncode)


def exclusions(source_dir):
    """Every exclusion marker in src/ but the ends of regions, as (file, line, has a reason)."""
    found = []
    src = os.path.join(source_dir, "src")
    for folder, _, names in os.walk(src):
        for name in sorted(names):
            path = os.path.join(folder, name)
            try:
                with open(path, encoding="utf-8") as text:
                    lines = text.read().splitlines()
            except UnicodeDecodeError:
                continue
            for number, line in enumerate(lines, 1):
                match = MARKER.search(line)
                if not match:
                    continue
                if match.group(1) == "STOP":
                    continue
                reason = match.group(2).strip()
                has_reason = reason.startswith(":") and len(reason) > 1
                found.append((os.path.relpath(path, source_dir), number, has_reason))
    return found


def source_line(source_dir, file, number, cache={}):
    if file not in cache:
        with open(os.path.join(source_dir, file), encoding="utf-8", errors="replace") as text:
            cache[file] = text.read().splitlines()
    lines = cache[file]
    return lines[number - 1].strip() if 0 < number <= len(lines) else ""


def percent(taken, total):
    return "%.1f%% (%d of %d)" % (100.0 * taken / total if total else 100.0, taken, total)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--report-dir", required=True)
    args = parser.parse_args()
    source_dir = os.path.abspath(args.source_dir)
    build_dir = os.path.abspath(args.build_dir)
    report_dir = os.path.abspath(args.report_dir)
    json_path = os.path.join(report_dir, "coverage.json")

    run_gcovr(source_dir, build_dir, report_dir, json_path)
    with open(json_path, encoding="utf-8") as data:
        files = json.load(data)["files"]

    lines = [0, 0]
    functions = [0, 0]
    branches = [0, 0]
    missed = []
    for entry in sorted(files, key=lambda f: f["file"]):
        file = entry["file"]
        for line in entry["lines"]:
            if line.get("gcovr/noncode") or line.get("gcovr/excluded"):
                continue
            number = line["line_number"]
            lines[1] += 1
            if line["count"] > 0:
                lines[0] += 1
            else:
                missed.append((file, number, "line never run"))
            counts = [branch["count"] for branch in line["branches"]]
            branches[1] += len(counts)
            branches[0] += sum(1 for count in counts if count > 0)
            untaken = [str(i + 1) for i, count in enumerate(counts) if count == 0]
            if untaken:
                missed.append((file, number, "branch %s of %d never taken" % (", ".join(untaken), len(counts))))
        for function in entry.get("functions", []):
            if function.get("gcovr/excluded"):
                continue
            functions[1] += 1
            if function["execution_count"] > 0:
                functions[0] += 1
            else:
                missed.append((file, function["lineno"], "function %s never called" % function["name"]))

    marks = exclusions(source_dir)
    unexplained = [(file, number, "exclusion without a reason (write it after a colon)")
                   for file, number, has_reason in marks if not has_reason]

    # Named as from the checkout, where make test is run.
    report = os.path.join(report_dir, "index.html")
    if os.path.commonpath([report, source_dir]) == source_dir:
        report = os.path.relpath(report, source_dir)
    if lines[1] == 0:
        print("coverage of src/: no counts found in %s (did the coverage tree's tests run?)" % build_dir)
        return 1
    summary = ("coverage of src/: lines %s, functions %s, branches %s; %d excluded where they stand; report %s"
               % (percent(*lines), percent(*functions), percent(*branches), len(marks), report))
    print(summary)
    # The line again for whoever runs the tests, as CTest shows only a failure's output.
    with open(os.path.join(report_dir, "summary.txt"), "w", encoding="utf-8") as kept:
        kept.write(summary + "\n")
    problems = sorted(set(missed + unexplained))
    for file, number, what in problems:
        print("%s:%d: %s: %s" % (file, number, what, source_line(source_dir, file, number)))
    if problems:
        print("coverage of src/: %d place(s) above; every line, function and branch of src/ is to be taken by a"
              " test, or marked where it stands with the reason no input can take it" % len(problems))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
