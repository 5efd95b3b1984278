#!/usr/bin/env python3
"""What only real processes can show of vemora-host, on either build:

    processes.py --host HOST [--launcher "qemu-i386"] --work DIR [--windows]

- two runs on one state file: the second waits, then gives up naming the
  first (exit 1, nothing changed); or, when the first ends in time, goes on
  and keeps its own change on top of the first's;
- a run killed while it holds the state never blocks the next one;
- output that cannot be written (/dev/full, a pipe closed at its other end)
  fails the run with exit 1, a message, and no state written;
- (Linux build, which reads the terminal itself) at the prompt of a typed
  session Ctrl-C cancels the typed line, the session goes on, and quit saves.

The Windows build runs under Wine (--launcher tools/wine-run.sh), whose
process ids are not the system's: there the id in a message is only checked
to be a number.
"""

import argparse
import os
import re
import select
import shlex
import subprocess
import sys
import time

BOOK = "uid,net,display,birth date\n1,1,Ala,1990-03-09\n2,1,Ola,1991-03-09\n"
STARTUP = 60  # seconds a process may take to start (Wine, qemu on a busy machine)

failures = []


def check(condition, what, detail=""):
    if not condition:
        failures.append(what + (f"\n    {detail}" if detail else ""))
        print(f"FAILED: {what}" + (f"\n    {detail}" if detail else ""), flush=True)


