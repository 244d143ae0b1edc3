#!/usr/bin/python3
"""size_report.py PROGRAM MAP [--objects N]

Where the bytes of a program of the build go: its sections as the file holds
them, its resources by type (the payload, the skin package, the scripts,
...), and the code and data that each library and object file brought in,
read from the link map (the build links every program with -Wl,-Map, next to
it as <target>.map). Prints figures and judges nothing.

Example (the shipped installer):
  tools/bench/size_report.py out/x86/NEBInstaller.exe build/x86/app/NEBInstaller.map
"""
import argparse
import collections
import os
import re

import pefile

# Output sections of the image that the link map breaks down; .bss takes no
# room in the file and the debug sections are stripped.
COLUMNS = ('.text', '.rdata', '.eh_frame', '.data')
OUTPUT_SECTION = re.compile(r'^(\.[\w$.]+)\s+0x[0-9a-f]+\s+0x([0-9a-f]+)')
INPUT_SECTION = re.compile(r'^ (\.[^\s]+)(?:\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(.+))?$')
CONTINUED = re.compile(r'^\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(.+)$')
MEMBER = re.compile(r'^(.*?)\(([^()]+)\)$')


def kb(size):
    return '%9.1f' % (size / 1024)


def print_sections(pe, file_size):
    print('%-10s %9s %9s' % ('section', 'file KB', 'memory KB'))
    for section in pe.sections:
        name = section.Name.rstrip(b'\0').decode('ascii', 'replace')
        print('%-10s %s %s' % (name, kb(section.SizeOfRawData), kb(section.Misc_VirtualSize)))
    print('%-10s %s' % ('file', kb(file_size)))


def resource_sizes(pe):
    """Bytes per resource type (a name such as "_7Z" or a number such as 3 for icons)."""
    sizes = collections.Counter()
    if not hasattr(pe, 'DIRECTORY_ENTRY_RESOURCE'):
        return sizes
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        kind_name = str(kind.name) if kind.name is not None else pefile.RESOURCE_TYPE.get(kind.id, str(kind.id))
        for entry in kind.directory.entries:
            label = kind_name + '/' + (str(entry.name) if entry.name is not None else str(entry.id))
            for language in entry.directory.entries:
                sizes[label] += language.data.struct.Size
    return sizes


def owner_of(path):
    """The library and the object file an input section came from."""
    match = MEMBER.match(path)
    if match:
        return os.path.basename(match.group(1)), match.group(2)
    return '(objects)', os.path.basename(path)


def read_map(map_path):
    """Bytes per (library, object) and output section, from the memory map part."""
    sizes = collections.defaultdict(collections.Counter)
    output = None
    pending = None
    in_memory_map = False
    with open(map_path, encoding='utf-8', errors='replace') as f:
        for line in f:
            line = line.rstrip('\n')
            if not in_memory_map:
                in_memory_map = line.startswith('Linker script and memory map')
                continue
            match = OUTPUT_SECTION.match(line)
            if match:
                output = match.group(1)
                pending = None
                continue
            if output not in COLUMNS:
                continue
            match = INPUT_SECTION.match(line)
            if match:
                if match.group(2) is None:
                    pending = output  # a long name: address and size on the next line
                else:
                    sizes[owner_of(match.group(3))][output] += int(match.group(2), 16)
                continue
            match = CONTINUED.match(line)
            if match and pending:
                sizes[owner_of(match.group(2))][output] += int(match.group(1), 16)
            pending = None
    return sizes


def print_table(title, rows, limit=None):
    print('%-44s' % title + ''.join('%10s' % c for c in COLUMNS) + '%10s' % 'all KB')
    ordered = sorted(rows.items(), key=lambda item: -sum(item[1].values()))
    for name, counts in ordered[:limit]:
        print('%-44s' % name[:44] + ''.join(kb(counts[c]) + ' ' for c in COLUMNS) + kb(sum(counts.values())))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('program')
    parser.add_argument('map')
    parser.add_argument('--objects', type=int, default=25, help='how many of the largest object files to list')
    args = parser.parse_args()

    pe = pefile.PE(args.program, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY['IMAGE_DIRECTORY_ENTRY_RESOURCE']])
    file_size = os.path.getsize(args.program)
    print_sections(pe, file_size)

    resources = resource_sizes(pe)
    print('\n%-30s %9s' % ('resource', 'KB'))
    for label, size in resources.most_common():
        print('%-30s %s' % (label, kb(size)))
    payload = sum(size for label, size in resources.items() if label.startswith('_7Z/'))
    print('%-30s %s' % ('file without the payload', kb(file_size - payload)))

    sizes = read_map(args.map)
    libraries = collections.defaultdict(collections.Counter)
    for (library, _), counts in sizes.items():
        libraries[library].update(counts)
    print()
    print_table('library', libraries)
    print()
    print_table('object file (largest %d)' % args.objects,
                {'%s(%s)' % key if key[0] != '(objects)' else key[1]: counts for key, counts in sizes.items()},
                args.objects)


if __name__ == '__main__':
    main()
