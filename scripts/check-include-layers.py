#!/usr/bin/env python3
"""Checks that the includes keep the layers apart.

The suite under src/ stays free of the toolkit and of the system backends: it includes
no header of platform/linux, platform/sim, ui/ or app/, and no Qt, X11, xcb, ALSA or
D-Bus header. The ports under platform/ports include only the C++ standard library and
other ports. Every violation is printed as FILE:LINE: reason, and the exit status is 1
when there is one.

Usage: check-include-layers.py [ROOT]   (ROOT defaults to the checkout holding this script)
"""

import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')

# Headers the suite's own code must not reach for: (pattern on the included name, why).
# The backends are the project's own folders, named with quotes ("linux/AlsaMixer.h"
# from platform/); <linux/...> is the kernel's interface and stays allowed.
FORBIDDEN_IN_SUITE = [
    (re.compile(r'^"((\.\./)*platform/)?linux/'), "includes the Linux backend"),
    (re.compile(r'^"((\.\./)*platform/)?sim/'), "includes the simulated backend"),
    (re.compile(r'^"(\.\./)*ui/'), "includes the widgets"),
    (re.compile(r'^"(\.\./)*app/'), "includes the program's composition root"),
    (re.compile(r"^.(Qt[A-Za-z]*/|Q[A-Z][A-Za-z]*$|q[a-z]+\.h$)"), "includes a Qt header"),
    (re.compile(r"^.X11/"), "includes an X11 header"),
    (re.compile(r"^.xcb/"), "includes an xcb header"),
    (re.compile(r"^.(alsa/|asoundlib\.h$|sys/asoundlib\.h$)"), "includes an ALSA header"),
    (re.compile(r"^.(dbus/|dbus-)"), "includes a D-Bus header"),
]

# The C++20 standard library, including the C library under its <cname> names.
STANDARD_HEADERS = set("""
algorithm any array atomic barrier bit bitset cassert cctype cerrno cfenv cfloat charconv
chrono cinttypes climits clocale cmath codecvt compare complex concepts condition_variable
coroutine csetjmp csignal cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar
cwchar cwctype deque exception execution filesystem format forward_list fstream
functional future initializer_list iomanip ios iosfwd iostream istream iterator latch
limits list locale map memory memory_resource mutex new numbers numeric optional ostream
queue random ranges ratio regex scoped_allocator semaphore set shared_mutex source_location
span sstream stack stdexcept stop_token streambuf string string_view syncstream
system_error thread tuple type_traits typeindex typeinfo unordered_map unordered_set
utility valarray variant vector version
""".split())

SOURCE_SUFFIXES = {".cpp", ".h"}


def includes(path):
    """(line number, bracket, name) of each #include in the file."""
    with open(path, encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, start=1):
            match = INCLUDE.match(line)
            if match:
                yield number, match.group(1), match.group(2).strip()


def sources(folder):
    if not folder.is_dir():
        return []
    return sorted(p for p in folder.rglob("*") if p.suffix in SOURCE_SUFFIXES and p.is_file())


def check_suite(root):
    problems = []
    for path in sources(root / "src"):
        for number, bracket, name in includes(path):
            for pattern, reason in FORBIDDEN_IN_SUITE:
                if pattern.search(bracket + name):
                    problems.append(f"{path.relative_to(root)}:{number}: {reason}: {name}")
                    break
    return problems


def is_port(root, path, name):
    """Whether a quoted include names another header of platform/ports."""
    ports = root / "platform" / "ports"
    for candidate in (root / name, root / "platform" / name, path.parent / name):
        resolved = candidate.resolve()
        if resolved.is_relative_to(ports.resolve()) and resolved.is_file():
            return True
    return False


def check_ports(root):
    problems = []
    for path in sources(root / "platform" / "ports"):
        for number, bracket, name in includes(path):
            if bracket == "<" and name in STANDARD_HEADERS:
                continue
            if bracket == '"' and is_port(root, path, name):
                continue
            problems.append(
                f"{path.relative_to(root)}:{number}: a port includes more than the standard "
                f"library and other ports: {bracket}{name}{'>' if bracket == '<' else bracket}")
    return problems


def main(argv):
    root = pathlib.Path(argv[1] if len(argv) > 1 else pathlib.Path(__file__).parent.parent)
    root = root.resolve()
    problems = check_suite(root) + check_ports(root)
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"include layers: {len(problems)} violation(s)", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
