"""Writes the validation report of one run as a single HTML file: what was built
and with what, every requirement with the tests that verify it and their
results, the reference check's counts, the self-test reports, the bills of
materials, the known anomalies, the accessibility conformance report and the
release notes. Its verdict is its exit status: 1 when a test failed.

Usage: render.py --facts FACTS.json --out REPORT.html"""
import argparse
import json
import os
import re
import sys

here = os.path.dirname(os.path.abspath(__file__))
repo = os.path.dirname(os.path.dirname(here))
sys.path[:0] = [here, os.path.join(repo, "tests", "requirements")]
import evidence  # noqa: E402
import requirements  # noqa: E402
import sections  # noqa: E402
from sections import esc  # noqa: E402

STYLE = """
@page { size: A4; margin: 16mm 14mm 16mm 14mm;
  @top-left { content: string(title); font: 8pt "Liberation Sans", Arial, sans-serif; color: #555; }
  @bottom-right { content: "page " counter(page) " of " counter(pages);
    font: 8pt "Liberation Sans", Arial, sans-serif; color: #555; } }
body { font-family: "Liberation Sans", Arial, sans-serif; font-size: 9.5pt; line-height: 1.35; color: #111; }
h1 { font-size: 17pt; margin: 0 0 4pt; string-set: title content(); }
h2 { font-size: 13pt; border-bottom: 1.5pt solid #1d4f91; color: #1d4f91; margin-top: 18pt; break-after: avoid; }
h3 { font-size: 10.5pt; margin: 10pt 0 4pt; break-after: avoid; }
table { border-collapse: collapse; width: 100%; margin: 4pt 0 8pt; }
th, td { border: 0.5pt solid #999; padding: 2pt 4pt; vertical-align: top; text-align: left; }
th { background: #e8eef7; }
table.trace { table-layout: fixed; }
table.trace col.c1 { width: 9%; } table.trace col.c2 { width: 11%; }
table.trace col.c3 { width: 39%; } table.trace col.c4 { width: 41%; }
td code { overflow-wrap: anywhere; }
table.tests { table-layout: fixed; }
table.tests col.c1 { width: 50%; } table.tests col.c2 { width: 10%; } table.tests col.c3 { width: 40%; }
tr { break-inside: avoid; }
td.num { text-align: right; }
code { font-family: "Liberation Mono", monospace; font-size: 8.5pt; }
code.hash { font-size: 7.5pt; }
pre { font-size: 8pt; background: #f4f4f4; padding: 4pt; white-space: pre-wrap; }
a { color: #1d4f91; text-decoration: none; }
.PASS { color: #0a6b2a; font-weight: bold; }
.FAIL { color: #fff; background: #b00020; font-weight: bold; padding: 0 2pt; }
.notrun, .NOT-RUN, .PENDING, .OUTSIDE, .WITHDRAWN { color: #8a5a00; font-weight: bold; }
.verdict { font-size: 12pt; padding: 6pt; border: 1.5pt solid; margin: 6pt 0; }
.id { white-space: nowrap; font-weight: bold; }
ul.toc { columns: 2; }
"""


def code(text):
    """Escaped, with `marked` spans as code."""
    return re.sub(r"`([^`]+)`", r"<code>\1</code>", esc(text))


def mark(verdict):
    return f'<span class="{verdict.replace(" ", "-")}">{verdict}</span>'


def identification(facts):
    rows = [("Product", f"Velunor {facts['version']}"),
            ("Commit", facts["commit"] + (" (with uncommitted changes)" if facts["dirty"] else "")),
            ("Report made", facts["date"])] + [(k, v) for k, v in facts["toolchain"]]
    body = "".join(f"<tr><th>{esc(k)}</th><td>{esc(v)}</td></tr>" for k, v in rows)
    return f"<table>{body}</table>"


def summary(rows, suites):
    counts = evidence.totals(suites)
    failed = sum(c[1] for c in counts.values())
    verdicts = [r.verdict for r in rows]
    lines = "".join(f"<li>{esc(name)}: {p} passed, {f} failed, {n} not run</li>"
                    for name, (p, f, n) in counts.items())
    lines += "".join(f"<li>{esc(s.name)}: <span class=notrun>not run</span></li>" for s in suites if not s.ran)
    word = "FAIL" if failed else "PASS"
    return (f'<div class="verdict {word}">{word}: {failed} failed tests; requirements '
            f"{verdicts.count('PASS')} passed, {verdicts.count('FAIL')} failed, "
            f"{len(verdicts) - verdicts.count('PASS') - verdicts.count('FAIL')} without a result in this run "
            f"(not run, pending or verified outside the suites)</div><ul>{lines}</ul>")


