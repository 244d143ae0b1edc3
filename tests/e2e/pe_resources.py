"""Reads the resources of a Windows program file (PE32 or PE32+), the way
the system finds them: by type and name, each a number or a text."""
import struct


def _names(data, directory_offset, section):
    """(key, offset, is_directory) of each entry of a resource directory."""
    named, numbered = struct.unpack_from("<HH", data, directory_offset + 12)
    for index in range(named + numbered):
        name, target = struct.unpack_from("<II", data, directory_offset + 16 + 8 * index)
        if name & 0x80000000:
            at = section + (name & 0x7FFFFFFF)
            length = struct.unpack_from("<H", data, at)[0]
            key = data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
        else:
            key = name
        yield key, section + (target & 0x7FFFFFFF), bool(target & 0x80000000)


def resources(path):
    """{(type, name, language): bytes} of every resource in the file."""
    with open(path, "rb") as f:
        data = f.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]

    def offset_of(address):
        for index in range(sections):
            header = optional + optional_size + 40 * index
            virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from("<IIII", data, header + 8)
            if virtual_address <= address < virtual_address + max(virtual_size, raw_size):
                return address - virtual_address + raw_pointer
        raise ValueError("address outside every section")

    root = offset_of(rva)
    found = {}
    for kind, kinds_at, _ in _names(data, root, root):
        for name, names_at, _ in _names(data, kinds_at, root):
            for language, entry_at, _ in _names(data, names_at, root):
                data_rva, size = struct.unpack_from("<II", data, entry_at)
                start = offset_of(data_rva)
                found[(kind, name, language)] = data[start:start + size]
    return found


def resource(path, kind, name):
    """The bytes of the resource in whichever language it is stored."""
    matches = [value for (k, n, _), value in resources(path).items() if k == kind and n == name]
    if len(matches) != 1:
        raise KeyError("%s %s: %d resources" % (kind, name, len(matches)))
    return matches[0]
