"""docs/requirements.md and the CTest labels that name its IDs: what the check
of the trace and the validation report both read."""
import json
import re
import subprocess
from typing import NamedTuple

ID = re.compile(r"[A-Z][A-Z0-9]*-[0-9]+")
ENTRY = re.compile(r"^- \*\*(" + ID.pattern + r")\*\* (.*?)(?=^- \*\*|^#|\Z)", re.M | re.S)


class Requirement(NamedTuple):
    id: str
    section: str
    text: str
    windows: bool  # verified by the Windows build's tests
    outside: str  # the script that verifies it outside the suites, or ""
    pending: str  # why nothing verifies it yet, or ""
    withdrawn: bool


def read(path):
    """The requirements in the order the document lists them."""
    with open(path, encoding="utf-8") as f:
        document = f.read()
    sections = [(m.start(), m[1]) for m in re.finditer(r"^## (.+)$", document, re.M)]
    found = []
    for m in ENTRY.finditer(document):
        section = [name for start, name in sections if start < m.start()][-1]
        text = " ".join(m[2].split())
        outside = re.search(r"\*Outside the suites:\* (.*)$", text)
        pending = re.search(r"\*Pending:\* (.*)$", text)
        found.append(Requirement(
            m[1], section, re.sub(r"\s*\*(\(Windows\)|Outside the suites:|Pending:|Withdrawn)\*.*$", "", text),
            "*(Windows)*" in text, outside[1] if outside else "", pending[1] if pending else "",
            "*Withdrawn*" in text))
    return found


def test_labels(ctest, build_dir):
    """Each CTest test of a configured build -> the requirement IDs among its labels."""
    listing = subprocess.run([ctest, "--test-dir", build_dir, "--show-only=json-v1"],
                             capture_output=True, text=True, check=True).stdout
    tests = {}
    for test in json.loads(listing)["tests"]:
        labels = next((p["value"] for p in test.get("properties", []) if p["name"] == "LABELS"), [])
        tests[test["name"]] = [label for label in labels if ID.fullmatch(label)]
    return tests