class Host:
    def __init__(self, args):
        launcher = [os.path.abspath(word) if os.sep in word else word for word in shlex.split(args.launcher)]
        self.command = launcher + [os.path.abspath(args.host)]
        self.work = os.path.abspath(args.work)
        self.windows = args.windows

    def argv(self, state, *arguments):
        return self.command + ["--state", state, "--bold", "never", *arguments]

    def run(self, state, *arguments, stdout=subprocess.PIPE, stdin=subprocess.DEVNULL):
        return subprocess.run(self.argv(state, *arguments), cwd=self.work, stdin=stdin, stdout=stdout,
                              stderr=subprocess.PIPE, timeout=STARTUP + 30)

    def holder(self, state, *arguments):
        """A run that holds the state until its standard input is closed:
        its commands go first, then it reads a script from standard input."""
        process = subprocess.Popen(self.argv(state, *arguments, "-"), cwd=self.work, stdin=subprocess.PIPE,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        lock = os.path.join(self.work, state + ".lock")
        deadline = time.monotonic() + STARTUP
        # The holder writes its id into the lock file once it holds the lock.
        while time.monotonic() < deadline and process.poll() is None:
            if os.path.exists(lock) and re.fullmatch(r"\d+\n", open(lock).read()):
                return process
            time.sleep(0.05)
        raise RuntimeError(f"the holding run never took the lock (status {process.poll()})")

    def holder_pattern(self, process):
        return r"\d+" if self.windows else str(process.pid)


def fresh(host, name):
    for suffix in ("", ".lock", ".new"):
        path = os.path.join(host.work, name + suffix)
        if os.path.exists(path):
            os.remove(path)
    return name


def text(data):
    return data.decode("utf-8", "replace")


def a_second_run_waits_then_gives_up(host):
    state = fresh(host, "gives-up.state")
    first = host.holder(state, "-e", "import book.csv")
    started = time.monotonic()
    second = host.run(state, "-e", 'set contact 1 display "Od drugiego"')
    waited = time.monotonic() - started
    first_out, first_err = first.communicate(timeout=STARTUP)  # closing its input ends it
    pid = host.holder_pattern(first)
    other = rf"another vemora-host \(process {pid}\) is using it"
    check(second.returncode == 1, "the second run fails while the first holds the state",
          f"exit {second.returncode}: {text(second.stderr)}")
    check(re.fullmatch(rf"vemora-host: {re.escape(state)}: {other}; waiting for it to end\n"
                       rf"vemora-host: cannot use {re.escape(state)}: {other}; waited 3 seconds, nothing was changed\n",
                       text(second.stderr)) is not None,
          "the second run names the state and the first run", text(second.stderr))
    check(waited >= 3, "the second run waits before it gives up", f"{waited:.1f} s")
    check(first.returncode == 0, "the first run ends well", text(first_err))
    saved = host.run(state, "-e", "show contacts")
    check('display="Ala"' in text(saved.stdout) and "Od drugiego" not in text(saved.stdout),
          "the state holds the first run's import and nothing of the second", text(saved.stdout))


def a_second_run_goes_on_when_the_first_ends_in_time(host):
    state = fresh(host, "goes-on.state")
    first = host.holder(state, "-e", "import book.csv")
    second = subprocess.Popen(host.argv(state, "-e", "start", "-e", 'set config wish-text "Od drugiego"'),
                              cwd=host.work, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE)
    told = second.stderr.readline()
    check(b"is using it; waiting for it to end" in told, "the second run says it waits", text(told))
    first.communicate(timeout=STARTUP)  # closing its input ends it
    second_out, second_err = second.communicate(timeout=STARTUP)
    check(second.returncode == 0, "the second run goes on once the first has ended",
          f"exit {second.returncode}: {text(second_err)}")
    after = host.run(state, "-e", "get config wish-text", "-e", "show contacts")
    shown = text(after.stdout)
    check('config wish-text = "Od drugiego"' in shown and "[contacts: 2]" in shown,
          "both runs' changes are kept: the first's import and the second's setting", shown)


def a_killed_run_never_blocks(host):
    state = fresh(host, "killed.state")
    first = host.holder(state, "-e", "import book.csv")
    first.kill()
    first.communicate(timeout=STARTUP)
    started = time.monotonic()
    second = host.run(state, "-e", "import book.csv")
    check(second.returncode == 0 and second.stderr == b"", "the next run takes the state of a killed one at once",
          f"exit {second.returncode}: {text(second.stderr)}")
    check(time.monotonic() - started < STARTUP, "and does not wait for it")


def output_that_cannot_be_written_fails_the_run(host):
    prefix = "vemora-host: cannot write to standard output: "
    if os.path.exists("/dev/full"):
        with open("/dev/full", "wb") as full:
            shown = host.run(fresh(host, "full.state"), "--help", stdout=full)
            check(shown.returncode == 1 and text(shown.stderr).startswith(prefix),
                  "--help to a full device fails", f"exit {shown.returncode}: {text(shown.stderr)}")
            state = fresh(host, "full.state")
            changed = host.run(state, "-e", "import book.csv", "-e", "show contacts", stdout=full)
            check(changed.returncode == 1 and text(changed.stderr).startswith(prefix),
                  "a run whose output fills the device fails", text(changed.stderr))
            check(not os.path.exists(os.path.join(host.work, state)), "and keeps nothing of its changes")
    reader, writer = os.pipe()
    os.close(reader)  # nobody will read what the run writes
    state = fresh(host, "closed-pipe.state")
    closed = host.run(state, "-e", "import book.csv", "-e", "show contacts", stdout=writer)
    os.close(writer)
    check(closed.returncode == 1 and text(closed.stderr).startswith(prefix),
          "a run writing into a closed pipe fails with a message", f"exit {closed.returncode}: {text(closed.stderr)}")
    check(not os.path.exists(os.path.join(host.work, state)), "and keeps nothing of its changes")


def ctrl_c_at_the_prompt_cancels_the_line(host):
    import pty

    state = fresh(host, "typed.state")
    pid, terminal = pty.fork()
    if pid == 0:
        os.chdir(host.work)
        try:
            os.execvp(host.argv(state)[0], host.argv(state))
        finally:
            os._exit(127)
    seen = b""

    def read_until(wanted, after=0):
        nonlocal seen
        deadline = time.monotonic() + STARTUP
        while seen.count(wanted) <= after and time.monotonic() < deadline:
            ready, _, _ = select.select([terminal], [], [], 0.2)
            if ready:
                try:
                    chunk = os.read(terminal, 4096)
                except OSError:  # the session has ended and the terminal closed
                    break
                if not chunk:
                    break
                seen += chunk
        return seen.count(wanted) > after

    prompt = b"vemora-host> "
    ok = read_until(prompt)
    os.write(terminal, b"import book.csv\n")
    ok = ok and read_until(prompt, 1)
    os.write(terminal, b'set contact 1 display "Zmiana')
    time.sleep(0.3)
    os.write(terminal, b"\x03")  # Ctrl-C: the line discipline drops the line and sends SIGINT
    ok = ok and read_until(prompt, 2)
    os.write(terminal, b"show contacts\n")
    ok = ok and read_until(prompt, 3)
    os.write(terminal, b"\x1b[A\n")  # an arrow key, typed where the prompt has no history
    ok = ok and read_until(prompt, 4)
    os.write(terminal, b"quit\n")
    read_until(b"\xff")  # to the end of the session
    _, status = os.waitpid(pid, 0)
    os.close(terminal)
    transcript = text(seen)
    check(ok and os.WIFEXITED(status) and os.WEXITSTATUS(status) == 0,
          "the typed session outlives Ctrl-C and ends with quit, exit 0", f"status {status}\n{transcript}")
    check('display="Ala"' in transcript and "Zmiana" not in transcript.split("show contacts")[-1],
          "the cancelled line was never run", transcript)
    check("the line holds the control byte 0x1B" in transcript and "\x1b" not in transcript,
          "an arrow key's bytes are refused, and shown only escaped", transcript)
    saved = host.run(state, "-e", "show contacts")
    check("[contacts: 2]" in text(saved.stdout), "quit saves what the session changed", text(saved.stdout))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--launcher", default="")
    parser.add_argument("--work", required=True)
    parser.add_argument("--windows", action="store_true")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    with open(os.path.join(args.work, "book.csv"), "w") as book:
        book.write(BOOK)
    host = Host(args)
    cases = [a_second_run_waits_then_gives_up, a_second_run_goes_on_when_the_first_ends_in_time,
             a_killed_run_never_blocks, output_that_cannot_be_written_fails_the_run]
    if not args.windows:
        cases.append(ctrl_c_at_the_prompt_cancels_the_line)
    for case in cases:
        print(f"-- {case.__name__.replace('_', ' ')}", flush=True)
        case(host)
    if failures:
        print(f"{len(failures)} checks failed")
        return 1
    print("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
