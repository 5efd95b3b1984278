#!/usr/bin/env python3
"""The coverage of the plugin's code (src/) after the coverage tree's tests ran.

Runs gcovr over the counts the tests left in the build tree, writes the HTML
report (one page per file, each line with its branches), and prints one line:
lines, functions, branches and conditions of src/ taken, and how many are
excluded where they stand. Anything of src/ left untaken is then listed as
file:line, and the exit status is 1: every line, function, branch and
condition outcome of the plugin must be taken by its tests.

Conditions are counted where gcc measures them (-fcondition-coverage, gcc 14
on; --conditions says the tree was built so): masking MC/DC, each condition
of a decision shown to decide its outcome both ways on its own. gcov's own
JSON carries them (gcovr does not read them yet). Where the compiler cannot
measure them, the line says so.

With --whole-runs-only, only a run of every test of the tree is judged:
where the ctest that runs this check (the fixture's cleanup, so its parent
process) was given a slice (-L, -R, -E and the like), the check says it
judged nothing and passes, and the last whole run's report stays.

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


def gcc_version(gcov):
    try:
        first = subprocess.run([gcov, "--version"], capture_output=True, text=True).stdout.splitlines()[0]
    except (OSError, IndexError):
        return "unknown"
    found = re.search(r"(\d+\.\d+(?:\.\d+)?)\s*$", first)
    return found.group(1) if found else first


def source_line(source_dir, file, number, cache={}):
    if file not in cache:
        with open(os.path.join(source_dir, file), encoding="utf-8", errors="replace") as text:
            cache[file] = text.read().splitlines()
    lines = cache[file]
    return lines[number - 1].strip() if 0 < number <= len(lines) else ""


# The options that make ctest run only some of a tree's tests; all but the
# last three take a value.
SLICING = ("-R", "--tests-regex", "-E", "--exclude-regex", "-L", "--label-regex", "-LE", "--label-exclude",
           "-I", "--tests-information", "--tests-from-file", "--exclude-from-file", "-FA", "--fixture-exclude-any",
           "-FS", "--fixture-exclude-setup", "-FC", "--fixture-exclude-cleanup", "-U", "--union", "--rerun-failed")
# Other options of ctest that take the next argument as their value.
VALUED = ("--test-dir", "--preset", "-C", "--build-config", "-j", "--parallel", "-O", "--output-log",
          "--output-junit", "--timeout", "--stop-time", "--repeat", "--resource-spec-file", "-D", "-T", "-M")


def slicing_options(arguments):
    """Those of ctest's arguments that choose a slice of the tests, each with
    its value."""
    found = []
    index = 0
    while index < len(arguments):
        argument = arguments[index]
        takes_value = argument in SLICING[:-3] or argument in VALUED
        if argument in SLICING:
            found.append(" ".join(arguments[index:index + 2]) if takes_value else argument)
        elif argument.split("=", 1)[0] in SLICING:
            found.append(argument)
        index += 2 if takes_value else 1
    return found


def ctest_arguments():
    """The arguments of the ctest that runs this check (its parent process),
    or None when the parent is not ctest."""
    try:
        with open("/proc/%d/cmdline" % os.getppid(), "rb") as cmdline:
            arguments = [part.decode("utf-8", "replace") for part in cmdline.read().split(b"\0") if part]
    except OSError:
        return None
    if not arguments or os.path.basename(arguments[0]) != "ctest":
        return None
    return arguments[1:]


def gcov_conditions(gcov, build_dir, source_dir):
    """The condition outcomes of src/ that gcov read from the counts, merged
    over every object that holds a copy of the code (an inline function in
    several programs): {(file, line, decision): [outcomes, set of untaken]},
    an outcome being taken where any copy took it."""
    counts = []
    for folder, _, names in os.walk(build_dir):
        counts += [os.path.join(folder, name) for name in names if name.endswith(".gcda")]
    merged = {}
    src = os.path.join(source_dir, "src") + os.sep
    # gcov writes one JSON document a line to standard output (-t); in
    # batches, as a run has a few dozen count files.
    for start in range(0, len(counts), 50):
        result = subprocess.run([gcov, "--json-format", "--stdout", "--conditions", *counts[start:start + 50]],
                                cwd=build_dir, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        if result.returncode != 0:
            sys.stdout.write(result.stderr)
            raise SystemExit("coverage: gcov failed (exit %d)" % result.returncode)
        for document in result.stdout.splitlines():
            if not document.strip():
                continue
            data = json.loads(document)
            for entry in data.get("files", []):
                path = os.path.normpath(os.path.join(data.get("current_working_directory", build_dir), entry["file"]))
                if not path.startswith(src):
                    continue
                file = os.path.relpath(path, source_dir)
                for line in entry.get("lines", []):
                    for decision, condition in enumerate(line.get("conditions", [])):
                        untaken = {("true", index) for index in condition.get("not_covered_true", [])}
                        untaken |= {("false", index) for index in condition.get("not_covered_false", [])}
                        key = (file, line["line_number"], decision)
                        if key in merged:
                            merged[key][1] &= untaken
                        else:
                            merged[key] = [condition["count"], untaken]
    return merged


def percent(taken, total):
    return "%.1f%% (%d of %d)" % (100.0 * taken / total if total else 100.0, taken, total)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--report-dir", required=True)
    parser.add_argument("--whole-runs-only", action="store_true",
                        help="judge nothing when the ctest that runs this check runs a slice of the tests")
    parser.add_argument("--gcov", default="gcov", help="the gcov of the compiler that built the tree")
    parser.add_argument("--conditions", action="store_true", help="the tree counts conditions (-fcondition-coverage)")
    args = parser.parse_args()
    source_dir = os.path.abspath(args.source_dir)
    build_dir = os.path.abspath(args.build_dir)
    report_dir = os.path.abspath(args.report_dir)
    json_path = os.path.join(report_dir, "coverage.json")

    if args.whole_runs_only:
        sliced = slicing_options(ctest_arguments() or [])
        if sliced:
            print("coverage of src/: judged nothing, as ctest ran a slice of the tests (%s); the report of the"
                  " last whole run stays as it was" % ", ".join(sliced))
            return 0

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
    conditions = [0, 0]
    if args.conditions:
        # A line excluded where it stands, or in a region, keeps its conditions out too.
        excluded = {(entry["file"], line["line_number"]) for entry in files for line in entry["lines"]
                    if line.get("gcovr/excluded")}
        excluded |= {(file, number) for file, number, _ in marks}
        for (file, number, _), (outcomes, untaken) in sorted(gcov_conditions(args.gcov, build_dir, source_dir).items()):
            if (file, number) in excluded:
                continue
            conditions[1] += outcomes
            conditions[0] += outcomes - len(untaken)
            for value, index in sorted(untaken):
                missed.append((file, number, "condition %d never decided the outcome %s" % (index + 1, value)))

    unexplained = [(file, number, "exclusion without a reason (write it after a colon)")
                   for file, number, has_reason in marks if not has_reason]

    # Named as from the checkout, where make test is run.
    report = os.path.join(report_dir, "index.html")
    if os.path.commonpath([report, source_dir]) == source_dir:
        report = os.path.relpath(report, source_dir)
    if lines[1] == 0:
        print("coverage of src/: no counts found in %s (did the coverage tree's tests run?)" % build_dir)
        return 1
    measured = ("conditions %s" % percent(*conditions) if args.conditions
                else "conditions not measured by this compiler (gcc %s)" % gcc_version(args.gcov))
    summary = ("coverage of src/: lines %s, functions %s, branches %s, %s; %d excluded where they stand; report %s"
               % (percent(*lines), percent(*functions), percent(*branches), measured, len(marks), report))
    print(summary)
    # The line again for whoever runs the tests, as CTest shows only a failure's output.
    with open(os.path.join(report_dir, "summary.txt"), "w", encoding="utf-8") as kept:
        kept.write(summary + "\n")
    problems = sorted(set(missed + unexplained))
    for file, number, what in problems:
        print("%s:%d: %s: %s" % (file, number, what, source_line(source_dir, file, number)))
    if problems:
        print("coverage of src/: %d place(s) above; every line, function, branch and condition of src/ is to be taken by a"
              " test, or marked where it stands with the reason no input can take it" % len(problems))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
