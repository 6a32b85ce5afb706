"""The evidence of one run: each suite's test results (CTest's JUnit output) and
the requirement IDs each test carries (its labels), joined into the verdict for
each requirement."""
import json
import os
import re
import xml.etree.ElementTree as ElementTree
from typing import NamedTuple

import requirements

PASS, FAIL, NOT_RUN = "PASS", "FAIL", "NOT RUN"


class Suite(NamedTuple):
    name: str  # "Linux, Debug"
    ran: bool
    results: dict  # test -> PASS / FAIL / NOT RUN
    ids: dict  # test -> [requirement IDs]
    output: dict  # test -> what it printed


def read_suite(name, junit, listing):
    """A suite from its JUnit file and its `ctest --show-only=json-v1` listing; a
    suite whose files are absent did not run."""
    if not (os.path.exists(junit) and os.path.exists(listing)):
        return Suite(name, False, {}, {}, {})
    with open(listing, encoding="utf-8") as f:
        tests = json.load(f)["tests"]
    ids = {}
    for test in tests:
        labels = next((p["value"] for p in test.get("properties", []) if p["name"] == "LABELS"), [])
        ids[test["name"]] = sorted(label for label in labels if requirements.ID.fullmatch(label))
    results = {name: NOT_RUN for name in ids}
    output = {}
    for case in ElementTree.parse(junit).getroot().iter("testcase"):
        status = case.get("status")
        results[case.get("name")] = PASS if status == "run" else FAIL if status == "fail" else NOT_RUN
        output[case.get("name")] = (case.findtext("system-out") or "").strip()
    return Suite(name, True, results, ids, output)


def group_of(test):
    """Parameterised GoogleTest cases as one group: "Texts/ParseField.ReadsStoredSingle"."""
    match = re.fullmatch(r"(\w+/\w+\.\w+)/.+", test)
    return match[1] if match else test


class Group(NamedTuple):
    suite: str
    name: str
    cases: int
    verdict: str
    failed: list


def groups(suite, tests):
    """The tests, grouped, with one verdict each: FAIL if any case failed."""
    found = {}
    for test in tests:
        found.setdefault(group_of(test), []).append(test)
    result = []
    for name, cases in sorted(found.items()):
        failed = sorted(t for t in cases if suite.results.get(t) == FAIL)
        verdicts = {suite.results.get(t, NOT_RUN) for t in cases}
        verdict = FAIL if failed else PASS if verdicts == {PASS} else NOT_RUN
        result.append(Group(suite.name, name, len(cases), verdict, failed))
    return result


class Row(NamedTuple):
    requirement: requirements.Requirement
    verdict: str  # PASS, FAIL, NOT RUN, PENDING, OUTSIDE, WITHDRAWN
    evidence: list  # Group, over every suite


def matrix(reqs, suites):
    rows = []
    for r in reqs:
        evidence = []
        for suite in suites:
            tests = [t for t, ids in suite.ids.items() if r.id in ids]
            evidence += groups(suite, tests)
        verdicts = {g.verdict for g in evidence}
        if r.withdrawn:
            verdict = "WITHDRAWN"
        elif FAIL in verdicts:
            verdict = FAIL
        elif verdicts == {PASS}:
            verdict = PASS
        elif verdicts:
            verdict = NOT_RUN
        else:
            verdict = "PENDING" if r.pending else "OUTSIDE" if r.outside else NOT_RUN
        rows.append(Row(r, verdict, evidence))
    return rows


def totals(suites):
    """suite name -> (passed, failed, not run)."""
    return {s.name: tuple(sum(1 for v in s.results.values() if v == k) for k in (PASS, FAIL, NOT_RUN))
            for s in suites if s.ran}
