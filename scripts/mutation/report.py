"""The table of mutants, the summary per directory, and the list of equivalents."""

import re
from collections import Counter

STATUSES = ("killed", "survived", "equivalent", "stillborn")


def split_row(line):
    """The cells of a Markdown table row; `\\|` is a bar inside a cell."""
    cells = re.split(r"(?<!\\)\|", line.strip().strip("|"))
    return [c.strip().replace("\\|", "|") for c in cells]


def code(text):
    return text.strip().removeprefix("`").removesuffix("`")


def read_equivalents(path):
    """Keys of the mutants listed as equivalent: the rows of the table under
    the heading "Equivalent mutants" (file, line, change, why)."""
    keys = {}
    if not path.is_file():
        return keys
    inside = False
    for line in path.read_text().splitlines():
        if line.startswith("#"):
            inside = line.lstrip("#").strip().lower() == "equivalent mutants"
            continue
        if not inside or not line.startswith("|") or set(line) <= set("|-: "):
            continue
        cells = split_row(line)
        if len(cells) < 4 or cells[0].lower() == "file":
            continue
        keys[(code(cells[0]), code(cells[1]), cells[2])] = cells[3]
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
