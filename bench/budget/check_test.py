#!/usr/bin/env python3
"""The budget check's verdicts: growth up to a quarter passes, beyond it fails, and an
operation measured without a budget or budgeted without a measurement fails."""
import tempfile
import unittest
from pathlib import Path

from check import compare, read_budgets, read_profile


class Compare(unittest.TestCase):
    def verdict(self, measured, budgets):
        lines, ok = compare(measured, budgets)
        return ok, "\n".join(lines)

    def test_growth_up_to_a_quarter_passes(self):
        ok, report = self.verdict({"tick": 1250}, {"tick": 1000})
        self.assertTrue(ok)
        self.assertRegex(report, r"tick +1250 +1000 +1\.25  ok")

    def test_growth_beyond_a_quarter_fails_with_both_figures(self):
        ok, report = self.verdict({"tick": 1251, "paint": 10}, {"tick": 1000, "paint": 10})
        self.assertFalse(ok)
        self.assertRegex(report, r"tick +1251 +1000 +1\.25  FAIL")
        self.assertRegex(report, r"paint +10 +10 +1\.00  ok")

    def test_a_figure_well_under_its_budget_says_it_can_be_lowered(self):
        ok, report = self.verdict({"tick": 500}, {"tick": 1000})
        self.assertTrue(ok)
        self.assertIn("can be lowered to 500", report)

    def test_unmatched_operations_fail(self):
        self.assertFalse(self.verdict({}, {"tick": 1000})[0])
        self.assertFalse(self.verdict({"tick": 1000}, {})[0])


class Files(unittest.TestCase):
    def test_budgets_are_read_past_comments(self):
        with tempfile.TemporaryDirectory() as folder:
            path = Path(folder) / "budgets.txt"
            path.write_text("# how\n\ntick 1200  # per tick\npaint 34\n")
            self.assertEqual(read_budgets(path), {"tick": 1200, "paint": 34})
            for wrong in ("tick\n", "tick 12 13\n", "tick many\n", "tick 1\ntick 2\n"):
                path.write_text(wrong)
                with self.assertRaises(ValueError, msg=wrong):
                    read_budgets(path)

    def test_a_profile_gives_instructions_per_run(self):
        profile = "desc: Trigger: Client Request: tick 1000\nevents: Ir\nsummary: 2500000\n"
        self.assertEqual(read_profile(profile), ("tick", 2500))
        self.assertIsNone(read_profile("desc: Trigger: Program termination\nsummary: 9\n"))


if __name__ == "__main__":
    unittest.main()
