#!/usr/bin/env python3
"""Counts the instructions of the budgeted operations under callgrind and compares each with
its budget: fails when one takes more than a quarter more than its budget.

Usage: check.py [--valgrind PATH] [--work DIR] BUDGETS PROGRAM

BUDGETS holds one line per operation, `NAME INSTRUCTIONS  # how it was measured`. PROGRAM
dumps one callgrind profile per operation, triggered as "NAME RUNS", with collection on around
the operation alone; the figure compared is its instructions divided by RUNS.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

GROWTH_ALLOWED = 1.25
# A figure this far under its budget says the budget can be lowered.
WELL_UNDER = 0.9


def read_budgets(path):
    """{operation: instructions} from the budget file at `path`."""
    budgets = {}
    for number, line in enumerate(Path(path).read_text(encoding="utf-8").splitlines(), 1):
        fields = line.split("#", 1)[0].split()
        if not fields:
            continue
        if len(fields) != 2 or not fields[1].isdigit() or fields[0] in budgets:
            raise ValueError(f"{path}:{number}: expected `NAME INSTRUCTIONS`, got: {line}")
        budgets[fields[0]] = int(fields[1])
    return budgets


def read_profile(text):
    """(operation, instructions per run) from one callgrind dump, or None for the dumps that
    no operation triggered (the one at exit)."""
    trigger = re.search(r"^desc: Trigger: Client Request: (\S+) (\d+)$", text, re.M)
    total = re.search(r"^(?:summary|totals): (\d+)", text, re.M)
    if not trigger:
        return None
    if not total:
        raise ValueError(f"no instruction total in the profile of {trigger[1]}")
    return trigger[1], int(total[1]) / int(trigger[2])


def measure(valgrind, program, work):
    """{operation: instructions per run} of `program` run under callgrind in `work`."""
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    # A fixed hash seed keeps Qt's hash tables, and so the counts, the same from run to run.
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", QT_HASH_SEED="0")
    run = subprocess.run([valgrind, "--tool=callgrind", "--collect-atstart=no",
                          f"--callgrind-out-file={work}/callgrind.out.%p", program],
                         env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if run.returncode != 0:
        print(run.stdout)
        raise RuntimeError(f"{program} under callgrind exited with {run.returncode}")
    measured = {}
    for path in sorted(work.glob("callgrind.out.*")):
        profile = read_profile(path.read_text(encoding="utf-8", errors="replace"))
        if profile:
            measured[profile[0]] = profile[1]
    return measured


def compare(measured, budgets):
    """The report's lines and whether every operation is within its budget; an operation
    without a budget, or a budget without a measurement, fails too."""
    lines = [f"{'operation':<22}{'instructions':>14}{'budget':>12}{'ratio':>8}"]
    ok = True
    for name in sorted(budgets.keys() | measured.keys()):
        if name not in measured:
            lines.append(f"{name:<22}{'-':>14}{budgets[name]:>12}{'':>8}  FAIL: not measured")
            ok = False
            continue
        count = measured[name]
        if name not in budgets:
            lines.append(f"{name:<22}{count:>14.0f}{'-':>12}{'':>8}  FAIL: no budget")
            ok = False
            continue
        ratio = count / budgets[name]
        verdict = "ok"
        if ratio > GROWTH_ALLOWED:
            verdict = f"FAIL: more than {GROWTH_ALLOWED:.2f} times the budget"
            ok = False
        elif ratio < WELL_UNDER:
            verdict = f"ok, the budget can be lowered to {count:.0f}"
        lines.append(f"{name:<22}{count:>14.0f}{budgets[name]:>12}{ratio:>8.2f}  {verdict}")
    return lines, ok


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--valgrind", default="valgrind")
    parser.add_argument("--work", type=Path, default=Path("callgrind"))
    parser.add_argument("budgets")
    parser.add_argument("program")
    args = parser.parse_args()
    budgets = read_budgets(args.budgets)
    lines, ok = compare(measure(args.valgrind, args.program, args.work.resolve()), budgets)
    print("\n".join(lines))
    print(f"instructions per run, from callgrind; budgets in {args.budgets}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
