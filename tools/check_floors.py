#!/usr/bin/env python3
"""Refuses an include in the UI framework that runs upwards.

The framework is built in floors, each one a library that links only the
floors below it. A source of a floor may include headers of its own floor
and of the floors below; an `#include "ui/..."` of a higher floor is an
error, reported as `file:line: ...`, and the exit status is 1.

Usage: check_floors.py [SOURCE_DIR]
SOURCE_DIR holds the `ui` folder (default: this script's project).
"""
import argparse
import os
import re
import sys

# Lowest first. A floor is one or more folders of ui/.
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


def check(source_dir):
    """Returns the problems found, one line each."""
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
        for walk_dir, _, files in os.walk(path):
            for file_name in sorted(files):
                if not file_name.endswith(SOURCE_SUFFIXES):
                    continue
                file_path = os.path.join(walk_dir, file_name)
                relative = os.path.relpath(file_path, source_dir)
                with open(file_path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
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
    parser = argparse.ArgumentParser(description="Refuses an upward include between the UI framework's floors.")
    parser.add_argument("source_dir", nargs="?", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    args = parser.parse_args()
    problems = check(args.source_dir)
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
