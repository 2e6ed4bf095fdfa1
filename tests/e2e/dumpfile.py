"""Builds collector dump files for end-to-end tests: file header, summary and
size-prefixed SMBIOS structures, little-endian and packed."""
import struct

DESCRIPTION = b"Quillmark for Windows DMI binary data file"


def structure(stype, handle, fields=b"", strings=(), length=None):
    """One SMBIOS structure: header, fields, string set with its double NUL."""
    formatted = struct.pack("<BBH", stype, 4 + len(fields) if length is None else length, handle)
    string_set = b"".join(s + b"\0" for s in strings) if strings else b"\0"
    return formatted + fields + string_set + b"\0"


def dump(structures=(), major=2, minor=3, found=1, wrote_all=1, buffer_size=None):
    header = DESCRIPTION.ljust(50, b"\0") + struct.pack("<Hh", 1, wrote_all)
    largest = max((len(s) for s in structures), default=1)
    summary = struct.pack("<hBBH", found, major, minor, buffer_size or largest)
    return header + summary + b"".join(struct.pack("<I", len(s)) + s for s in structures)
