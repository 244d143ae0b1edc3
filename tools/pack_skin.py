#!/usr/bin/env python3
"""Packs the skin folder into the ZIP package the installer carries.

Usage: pack_skin.py SKIN_FOLDER OUTPUT.zip
Entries are Deflate-compressed, named with "/" relative to the folder, in
sorted order with a fixed time, so the same folder gives the same bytes.
"""
import os
import sys
import zipfile

FIXED_TIME = (2020, 1, 1, 0, 0, 0)


def main():
    folder, output = sys.argv[1], sys.argv[2]
    names = []
    for root, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(root, name)
            names.append(os.path.relpath(path, folder).replace(os.sep, "/"))
    partial = output + ".part"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name in sorted(names):
            info = zipfile.ZipInfo(name, FIXED_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(folder, name), "rb") as source:
                archive.writestr(info, source.read())
    os.replace(partial, output)


if __name__ == "__main__":
    main()
