"""The table of mutants, the summary per directory, and the list of equivalents."""

import re
from collections import Counter

STATUSES = ("killed", "survived", "equivalent", "harmless", "stillborn")
# The headings of docs/mutation.md whose tables list survivors, and the status
# each gives them: no input tells an equivalent mutant apart; a harmless one
# differs where nobody can see it.
LISTS = {"equivalent mutants": "equivalent", "survivors that cannot matter": "harmless"}


def split_row(line):
    """The cells of a Markdown table row; `\\|` is a bar inside a cell."""
    cells = re.split(r"(?<!\\)\|", line.strip().strip("|"))
    return [c.strip().replace("\\|", "|") for c in cells]


def code(text):
    return text.strip().removeprefix("`").removesuffix("`")


def read_equivalents(path):
    """The survivors docs/mutation.md lists, by key: (status, why), from the
    rows (file, line, change, why) of the tables under LISTS' headings."""
    keys = {}
    if not path.is_file():
        return keys
    status = None
    for line in path.read_text().splitlines():
        if line.startswith("#"):
            status = LISTS.get(line.lstrip("#").strip().lower())
            continue
        if not status or not line.startswith("|") or set(line) <= set("|-: "):
            continue
        cells = split_row(line)
        if len(cells) < 4 or cells[0].lower() == "file":
            continue
        keys[(code(cells[0]), code(cells[1]), cells[2])] = (status, cells[3])
    return keys


def escape(text):
    return text.replace("|", "\\|")


def table(results):
    lines = ["| Where | Change | Operator | Status | Caught by |", "|---|---|---|---|---|"]
    for mutant, status, by in results:
        lines.append(f"| {mutant.path}:{mutant.line} | {escape(mutant.change)} "
                     f"| {mutant.operator} | {status} | {escape(by)} |")
    return "\n".join(lines)


def directory_of(path):
    return path.split("/", 1)[0]


def summary(results):
    counts = {}
    for mutant, status, _ in results:
        counts.setdefault(directory_of(mutant.path), Counter())[status] += 1
    lines = ["| Directory | Mutants | " + " | ".join(s.capitalize() for s in STATUSES)
             + " | Score |", "|---" * (len(STATUSES) + 3) + "|"]
    for directory, c in sorted(counts.items()):
        live = c["killed"] + c["survived"]
        score = f"{100 * c['killed'] / live:.1f} %" if live else "-"
        lines.append(f"| {directory} | {sum(c.values())} | "
                     + " | ".join(str(c[s]) for s in STATUSES) + f" | {score} |")
    return "\n".join(lines)


def survivors(results):
    return [m for m, status, _ in results if status == "survived"]


class Row:
    """A mutant as an earlier run's results.tsv recorded it."""

    def __init__(self, r):
        self.path, self.line, self.operator = r["path"], r["line"], r["operator"]
        self.change, self.line_text = r["change"], r["line_text"]
        self.key = (self.path, self.line_text, self.change)


def read_results(paths, equivalents):
    """The rows of several results.tsv (one run split by file, or a run and a
    rerun of some of its mutants: the later row wins), with the equivalents
    list applied as it stands now."""
    import csv

    rows = {}
    for path in paths:
        with open(path) as fh:
            for r in csv.DictReader(fh, delimiter="\t"):
                row = Row(r)
                status, by = r["status"], r["caught_by"]
                if status == "survived" and row.key in equivalents:
                    status, by = equivalents[row.key]
                rows[row.key] = (row, status, by)
    return sorted(rows.values(), key=lambda x: (x[0].path, int(x[0].line)))
