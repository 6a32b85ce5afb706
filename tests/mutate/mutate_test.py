"""scripts/mutate on a tiny tree: which mutants it makes, and what becomes of each."""

import csv
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
SCRIPTS = HERE.parent.parent / "scripts"
sys.path.insert(0, str(SCRIPTS))
from mutation.mutants import mutants_of  # noqa: E402


def changes(source):
    return [(m.original, m.replacement) for m in mutants_of("x.cpp", source)]


class Generation(unittest.TestCase):
    def test_what_is_not_code_is_left_alone(self):
        cases = [
            ('#include <vector>\n#define A(x) (x + 1)\n', []),
            ('// a < b\n/* 1 + 2 */ const char* s = "a < b";\n', []),
            ("char c = '<';\n", []),
            ('auto r = R"(a < b)";\n', []),
            ("std::array<int, 3> a;\n", [("3", "4")]),
            ("auto d = static_cast<double>(x) * 2;\n", [("*", "/"), ("2", "3")]),
            ("virtual int f() const = 0;\n", []),
            ("void f(Type* p, Type& r);\n", []),
            ("bool operator<(const A& o) const;\n", []),
            ("x = a < b && c > d;\n", [("<", "<="), ("&&", "||"), (">", ">=")]),
            ("if (!ok) {\n  f.g(1);\n}\n", [("!", ""), ("f.g(1);", ""), ("1", "0")]),
            ("int y = g(1);\n", [("1", "0")]),
            ("const float z = 0.75f + 1e-3;\n", [("0.75f", "0.76f"), ("+", "-"),
                                                   ("1e-3", "2e-3")]),
        ]
        for source, expected in cases:
            with self.subTest(source=source):
                self.assertEqual(sorted(changes(source)), sorted(expected))

    def test_the_same_change_twice_on_a_line_is_told_apart(self):
        keys = [m.key for m in mutants_of("x.cpp", "a = b + c + d;\n")]
        self.assertEqual(len(set(keys)), 2)


class Run(unittest.TestCase):
    def test_fixture(self):
        with tempfile.TemporaryDirectory() as tmp:
            root = Path(tmp) / "tree"
            shutil.copytree(HERE / "fixture", root)
            subprocess.run(["git", "init", "-q", str(root)], check=True)
            before = {p: p.read_bytes() for p in root.rglob("*") if p.is_file()}
            subprocess.run([sys.executable, str(SCRIPTS / "mutate"), "--root", str(root),
                            "--out", str(Path(tmp) / "out"), "--jobs", "1"],
                           check=True, stdout=subprocess.DEVNULL)
            with open(Path(tmp) / "out" / "results.tsv") as fh:
                got = {(r["line"], r["change"]): (r["status"], r["caught_by"])
                       for r in csv.DictReader(fh, delimiter="\t")}
            after = {p: p.read_bytes() for p in root.rglob("*") if p.is_file()}
        self.assertEqual(after, before, "the tree itself is never mutated")
        self.assertEqual(got, {
            ("10", "`+` → `-`"): ("killed", "calc_test"),
            ("11", "`>` → `>=`"): ("equivalent", "at the limit both return it"),
            ("18", "`>` → `>=`"): ("survived", ""),
            ("18", "`100` → `101`"): ("harmless", "nobody counts past a hundred"),
            ("22", "`log.push_back(v);` → `(deleted)`"): ("killed", "calc_test"),
            ("27", "`+=` → `-=`"): ("stillborn", "does not compile"),
            ("27", "`<` → `<=`"): ("killed", "calc_test"),
            ("27", "`0` → `1`"): ("killed", "calc_test"),
        })


if __name__ == "__main__":
    unittest.main()
