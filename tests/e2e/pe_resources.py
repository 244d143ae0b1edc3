"""The resources of a Windows program file (PE32 or PE32+), read with
pefile and keyed the way the system finds them: by type and name, each a
number or a text."""
import pefile


def _key(entry):
    return str(entry.name) if entry.name is not None else entry.id


def resources(path):
    """{(type, name, language): bytes} of every resource in the file."""
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    found = {}
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return found
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in kind.directory.entries:
            for language in name.directory.entries:
                entry = language.data.struct
                found[(_key(kind), _key(name), language.id)] = pe.get_data(entry.OffsetToData, entry.Size)
    return found


def resource(path, kind, name):
    """The bytes of the resource in whichever language it is stored."""
    matches = [value for (k, n, _), value in resources(path).items() if k == kind and n == name]
    if len(matches) != 1:
        raise KeyError("%s %s: %d resources" % (kind, name, len(matches)))
    return matches[0]
