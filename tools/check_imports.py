#!/usr/bin/python3
"""check_imports.py PROGRAM MAP [--allow NAME ...]

Checks, after the link, how a program or library of the build reaches the
system's functions, and refuses it (deletes it, exit code 1) when:
- its ordinary import table names a library that is not allowed there (only
  the libraries Windows always takes from the system folder are);
- a lazy-import slot does not point at a load thunk, which loads that very
  slot through its library's descriptor (a slot left 0 crashes on first call);
- a function it calls through an import slot (an __imp_ symbol of the link
  map) sits in neither an ordinary import of an allowed library nor a lazy
  import.

The linker does not fill in the lazy-import data directory; the descriptors
are found through the link map, must lie one after the other and end with a
zero descriptor (tools/lazy_import_table_end.S), and the data directory is
then set to them so that any reader of the file finds the table.
"""
import re
import struct
import sys

import pefile

DESCRIPTOR_SIZE = 32
DELAY_IMPORT_DIRECTORY = pefile.DIRECTORY_ENTRY['IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT']
MAP_SYMBOL = re.compile(r'^\s+0x([0-9a-f]+)\s+(\S+)\s*$')


def read_map(map_path):
    """The addresses of the lazy-import descriptors and of every __imp_ slot."""
    descriptors, slots = {}, {}
    with open(map_path, encoding='utf-8', errors='replace') as f:
        for line in f:
            match = MAP_SYMBOL.match(line)
            if not match:
                continue
            address, name = int(match.group(1), 16), match.group(2).lstrip('_')
            if name.startswith('DELAY_IMPORT_DESCRIPTOR_'):
                descriptors[address] = name[len('DELAY_IMPORT_DESCRIPTOR_'):]
            elif name.startswith('imp_'):
                slots[address] = name[len('imp_'):].lstrip('_')
    return descriptors, slots


class Image:
    def __init__(self, pe):
        self.pe = pe
        self.base = pe.OPTIONAL_HEADER.ImageBase
        self.is64 = pe.FILE_HEADER.Machine == pefile.MACHINE_TYPE['IMAGE_FILE_MACHINE_AMD64']
        self.pointer = 8 if self.is64 else 4

    def read(self, va, size):
        return self.pe.get_data(va - self.base, size)

    def pointer_at(self, va):
        return struct.unpack('<Q' if self.is64 else '<I', self.read(va, self.pointer))[0]

    def is_code(self, va):
        section = self.pe.get_section_by_rva(va - self.base)
        return section is not None and bool(section.Characteristics & 0x20000000)  # MEM_EXECUTE

    def section_of(self, va):
        section = self.pe.get_section_by_rva(va - self.base)
        return section.Name if section else None

    def string_at(self, rva):
        return self.pe.get_string_at_rva(rva).decode('ascii', 'replace')

    def thunk_target(self, thunk_va):
        """The slot a load thunk loads and the tail it jumps to, or None."""
        code = self.read(thunk_va, 13 if self.is64 else 10)
        if self.is64 and code[:3] == b'\x48\x8d\x05' and code[7] == 0xE9:    # lea rax,[rip+slot]; jmp tail
            slot = thunk_va + 7 + struct.unpack('<i', code[3:7])[0]
            tail = thunk_va + 12 + struct.unpack('<i', code[8:12])[0]
            return slot, tail
        if not self.is64 and code[0] == 0xB8 and code[5] == 0xE9:           # mov eax,slot; jmp tail
            slot = struct.unpack('<I', code[1:5])[0]
            tail = thunk_va + 10 + struct.unpack('<i', code[6:10])[0]
            return slot, tail
        return None

    def tail_descriptor(self, tail_va):
        """The descriptor a tail hands to the lazy-load helper, or None."""
        code = self.read(tail_va, 48)
        if self.is64:
            at = code.find(b'\x48\x8d\x0d')                                     # lea rcx,[rip+descriptor]
            return None if at < 0 else tail_va + at + 7 + struct.unpack('<i', code[at + 3:at + 7])[0]
        if code[:4] == b'\x51\x52\x50\x68':                                    # push ecx, edx, eax, descriptor
            return struct.unpack('<I', code[4:8])[0]
        return None


