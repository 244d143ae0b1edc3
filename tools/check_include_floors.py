#!/usr/bin/env python3
"""Refuses an include that runs upwards between the program's floors.

Each folder below may include only the floors listed for it (and itself);
the build runs this on every build, so a backward include stops it with
the file, the line and the floor it reached. The UI framework's own floors
are checked by the framework's build.

Usage: check_include_floors.py SOURCE_DIR
"""
import pathlib
import re
import sys

# floor: the floors it may include, lowest first.
FLOORS = {
    "base": [],
    "log": ["base"],
    "script": ["base"],
    "files": ["base"],
    "http": ["base"],
    "extract": ["base", "files"],
    "hostapi": ["base", "log", "script", "files", "extract"],
    "app": ["base", "log", "script", "files", "extract", "hostapi", "http", "ui", "scripts"],
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_]+)/')


def upward_includes(root):
    for floor, allowed in FLOORS.items():
        for path in sorted((root / floor).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                match = INCLUDE.match(line)
                if match and match.group(1) != floor and match.group(1) not in allowed:
                    yield f"{path.relative_to(root)}:{number}: {floor}/ may not include {match.group(1)}/"


def main():
    problems = list(upward_includes(pathlib.Path(sys.argv[1])))
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
