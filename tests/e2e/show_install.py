#!/usr/bin/env python3
"""Prints what a silent install of the sample product left on the system,
read back from the system itself: the installed tree, the registry records
and the autostart value, the shortcuts, the service, the uninstaller's
files against the installer's chunks, the daily log and what the
collector received.

Usage (inside a Wine session, NEB_BUILD_DIR set): show_install.py FOLDER COLLECTOR_RECORDS
FOLDER is the install folder as Windows names it."""
import json
import os
import sys

import product


def section(title):
    print("== " + title)


def main():
    folder, collector_file = sys.argv[1], sys.argv[2]
    unix_folder = product.unix_path(folder)

    section("installed tree (%s)" % folder)
    for path in product.installed_tree(unix_folder):
        full = os.path.join(unix_folder, path)
        size = "" if os.path.isdir(full) else "  %d bytes" % os.path.getsize(full)
        print("  " + path.replace(os.sep, "\\") + size)

    section("registry records, in the order the script writes them")
    for number, (root, key, value, kind, data) in enumerate(product.records(), 1):
        print("  %2d %s\\%s  %s  %s  %s" % (number, root, key, value, kind or "(absent)", data or ""))
    section("autostart value")
    print("  %s  Lumetrica = %s" % (product.RUN_KEY, product.run_value()))

    section("shortcuts")
    for name, path in product.shortcut_files().items():
        fields = product.read_link(path)
        print("  %s: %s" % (name, path if fields else "(none)"))
        for field, value in (fields or {}).items():
            print("      %s=%s" % (field, value))

    section("service %s" % product.SERVICE)
    print("  " + (product.service_state() or "not installed"))

    section("uninstaller's files against the installer's embedded chunks")
    for file_name, chunk_name in [("Uninst.dar0", "GLOBAL_VAR.LUAC"), ("Uninst.dar1", "UNINSTSCRIPT.LUAC")]:
        path = os.path.join(unix_folder, file_name)
        written = open(path, "rb").read() if os.path.exists(path) else None
        verdict = "missing" if written is None else (
            "byte-equal to %s (%d bytes)" % (chunk_name, len(written)) if written == product.chunk(chunk_name)
            else "DIFFERS from %s" % chunk_name)
        print("  %s: %s" % (file_name, verdict))

    section("product's event record")
    for line in product.product_events() or ["(none)"]:
        print("  " + line)

    section("daily log")
    for line in product.daily_log() or ["(none)"]:
        print("  " + line)

    section("what the collector received")
    records = []
    if os.path.exists(collector_file):
        with open(collector_file, encoding="utf-8") as f:
            records = [json.loads(line) for line in f if line.strip()]
    for entry in records:
        if entry["via"] == "udp":
            print("  UDP  " + entry["data"])
        else:
            print("  HTTP %s %s  body: %s" % (entry["method"], entry["path"], entry["body"]))
    if not records:
        print("  (nothing)")


if __name__ == "__main__":
    main()
