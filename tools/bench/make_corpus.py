#!/usr/bin/env python3
"""Writes a reproducible corpus of mixed files for the extraction benchmark.

Usage: make_corpus.py FOLDER MEGABYTES
       make_corpus.py --small FOLDER COUNT

About a third each of text-like files (words from a fixed vocabulary),
binary-like files (structured records with small random fields) and
incompressible random data, in nested folders, with file sizes from a few
hundred bytes to a few megabytes, the way an application's files spread. With --small, COUNT files of one to
eight kilobytes (text-like and binary-like) in 400 folders of two levels,
the way a tree of scripts, translations and icons looks.
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


def write(folder, relative, data):
    path = os.path.join(folder, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def small_files(folder, count):
    rng = random.Random(20261211)
    total = 0
    for index in range(count):
        size = rng.randrange(1024, 8192)
        data = text_block(rng, size) if index % 2 else binary_block(rng, size)
        write(folder, os.path.join("m%02d" % (index % 20), "p%02d" % (index // 20 % 20),
                                   "f%05d.%s" % (index, ["dat", "txt"][index % 2])), data)
        total += size
    print("%d files, %d bytes" % (count, total))


def main():
    if sys.argv[1] == "--small":
        small_files(sys.argv[2], int(sys.argv[3]))
        return
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
        write(folder, os.path.join("d%02d" % (index % 37), "s%d" % (index % 5), "f%05d.%s" % (
            index, ["txt", "dat", "bin"][kind])), data)
        total += size
        index += 1
    print("%d files, %d bytes" % (index, total))


if __name__ == "__main__":
    main()
