#!/usr/bin/env python3
"""Writes a reproducible corpus of mixed files for the extraction benchmark.

Usage: make_corpus.py FOLDER MEGABYTES

About a third each of text-like files (words from a fixed vocabulary),
binary-like files (structured records with small random fields) and
incompressible random data, in nested folders, with file sizes from a few
hundred bytes to a few megabytes, the way an application's files spread.
"""
import os
import random
import sys


def text_block(rng, size):
    words = ["install", "folder", "window", "library", "registry", "service", "payload",
             "progress", "shortcut", "script", "version", "update", "Lumetrica", "options",
             "0x%08x", "return", "function", "local", "end", "if", "then", "else"]
    out = []
    length = 0
    while length < size:
        word = rng.choice(words)
        out.append(word)
        length += len(word) + 1
    return " ".join(out).encode()[:size]


def binary_block(rng, size):
    record = bytearray()
    while len(record) < size:
        record += rng.randrange(1 << 16).to_bytes(4, "little") + b"\x00\x00\x10\x00" + bytes(8)
    return bytes(record[:size])


def main():
    folder, megabytes = sys.argv[1], int(sys.argv[2])
    rng = random.Random(20261210)
    total, index = 0, 0
    target = megabytes << 20
    while total < target:
        kind = index % 3
        size = min(int(rng.lognormvariate(10.5, 1.6)) + 200, 4 << 20)
        if kind == 0:
            data = text_block(rng, size)
        elif kind == 1:
            data = binary_block(rng, size)
        else:
            data = rng.randbytes(size)
        path = os.path.join(folder, "d%02d" % (index % 37), "s%d" % (index % 5), "f%05d.%s" % (
            index, ["txt", "dat", "bin"][kind]))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        total += size
        index += 1
    print("%d files, %d bytes" % (index, total))


if __name__ == "__main__":
    main()
