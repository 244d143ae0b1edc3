#!/usr/bin/env python3
"""Packs a folder into the payload archive the installer carries.

Usage: pack_payload.py FOLDER OUTPUT

The archive is a solid LZMA2 7z archive of the folder's content (programs
and libraries through the BCJ filter: at -mx=9 7-Zip would choose BCJ2,
whose four streams the installer decodes whole rather than through the
dictionary-sized window it uses for LZMA2 with or without BCJ), stored with
its first two bytes exchanged so that the program file does not read as an
archive; the installer exchanges them back before it unpacks.
"""
import os
import subprocess
import sys
import tempfile


def main():
    folder, output = sys.argv[1], os.path.abspath(sys.argv[2])
    with tempfile.TemporaryDirectory() as work:
        archive = os.path.join(work, "payload.7z")
        subprocess.run(["7zz", "a", "-t7z", "-m0=lzma2", "-mx=9", "-mf=BCJ", "-ms=on", "-bd", "-bso0",
                        archive, "."], cwd=folder, check=True)
        with open(archive, "rb") as f:
            data = bytearray(f.read())
    data[0], data[1] = data[1], data[0]
    with open(output, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
