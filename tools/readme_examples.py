#!/usr/bin/env python3
"""Runs the examples of README.md as a reader pastes them.

    readme_examples.py [--group GROUP --work DIR] README.md

Every shell code block of the README (```sh, ```shell, ```bash, ```console)
carries a mark on the line just before its opening fence, one of

    <!-- example (GROUP): prints "LINE" -->
    <!-- example (GROUP): prints /REGEX/ -->
    <!-- not run by the tests: REASON -->

GROUP names the suite that runs the example, as far as its tree can:
linux (the Linux tree, once built), windows (the Windows tree, no Wine) or
wine (the Windows tree, under Wine). An example runs whole in bash -e, from
the project root (README.md's folder), and must exit 0 and print, on its
standard output or error, a line that is LINE (blanks around it aside) or
in which REGEX is found. Where REGEX has a group named "file", the file that
group names must also exist, relative to the project root. An example must
leave nothing new in the project root (a vemora-host.state, say), and may
change nothing there. Its TMPDIR is a folder of its own in DIR (emptied
first), so that the throw-away files it makes with mktemp stay with the test.

Every other code block says what it holds in its info string (```text for
output); an indented code block is refused, as is a block with no info
string, an unknown GROUP, or a mark anywhere but just before a shell block.
The marks are checked whatever the group, so that no example is left
unrun by mistake; without --group nothing else is done.

Exit status 0 when every example of GROUP ran as marked (and with none to
run, 1: a group whose examples are gone is a mistake too), 1 otherwise, 2
for a command line that cannot be used, and 77 ("skipped") for the group
wine when VEMORA_NO_WINE is set.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys

# Which suite runs an example, and what it needs.
GROUPS = {
    "linux": "the Linux tree's tests",
    "windows": "the Windows tree's tests that need no Wine",
    "wine": "the Windows tree's tests under Wine",
}
SHELL_LANGUAGES = {"sh", "shell", "bash", "console"}
# Set for an example's run: an example that runs this runner again (a ctest
# slice holding its test) fails at once instead of running itself forever.
NESTED = "VEMORA_README_EXAMPLE"
STATE_FILE = "vemora-host.state"
SECONDS_AN_EXAMPLE_MAY_TAKE = 900

FENCE = re.compile(r"^ {0,3}(`{3,}|~{3,})\s*(.*?)\s*$")
EXAMPLE_MARK = re.compile(r"^<!--\s*example\s*\((?P<group>[\w-]+)\):\s*prints\s+(?P<expect>.*?)\s*-->\s*$")
NOT_RUN_MARK = re.compile(r"^<!--\s*not run by the tests:\s*(?P<reason>\S.*?)\s*-->\s*$")
# Anything that looks meant as a mark and is not one is refused, not ignored.
LIKE_A_MARK = re.compile(r"^<!--\s*(example|not run)\b")
LIST_ITEM = re.compile(r"^\s*([-*+]|\d+[.)])\s")


class MarkError(Exception):
    pass


class Example:
    def __init__(self, mark_line, group, expect, code):
        # A run names the example's first line of code; a fault of its mark, the mark's line.
        line = mark_line
        self.line, self.group, self.code = mark_line + 2, group, code
        if len(expect) >= 2 and expect[0] == expect[-1] == '"':
            self.text, self.pattern = expect[1:-1], None
        elif len(expect) >= 2 and expect[0] == expect[-1] == "/":
            self.text = None
            try:
                self.pattern = re.compile(expect[1:-1])
            except re.error as error:
                raise MarkError("%d: the pattern %s does not read: %s" % (line, expect, error))
        else:
            raise MarkError('%d: prints "LINE" or prints /REGEX/, not %s' % (line, expect))
        if group not in GROUPS:
            raise MarkError("%d: no group %s; the groups are %s" % (line, group, ", ".join(GROUPS)))

    def unmet(self, output, root):
        """What of the mark the output does not meet, or None."""
        for line in output.splitlines():
            if self.text is not None and line.strip() == self.text:
                return None
            found = self.pattern.search(line) if self.pattern else None
            if found:
                named = found.groupdict().get("file")
                if named is not None and not os.path.isfile(os.path.join(root, named)):
                    return "it names %s, which is no file in the project root" % named
                return None
        return "no line %s in its output" % ('"%s"' % self.text if self.text is not None else
                                            "matching /%s/" % self.pattern.pattern)


def parse(text):
    """The marked examples of a README, or MarkError naming every fault."""
    examples, faults = [], []
    mark = None  # (line number, match, kind) of the mark waiting for its block
    fence = None  # (fence characters, info, first line, mark) while inside a block
    body = []
    previous_blank, in_list = True, False
    for number, line in enumerate(text.splitlines(), 1):
        if fence is not None:
            closing = FENCE.match(line)
            if closing and closing.group(1)[0] == fence[0][0] and len(closing.group(1)) >= len(fence[0]) \
                    and not closing.group(2):
                try:
                    finish_block(fence, "\n".join(body) + "\n", examples)
                except MarkError as error:
                    faults.append(str(error))
                fence, body, previous_blank = None, [], False
            else:
                body.append(line)
            continue
        opening = FENCE.match(line)
        if mark is not None and not opening:
            faults.append("%d: a mark stands on the line just before its code block" % mark[0])
            mark = None
        if opening:
            info = opening.group(2)
            language = info.split()[0].lower() if info else ""
            if not language:
                faults.append("%d: a code block says what it holds (```sh for commands, ```text for output)"
                              % number)
            elif language in SHELL_LANGUAGES and mark is None:
                faults.append('%d: a shell block is marked <!-- example (GROUP): prints "..." --> or '
                              "<!-- not run by the tests: REASON -->" % number)
            elif language not in SHELL_LANGUAGES and mark is not None:
                faults.append("%d: a mark belongs to a shell block, not to ```%s" % (mark[0], language))
                mark = None
            fence, body, mark = (opening.group(1), info, number, mark), [], None
            continue
        if line.startswith(("    ", "\t")) and line.strip() and previous_blank and not in_list:
            faults.append("%d: an indented code block: fence it with what it holds (```sh or ```text)" % number)
        if LIKE_A_MARK.match(line):
            example, not_run = EXAMPLE_MARK.match(line), NOT_RUN_MARK.match(line)
            if example or not_run:
                mark = (number, example or not_run, "example" if example else "not run")
            else:
                faults.append('%d: a mark reads <!-- example (GROUP): prints "..." --> or '
                              "<!-- not run by the tests: REASON -->" % number)
        if line.strip():
            if LIST_ITEM.match(line):
                in_list = True
            elif not line.startswith((" ", "\t")):
                in_list = False
        previous_blank = not line.strip()
    if fence is not None:
        faults.append("%d: a code block that is never closed" % fence[2])
    if mark is not None:
        faults.append("%d: a mark with no code block after it" % mark[0])
    if faults:
        raise MarkError("\n".join(faults))
    return examples


def finish_block(fence, code, examples):
    mark = fence[3]
    if mark is None or mark[2] != "example":
        return
    found = mark[1]
    examples.append(Example(mark[0], found.group("group"), found.group("expect"), code))


def root_listing(root):
    """What is in the project root, so that what an example leaves there shows."""
    listing = set(os.listdir(root))
    state = os.path.join(root, STATE_FILE)
    kept = os.stat(state) if os.path.exists(state) else None
    return listing, kept and (kept.st_mtime_ns, kept.st_size)


def run(example, root, work):
    """None when the example ran as marked, else what went wrong."""
    before = root_listing(root)
    own = os.path.join(work, "line%d" % example.line)
    os.mkdir(own)
    env = dict(os.environ, TMPDIR=own)
    env[NESTED] = "1"
    try:
        result = subprocess.run(["bash", "-e", "-c", example.code], cwd=root, env=env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                timeout=SECONDS_AN_EXAMPLE_MAY_TAKE)
    except subprocess.TimeoutExpired:
        return "it did not end within %d s" % SECONDS_AN_EXAMPLE_MAY_TAKE, ""
    output = result.stdout.decode("utf-8", "replace")
    after = root_listing(root)
    if after[0] - before[0]:
        return "it left %s in the project root" % ", ".join(sorted(after[0] - before[0])), output
    if after[1] != before[1]:
        return "it changed %s in the project root" % STATE_FILE, output
    if result.returncode != 0:
        return "exit status %d" % result.returncode, output
    return example.unmet(output, root), output


def main(argv=None):
    parser = argparse.ArgumentParser(description="Runs the examples of README.md as a reader pastes them.")
    parser.add_argument("--group", choices=sorted(GROUPS), help="run the examples of this group")
    parser.add_argument("--work", help="the folder for the examples' throw-away files (with --group)")
    parser.add_argument("readme")
    arguments = parser.parse_args(argv)
    if arguments.group and not arguments.work:
        parser.error("--group needs --work")
    if arguments.group and os.environ.get(NESTED):
        print("an example of README.md runs the README's examples again: its test is inside the slice it runs")
        return 1

    try:
        with open(arguments.readme, encoding="utf-8") as source:
            examples = parse(source.read())
    except MarkError as error:
        for fault in str(error).splitlines():
            print("%s:%s" % (arguments.readme, fault))
        return 1
    if not arguments.group:
        print("%s: %d examples marked" % (arguments.readme, len(examples)))
        return 0

    mine = [example for example in examples if example.group == arguments.group]
    if not mine:
        print("%s: no example for %s" % (arguments.readme, GROUPS[arguments.group]))
        return 1
    if arguments.group == "wine" and os.environ.get("VEMORA_NO_WINE"):
        print("VEMORA_NO_WINE is set: nothing runs under Wine")
        return 77
    root = os.path.dirname(os.path.abspath(arguments.readme))
    shutil.rmtree(arguments.work, ignore_errors=True)  # what the last run left
    os.makedirs(arguments.work)
    failed = 0
    for example in mine:
        fault, output = run(example, root, arguments.work)
        where = "%s:%d" % (arguments.readme, example.line)
        if fault:
            failed += 1
            print("%s: FAILED, %s:\n%s\n%s" % (where, fault, example.code.rstrip(), output.rstrip()))
        else:
            print("%s: ok: %s" % (where, example.code.strip().splitlines()[0]))
    print("%d of %d examples of README.md for %s ran as written" % (len(mine) - failed, len(mine),
                                                                     GROUPS[arguments.group]))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
