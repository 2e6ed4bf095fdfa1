"""The one SMBIOS byte builder of the Python tests and benchmarks: structures,
saved tables in the form `dmidecode --dump-bin` writes (entry point area of 32
bytes, table at offset 32) and collector dump files (file header, summary,
size-prefixed structures). Everything little-endian and packed."""
import struct

DESCRIPTION = b"Quillmark for Windows DMI binary data file"


def structure(stype, handle, fields=b"", strings=(), length=None):
    """Header, formatted area and string set (double NUL when empty). Strings
    are bytes or text (written as Latin-1); length overrides the formatted
    length in the header."""
    encoded = [s.encode("latin-1") if isinstance(s, str) else s for s in strings]
    # An empty string would end the string set early.
    assert all(encoded), "string sets cannot hold empty strings"
    formatted = struct.pack("<BBH", stype, 4 + len(fields) if length is None else length, handle)
    string_set = b"".join(s + b"\0" for s in encoded) if encoded else b"\0"
    return formatted + fields + string_set + b"\0"


def end_of_table(handle=0x7F00):
    return structure(127, handle)


def entry_point_2(major, minor, length, count, address=32):
    """31-byte 2.x entry point of a table of length bytes at address."""
    e = bytearray(b"_SM_\0\x1f" + bytes([major, minor]) +
                  struct.pack("<H", 0x100) + bytes(6) + b"_DMI_\0" +
                  struct.pack("<HIHB", length, address, count, (major << 4) | (minor & 15)))
    e[0x15] = (-sum(e[0x10:0x1F])) & 0xFF
    e[0x04] = (-sum(e[0:0x1F])) & 0xFF
    return bytes(e).ljust(32, b"\0")


def entry_point_3(major, minor, length, address=32):
    """24-byte 3.x entry point of a table of length bytes at address."""
    e = bytearray(b"_SM3_\0\x18" + bytes([major, minor, 0, 1, 0]) +
                  struct.pack("<IQ", length, address))
    e[5] = (-sum(e)) & 0xFF
    return bytes(e).ljust(32, b"\0")


def saved_2(major, minor, structures):
    table = b"".join(structures)
    return entry_point_2(major, minor, len(table), len(structures)) + table


def saved_3(major, minor, structures):
    table = b"".join(structures)
    return entry_point_3(major, minor, len(table)) + table


def dump(structures=(), major=2, minor=3, found=1, wrote_all=1, buffer_size=None):
    header = DESCRIPTION.ljust(50, b"\0") + struct.pack("<Hh", 1, wrote_all)
    largest = max((len(s) for s in structures), default=1)
    summary = struct.pack("<hBBH", found, major, minor, buffer_size or largest)
    return header + summary + b"".join(struct.pack("<I", len(s)) + s for s in structures)