def trace(rows):
    body = []
    for row in rows:
        r = row.requirement
        by_test = {}
        for g in row.evidence:
            by_test.setdefault((g.name, g.cases), []).append(g)
        tests = "<br>".join(
            f"<code>{esc(name)}</code>" + (f" ({cases} cases)" if cases > 1 else "") + ": "
            + ", ".join(f"{mark(g.verdict)} {esc(g.suite)}" for g in found)
            + "".join(f"<br>&#160;&#160;failed in {esc(g.suite)}: <code>{esc(t)}</code>"
                      for g in found for t in g.failed)
            for (name, cases), found in by_test.items())
        note = (r.pending and f"Pending: {r.pending}" or r.outside and f"Outside the suites: {r.outside}"
                or r.windows and "The Windows tests verify it; they did not run for this report "
                                 "(`make validation-report WINDOWS=1` runs them)")
        tests = tests or code(note or "no test in the suites that ran")
        body.append(f'<tr id="req-{r.id}"><td class=id>{r.id}</td><td>{mark(row.verdict)}</td>'
                    f"<td>{code(r.text)}</td><td>{tests}</td></tr>")
    return ('<table class=trace><col class=c1><col class=c2><col class=c3><col class=c4>'
            "<thead><tr><th>ID</th><th>Verdict</th><th>Requirement</th><th>Tests and results</th></tr></thead>"
            + "".join(body) + "</table>")


def counts(output):
    """What the reference check counted, without the times that differ from run to run."""
    return re.sub(r", [0-9.]+ s in all| in [0-9.]+ s of CPU", "", output)


def reference_counts(suites):
    found = [f"<tr><td>{esc(s.name)}</td><td>{mark(s.results['reference_check'])}</td>"
             f"<td>{esc(counts(s.output.get('reference_check', '')))}</td></tr>"
             for s in suites if s.ran and "reference_check" in s.results]
    return ("<table><tr><th>Suite</th><th>Result</th><th>Counts</th></tr>" + "".join(found) + "</table>"
            if found else "<p class=notrun>Not run.</p>")


def all_tests(suites):
    out = []
    for s in suites:
        if not s.ran:
            continue
        ids = {}
        for test, found in s.ids.items():
            ids.setdefault(evidence.group_of(test), set()).update(found)
        rows = "".join(f"<tr><td><code>{esc(g.name)}</code>{f' ({g.cases} cases)' if g.cases > 1 else ''}"
                       f"</td><td>{mark(g.verdict)}</td><td>{esc(', '.join(sorted(ids.get(g.name, []))))}</td></tr>"
                       for g in evidence.groups(s, s.results))
        out.append(f"<h3>{esc(s.name)}</h3><table class=tests><col class=c1><col class=c2><col class=c3>"
                   f"<thead><tr><th>Test</th><th>Result</th><th>Requirements</th></tr></thead>{rows}</table>")
    return "".join(out)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--facts", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    with open(args.facts, encoding="utf-8") as f:
        facts = json.load(f)
    reqs = requirements.read(os.path.join(repo, "docs", "requirements.md"))
    known = {r.id for r in reqs}
    suites = [evidence.read_suite(s["name"], s["junit"], s["listing"]) for s in facts["suites"]]
    rows = evidence.matrix(reqs, suites)
    docs = os.path.join(repo, "docs")
    parts = [
        ("summary", "Verdict", summary(rows, suites)),
        ("identification", "What was built, and with what", identification(facts)),
        ("packages", "Packages", sections.packages(facts["packages"])),
        ("requirements", "Requirements and their tests", trace(rows)),
        ("reference", "Reference check", reference_counts(suites)),
        ("self-test", "Self-test reports", "".join(sections.self_test(t, p) for t, p in facts["self_tests"])),
        ("sbom", "Bills of materials", "".join(sections.sbom(p) for p in facts["sboms"])
         or "<p class=notrun>No bill of materials in this run.</p>"),
        ("known-anomalies", "Known anomalies", sections.document(os.path.join(docs, "known-anomalies.md"), known)),
        ("accessibility", "Accessibility conformance report",
         sections.document(os.path.join(docs, "accessibility.md"), known)),
        ("release-notes", "Release notes", sections.release_notes(os.path.join(repo, "packaging", "changelog"))),
        ("tests", "Every test of this run", all_tests(suites)),
    ]
    toc = "".join(f'<li><a href="#{key}">{esc(title)}</a></li>' for key, title, _ in parts)
    ids = " ".join(f'<a href="#req-{r.id}">{r.id}</a>' for r in reqs)
    body = "".join(f'<h2 id="{key}">{esc(title)}</h2>{content}' for key, title, content in parts)
    title = f"Velunor {facts['version']} validation report"
    page = (f'<!DOCTYPE html><html lang="en"><head><meta charset="utf-8"><title>{esc(title)}</title>'
            f'<meta name="dcterms.created" content="{esc(facts["date"])}">'
            f'<meta name="dcterms.modified" content="{esc(facts["date"])}">'
            f"<style>{STYLE}</style></head><body><h1>{esc(title)}</h1>"
            f"<p>Commit <code>{esc(facts['commit'])}</code>, {esc(facts['date'])}. "
            f"Each requirement's row (section Requirements) lists its tests and their results in this run; "
            f"its ID links there from anywhere in this report.</p>"
            f'<ul class=toc>{toc}</ul><p>Requirements: {ids}</p>{body}</body></html>\n')
    with open(args.out, "w", encoding="utf-8") as f:
        f.write(page)
    failed = any(c[1] for c in evidence.totals(suites).values())
    return 1 if failed or any(r.verdict == evidence.FAIL for r in rows) else 0


if __name__ == "__main__":
    sys.exit(main())
