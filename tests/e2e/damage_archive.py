#!/usr/bin/env python3
"""Copies an archive with one byte of its packed data inverted, half-way
through the file (past the 32-byte start header, well before the archive's
own header at the end), so that unpacking it fails its data or CRC check.

Usage: damage_archive.py ARCHIVE OUTPUT"""
import sys


def main():
    with open(sys.argv[1], "rb") as f:
        data = bytearray(f.read())
    data[len(data) // 2] ^= 0xFF
    with open(sys.argv[2], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
