"""Fails when a requirement has no test in this build, or a test names an ID that
docs/requirements.md does not hold. The Linux build answers for every requirement
but those marked (Windows), the Windows build for those; a requirement verified
outside the suites, pending or withdrawn needs no test.

Usage: check_requirements.py REQUIREMENTS_MD CTEST BUILD_DIR linux|windows"""
import sys

import requirements


def main(document, ctest, build_dir, platform):
    listed = {r.id: r for r in requirements.read(document)}
    tests = requirements.test_labels(ctest, build_dir)
    faults = []
    for test, ids in sorted(tests.items()):
        faults += [f"{test} names {i}, which {document} does not hold" for i in ids if i not in listed]
    verified = {i for ids in tests.values() for i in ids}
    for r in listed.values():
        due = r.windows == (platform == "windows") and not (r.outside or r.pending or r.withdrawn)
        if due and r.id not in verified:
            faults.append(f"{r.id} ({r.section}) has no test in this build")
    for fault in faults:
        print(f"FAIL: {fault}")
    labelled = sum(1 for ids in tests.values() if ids)
    print(f"{len(listed)} requirements, {labelled} of {len(tests)} tests name them, "
          f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 5 or sys.argv[4] not in ("linux", "windows"):
        sys.exit(__doc__.split("\n\n")[-1])
    sys.exit(main(*sys.argv[1:]))
