"""The DLLs a Windows program file names in its import tables, as the loader
reads them: the import directory and the delay-load directory."""
import struct

IMPORT_DIRECTORY = 1
DELAY_IMPORT_DIRECTORY = 13


def imported_dlls(data):
    """The DLL names that PE image bytes import, in the order the tables list them."""
    if data[:2] != b"MZ":
        raise ValueError("not a PE file")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe : pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    table = pe + 24 + optional_size
    spans = [struct.unpack_from("<IIII", data, table + 40 * i + 8)
             for i in range(sections)]  # virtual size, address, raw size, raw offset

    def offset(rva):
        for size, address, raw_size, raw in spans:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError(f"address {rva:#x} lies in no section")

    def name_at(rva):
        start = offset(rva)
        return data[start : data.index(b"\0", start)].decode("ascii")

    names = []
    for index, entry_size, name_field in ((IMPORT_DIRECTORY, 20, 12), (DELAY_IMPORT_DIRECTORY, 32, 4)):
        rva, size = struct.unpack_from("<II", data, directories + 8 * index)
        if not rva or not size:
            continue
        at = offset(rva)
        while True:
            entry = data[at : at + entry_size]
            if len(entry) < entry_size or entry == bytes(entry_size):
                break
            names.append(name_at(struct.unpack_from("<I", entry, name_field)[0]))
            at += entry_size
    return names
