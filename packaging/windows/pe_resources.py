"""Reads the resources Windows itself reads from a program file: the version
information (file properties, installers' version rules) and the application
manifest. wrestool (icoutils) extracts them; the parsing is here."""
import struct
import subprocess
from typing import NamedTuple

RT_VERSION = 16
RT_MANIFEST = 24


class VersionInfo(NamedTuple):
    file_version: tuple
    product_version: tuple
    strings: dict  # (table, name) -> text, e.g. ("040904b0", "CompanyName")
    translations: list  # (language, code page)


def resource(path, kind, name=None):
    """The raw bytes of one resource, or b"" when the file has none of that kind."""
    argv = ["wrestool", "--extract", "--raw", f"--type={kind}", path]
    if name is not None:
        argv.insert(-1, f"--name={name}")
    return subprocess.run(argv, capture_output=True, check=True).stdout


def blocks(data, start, end):
    """Yields (key, value bytes, value type, children start, block end) of each
    VERSIONINFO block between start and end; blocks are aligned to 4 bytes."""
    pos = start
    while pos + 6 <= end:
        length, value_length, value_type = struct.unpack_from("<HHH", data, pos)
        if length == 0:
            break
        key_end = pos + 6
        while data[key_end : key_end + 2] != b"\0\0":
            key_end += 2
        key = data[pos + 6 : key_end].decode("utf-16-le")
        value_start = (key_end + 2 + 3) & ~3
        # Text values count UTF-16 units, binary ones bytes.
        value_size = value_length * 2 if value_type == 1 else value_length
        value = data[value_start : value_start + value_size]
        children = (value_start + value_size + 3) & ~3
        yield key, value, value_type, children, pos + length
        pos = (pos + length + 3) & ~3


def version_info(path):
    """The file's version information, or None when it carries none."""
    data = resource(path, RT_VERSION)
    if not data:
        return None
    key, fixed, _, children, end = next(blocks(data, 0, len(data)))
    if key != "VS_VERSION_INFO" or struct.unpack_from("<I", fixed)[0] != 0xFEEF04BD:
        raise ValueError(f"{path}: not a version resource ({key!r})")
    ms, ls, pms, pls = struct.unpack_from("<IIII", fixed, 8)
    strings, translations = {}, []
    for key, _, _, kids, kids_end in blocks(data, children, end):
        if key == "StringFileInfo":
            for table, _, _, s_start, s_end in blocks(data, kids, kids_end):
                for name, value, _, _, _ in blocks(data, s_start, s_end):
                    strings[(table, name)] = value.decode("utf-16-le").rstrip("\0")
        elif key == "VarFileInfo":
            for _, value, _, _, _ in blocks(data, kids, kids_end):
                translations += list(struct.iter_unpack("<HH", value))
    return VersionInfo((ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF),
                       (pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF), strings, translations)


def manifest(path):
    """The text of the manifest Windows reads when it starts the program (id 1)."""
    return resource(path, RT_MANIFEST, 1).decode("utf-8")
