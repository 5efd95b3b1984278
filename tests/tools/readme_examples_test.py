#!/usr/bin/env python3
"""tools/readme_examples.py on READMEs of its own: which code blocks it
refuses, which examples a group runs, and what fails an example.

    readme_examples_test.py tools/readme_examples.py
"""

import contextlib
import importlib
import io
import os
import sys
import tempfile
import unittest
from unittest import mock

# The runner, loaded once: its runs are calls, not a Python start each.
runner = None

MARKED = """# A project

<!-- not run by the tests: it is the test run itself -->
```sh
make test
```

Output:

```text
    indented inside a fence is output, not a block of its own
```

- a list item
    whose continuation is indented

<!-- example (linux): prints "hello" -->
```sh
echo hello
```
"""


class ReadmeExamples(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory()
        self.root = os.path.join(self.work.name, "project")
        os.mkdir(self.root)
        self.environment = {name: value for name, value in os.environ.items()
                            if name not in ("VEMORA_README_EXAMPLE", "VEMORA_NO_WINE")}
        self.environment["TMPDIR"] = self.work.name

    def tearDown(self):
        self.work.cleanup()

    def run_readme(self, text, *arguments, environment=None):
        with open(os.path.join(self.root, "README.md"), "w", encoding="utf-8") as out:
            out.write(text)
        output = io.StringIO()
        with mock.patch.dict(os.environ, dict(self.environment, **(environment or {})), clear=True), \
                contextlib.redirect_stdout(output):
            status = runner.main([*arguments, os.path.join(self.root, "README.md")])
        return status, output.getvalue()

    def run_group(self, text, group="linux", environment=None):
        return self.run_readme(text, "--group", group, "--work", os.path.join(self.work.name, "work"),
                               environment=environment)

    def example(self, code, expect='"ok"', group="linux"):
        return "<!-- example (%s): prints %s -->\n```sh\n%s\n```\n" % (group, expect, code)

    def test_marked_blocks_pass_and_every_unmarked_or_unlabelled_block_is_named(self):
        self.assertEqual(self.run_readme(MARKED), (0, "%s: 1 examples marked\n" % os.path.join(self.root, "README.md")))
        faults = [
            ("```sh\nmake\n```\n", "1: a shell block is marked"),
            ("```bash\nmake\n```\n", "1: a shell block is marked"),
            ("```\nmake\n```\n", "1: a code block says what it holds"),
            ("Run:\n\n    make demo\n", "3: an indented code block"),
            ("<!-- example (linux): prints \"x\" -->\n\n```sh\nmake\n```\n", "1: a mark stands on the line just"),
            ("<!-- example (linux): prints \"x\" -->\n```text\nx\n```\n", "1: a mark belongs to a shell block"),
            ("<!-- example (macos): prints \"x\" -->\n```sh\nmake\n```\n", "1: no group macos"),
            ("<!-- example (linux): prints x -->\n```sh\nmake\n```\n", '1: prints "LINE" or prints /REGEX/'),
            ("<!-- example (linux): prints /(/ -->\n```sh\nmake\n```\n", "1: the pattern /(/ does not read"),
            ("<!-- not run by the tests -->\n```sh\nmake\n```\n", "1: a mark reads"),
            ("<!-- example: prints \"x\" -->\n```sh\nmake\n```\n", "1: a mark reads"),
            ("<!-- not run by the tests: why -->\n", "1: a mark with no code block after it"),
            ("```sh\n<!-- example (linux): prints \"x\" -->\n", "1: a code block that is never closed"),
        ]
        for text, fault in faults:
            with self.subTest(text=text):
                status, output = self.run_readme(text)
                self.assertEqual(status, 1)
                self.assertIn("README.md:" + fault, output)
        # Every fault is named, not only the first, in any group's run.
        status, output = self.run_group("```sh\na\n```\n\n```sh\nb\n```\n" + self.example("echo ok"))
        self.assertEqual(status, 1)
        self.assertEqual(output.count("a shell block is marked"), 2)
        self.assertNotIn("ran as written", output)

    def test_a_group_runs_its_own_examples_from_the_project_root(self):
        text = (self.example('pwd; echo "$TMPDIR"; echo ok') + self.example("exit 1", group="windows")
                + self.example("exit 1", group="wine"))
        status, output = self.run_group(text)
        self.assertEqual(status, 0, output)
        self.assertIn("1 of 1 examples", output)
        status, output = self.run_group(text, "windows")
        self.assertEqual(status, 1)
        self.assertIn("exit status 1", output)
        # A group with nothing to run is an error: its examples went missing.
        self.assertEqual(self.run_group(self.example("echo ok"), "windows")[0], 1)

    def test_what_an_example_must_print(self):
        cases = [
            ('printf "x\\n  ok  \\n"', '"ok"', 0),
            ("echo not ok", '"ok"', 1),
            ("echo ok >&2", '"ok"', 0),
            ("echo src/a.cpp:12", r"/^(\./)?src/\w+\.cpp:\d+$/", 0),
            ("echo build/./src/a.cpp:12", r"/^(\./)?src/\w+\.cpp:\d+$/", 1),
            ("echo ok; false; echo after", '"after"', 1),
            ("echo ok; exit 3", '"ok"', 1),
        ]
        for code, expect, status in cases:
            with self.subTest(code=code):
                self.assertEqual(self.run_group(self.example(code, expect))[0], status)

    def test_a_file_the_output_names_must_exist_in_the_project_root(self):
        os.makedirs(os.path.join(self.root, "src"))
        open(os.path.join(self.root, "src", "there.cpp"), "w").close()
        expect = r"/^(\./)?(?P<file>src/\w+\.cpp):\d+$/"
        self.assertEqual(self.run_group(self.example("echo ./src/there.cpp:3", expect))[0], 0)
        status, output = self.run_group(self.example("echo src/gone.cpp:3", expect))
        self.assertEqual(status, 1)
        self.assertIn("src/gone.cpp, which is no file", output)

    def test_an_example_leaves_nothing_in_the_project_root(self):
        status, output = self.run_group(self.example("touch vemora-host.state; echo ok"))
        self.assertEqual(status, 1)
        self.assertIn("left vemora-host.state in the project root", output)
        # One already there must stay as it was.
        status, output = self.run_group(self.example("echo more >> vemora-host.state; echo ok"))
        self.assertEqual(status, 1)
        self.assertIn("changed vemora-host.state", output)
        # Its throw-away files go to a TMPDIR of its own, with the test.
        self.assertEqual(self.run_group(self.example('f=$(mktemp -u); echo x > "$f"; echo ok'))[0], 0)
        self.assertEqual(sorted(os.listdir(self.root)), ["README.md", "vemora-host.state"])

    def test_no_recursion_and_wine_skipped_on_purpose(self):
        status, output = self.run_group(self.example("echo ok"), environment={"VEMORA_README_EXAMPLE": "1"})
        self.assertEqual(status, 1)
        self.assertIn("inside the slice it runs", output)
        wine = self.example("exit 1", group="wine")
        self.assertEqual(self.run_group(wine, "wine", environment={"VEMORA_NO_WINE": "1"})[0], 77)
        self.assertEqual(self.run_group(wine, "wine")[0], 1)


if __name__ == "__main__":
    tool = sys.argv.pop(1)
    sys.path.insert(0, os.path.dirname(os.path.abspath(tool)))
    runner = importlib.import_module(os.path.splitext(os.path.basename(tool))[0])
    unittest.main()
