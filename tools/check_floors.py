#!/usr/bin/env python3
"""Refuses an include that runs upwards between the program's floors.

The program's folders (base, log, script, ...) are floors, each including
only those listed for it; the UI framework inside `ui/` is built in floors of
its own, each one a library that links only the floors below it. A source may
include headers of its own floor and of the floors below; an include of a
higher floor is an error, reported as `file:line: ...`, and the exit status
is 1. The build runs this before it compiles anything.

Usage: check_floors.py [SOURCE_DIR]
SOURCE_DIR holds the project's folders (default: this script's project).
"""
import argparse
import os
import re
import sys

# The program's folders: the folders each may include, besides its own.
PROGRAM_FLOORS = {
    "base": [],
    "log": ["base"],
    "script": ["base"],
    "files": ["base"],
    "http": ["base"],
    "extract": ["base", "files"],
    "hostapi": ["base", "log", "script", "files", "extract"],
    "app": ["base", "log", "script", "files", "extract", "hostapi", "http", "ui", "scripts"],
}
PROGRAM_INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_]+)/')

# The framework's floors, lowest first. A floor is one or more folders of ui/.
FLOORS = [
    ("geometry", ("geometry", "dpi")),
    ("parsing", ("markup",)),
    ("resources", ("resources",)),
    ("render", ("render",)),
    ("controls", ("controls",)),
    ("containers", ("containers",)),
    ("building", ("building",)),
    ("host", ("host",)),
    ("window", ("window",)),
    ("skin_check", ("skin_check",)),
]
SOURCE_SUFFIXES = (".h", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*"ui/([^/"]+)/')


def floor_of_folder():
    levels = {}
    for level, (name, folders) in enumerate(FLOORS):
        for folder in folders:
            levels[folder] = (level, name)
    return levels


def sources(folder):
    for walk_dir, _, files in sorted(os.walk(folder)):
        for file_name in sorted(files):
            if file_name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(walk_dir, file_name)


def numbered_lines(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        yield from enumerate(f, 1)


def check_program(source_dir):
    problems = []
    for floor, allowed in PROGRAM_FLOORS.items():
        for path in sources(os.path.join(source_dir, floor)):
            for number, line in numbered_lines(path):
                match = PROGRAM_INCLUDE.match(line)
                if match and match.group(1) != floor and match.group(1) not in allowed:
                    problems.append("%s:%d: %s/ may not include %s/" % (os.path.relpath(path, source_dir), number,
                                                                       floor, match.group(1)))
    return problems


def check(source_dir):
    """Returns the problems found, one line each."""
    return check_program(source_dir) + check_framework(source_dir)


def check_framework(source_dir):
    levels = floor_of_folder()
    ui_dir = os.path.join(source_dir, "ui")
    problems = []
    for folder in sorted(os.listdir(ui_dir)):
        path = os.path.join(ui_dir, folder)
        if not os.path.isdir(path):
            continue
        if folder not in levels:
            problems.append("%s: folder belongs to no floor" % os.path.relpath(path, source_dir))
            continue
        own_level, own_name = levels[folder]
        for file_path in sources(path):
            relative = os.path.relpath(file_path, source_dir)
            for number, line in numbered_lines(file_path):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = match.group(1)
                if target not in levels:
                    problems.append("%s:%d: includes ui/%s, a folder of no floor" % (relative, number, target))
                    continue
                level, name = levels[target]
                if level > own_level:
                    problems.append("%s:%d: the %s floor includes the %s floor above it: %s"
                                    % (relative, number, own_name, name, line.strip()))
    return problems


def main():
    parser = argparse.ArgumentParser(description="Refuses an upward include between the floors.")
    parser.add_argument("source_dir", nargs="?", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    args = parser.parse_args()
    problems = check(args.source_dir)
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