def check(program, map_path, allowed):
    problems = []
    pe = pefile.PE(program)
    image = Image(pe)
    allowed = {name.lower() for name in allowed}

    plain_slots = set()
    for entry in getattr(pe, 'DIRECTORY_ENTRY_IMPORT', []):
        library = entry.dll.decode('ascii', 'replace')
        if library.lower() not in allowed:
            problems.append(f'{library} is imported directly, not lazily from the system folder')
        plain_slots.update(function.address for function in entry.imports)

    descriptors, named_slots = read_map(map_path)
    lazy_slots = set()
    addresses = sorted(descriptors)
    for index, descriptor in enumerate(addresses):
        if index and descriptor != addresses[index - 1] + DESCRIPTOR_SIZE:
            problems.append(f'lazy-import descriptor {descriptors[descriptor]} does not follow the one before it')
        fields = struct.unpack('<8I', image.read(descriptor, DESCRIPTOR_SIZE))
        attributes, name_rva, _module, iat_rva, int_rva = fields[:5]
        library = image.string_at(name_rva) if attributes == 1 else descriptors[descriptor]
        if attributes != 1:
            problems.append(f'{library}: lazy-import descriptor not in relative form')
            continue
        for slot_index in range(1 << 16):
            name_entry = image.pointer_at(image.base + int_rva + slot_index * image.pointer)
            if name_entry == 0:
                break
            slot = image.base + iat_rva + slot_index * image.pointer
            function = named_slots.get(slot, f'slot {slot_index}')
            lazy_slots.add(slot)
            thunk = image.pointer_at(slot)
            target = image.thunk_target(thunk) if thunk and image.is_code(thunk) else None
            if target is None:
                problems.append(f'{library}!{function}: lazy slot holds {thunk:#x}, not a load thunk')
            elif target[0] != slot:
                problems.append(f'{library}!{function}: load thunk loads another slot ({target[0]:#x})')
            elif image.tail_descriptor(target[1]) != descriptor:
                problems.append(f'{library}!{function}: load thunk does not load through its descriptor')
    if addresses:
        end = addresses[-1] + DESCRIPTOR_SIZE
        if image.read(end, DESCRIPTOR_SIZE) != bytes(DESCRIPTOR_SIZE):
            problems.append('the lazy-import descriptors are not followed by a zero descriptor')

    # The C runtime also defines __imp_ pointers to functions it provides
    # itself; only the symbols among the import slots are imports.
    import_sections = {image.section_of(slot) for slot in plain_slots | lazy_slots}
    for slot, function in sorted(named_slots.items()):
        if image.section_of(slot) not in import_sections:
            continue
        if slot not in plain_slots and slot not in lazy_slots:
            problems.append(f'{function} is called through a slot that no allowed import fills ({slot:#x})')

    if problems:
        return problems
    directory = pe.OPTIONAL_HEADER.DATA_DIRECTORY[DELAY_IMPORT_DIRECTORY]
    wanted = ((addresses[0] - image.base, (len(addresses) + 1) * DESCRIPTOR_SIZE) if addresses else (0, 0))
    if (directory.VirtualAddress, directory.Size) != wanted:
        directory.VirtualAddress, directory.Size = wanted
        data = pe.write()
        pe.close()
        with open(program, 'wb') as f:
            f.write(data)
    return []


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    program, map_path = argv[1], argv[2]
    allowed = argv[argv.index('--allow') + 1:] if '--allow' in argv else []
    problems = check(program, map_path, allowed)
    for problem in problems:
        print(f'{program}: {problem}', file=sys.stderr)
    if problems:
        import os
        os.remove(program)  # so that the next build links it again
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
