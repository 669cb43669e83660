#!/usr/bin/env python3
"""Runs one container script and compares its output with the transcript written inside it.

The expected output is the script's `#>` lines, in order, each placed after the command that
prints it: `#> TEXT` is one line TEXT (`#>` alone an empty line), and `#>N TEXT` is TEXT
printed N times in a row. In TEXT, `\\\\` stands for a backslash and `\\xNN` for a byte that is
not UTF-8. The container skips them as it skips every comment. The output must be exactly
these lines: any line different, missing, extra or out of order fails, with a diff.

Usage: check_script.py CONTAINER SCRIPT WORK

The script runs in WORK, emptied first and holding a copy of the input files beside the
scripts, so that the files a script saves or renders go there: never into the source tree,
and never where a parallel run writes. The output of a failing run is kept there too, as
NAME.actual. A script whose first line is `# run without --strict` goes on past failing
commands; every other script runs with --strict.
"""
import difflib
import re
import shutil
import subprocess
import sys
from pathlib import Path

EXPECTATION = re.compile(rb"#>(?:(?P<count>[0-9]+) | |$)(?P<text>.*)")
ESCAPE = re.compile(rb"\\(\\|x[0-9A-Fa-f]{2})?")


def shown(line):
    """The bytes of an output line as a `#>` line writes them."""
    text = line.decode("utf-8", errors="surrogateescape").replace("\\", "\\\\")
    return re.sub("[\udc80-\udcff]", lambda byte: f"\\x{ord(byte[0]) - 0xDC00:02X}", text)


def meant(text, where):
    """The bytes that the TEXT of a `#>` line stands for."""
    def unescape(match):
        if not match[1]:
            sys.exit(f"{where}: a backslash is written \\\\ in a #> line")
        return b"\\" if match[1] == b"\\" else bytes([int(match[1][1:], 16)])
    return ESCAPE.sub(unescape, text)


def expected_lines(script):
    """The output lines, as bytes, that the `#>` lines of `script` spell out, unfolded."""
    lines = []
    for number, line in enumerate(script.read_bytes().split(b"\n"), 1):
        if not line.startswith(b"#>"):
            continue
        where = f"{script}:{number}"
        match = EXPECTATION.fullmatch(line)
        if not match or match["count"] == b"0":
            sys.exit(f"{where}: expected `#> TEXT`, `#>` or `#>N TEXT`, got: {shown(line)}")
        lines += [meant(match["text"], where)] * int(match["count"] or 1)
    return lines


def folded(lines):
    """`lines` written as `#>` lines, each run of one line folded into a count."""
    runs = []
    for line in lines:
        if runs and runs[-1][1] == line:
            runs[-1][0] += 1
        else:
            runs.append([1, line])
    return [f"#>{count} {shown(line)}" if count > 1 else f"#> {shown(line)}" if line else "#>"
            for count, line in runs]


def prepare(work, script):
    """Empties `work` and copies the input files the scripts read into it."""
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    inputs = script.parent
    for pattern in ("*.json", "*.png", "*.svg"):
        for path in inputs.glob(pattern):
            shutil.copy(path, work)
    hostile = inputs.parent / "hostile"
    if hostile.is_dir():
        shutil.copytree(hostile, work / "hostile")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    container, script, work = (Path(arg).absolute() for arg in sys.argv[1:])
    prepare(work, script)
    strict = [] if script.read_bytes().startswith(b"# run without --strict\n") else ["--strict"]
    run = subprocess.run([container, *strict, script], cwd=work, stdout=subprocess.PIPE)
    expected = expected_lines(script)
    if run.stdout != b"".join(line + b"\n" for line in expected):
        actual_file = work / f"{script.stem}.actual"
        actual_file.write_bytes(run.stdout)
        actual = run.stdout.split(b"\n")
        print(f"the output of {script} differs from its #> lines (the output is in {actual_file})")
        if actual[-1]:
            print("the output's last line has no newline")
        else:
            actual.pop()
        print("\n".join(difflib.unified_diff(folded(expected), folded(actual), "expected",
                                             "actual", lineterm="")))
        return 1
    if run.returncode != 0:
        print(f"{script} exited with {run.returncode}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
