#!/usr/bin/env python3
"""Fails a test run that skipped a test for no good reason.

Reads the output of a ctest run and names every skipped test that the allow-list
(scripts/allowed-skips.txt: a test's name, then the reason the machine may lack what
it needs) does not name. Exit status 1 when there is one, 2 when the output holds no
test results at all (a run that never started is no pass either).

Usage: check-skips.py CTEST_OUTPUT [ALLOW_LIST]
"""

import pathlib
import re
import sys

RESULT = re.compile(r"Test\s+#\d+:\s+(\S+)\s.*?\s(Passed|\*+\w+)")
SKIPPED = re.compile(r"Test\s+#\d+:\s+(\S+)\s.*\*+Skipped")


def allowed_skips(path):
    """Test name -> reason, from lines "NAME REASON..." (# starts a comment)."""
    allowed = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), start=1):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        name, _, reason = line.partition(" ")
        if not reason.strip():
            raise SystemExit(f"{path}:{number}: an allowed skip needs its reason: {name}")
        allowed[name] = reason.strip()
    return allowed


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    output = pathlib.Path(argv[1]).read_text(encoding="utf-8", errors="replace")
    allow_list = pathlib.Path(argv[2]) if len(argv) > 2 else (
        pathlib.Path(__file__).parent / "allowed-skips.txt")
    allowed = allowed_skips(allow_list)

    if not RESULT.search(output):
        print(f"check-skips: no test results in {argv[1]}", file=sys.stderr)
        return 2
    skipped = [m.group(1) for m in SKIPPED.finditer(output)]
    unexpected = [name for name in skipped if name not in allowed]
    for name in skipped:
        if name in allowed:
            print(f"skipped as allowed: {name} ({allowed[name]})")
    for name in unexpected:
        print(f"skipped without an allowed reason: {name}", file=sys.stderr)
    return 1 if unexpected else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
