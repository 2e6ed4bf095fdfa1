"""Saved SMBIOS tables for the golden runs, in the form `dmidecode --dump-bin`
writes: a 32-byte area holding an SMBIOS 2.x ("_SM_") or 3.x ("_SM3_") entry
point, then the table at the offset the entry point names (32).

    python3 tables.py NAME OUTPUT   writes one of the tables below to a file.

Every field is spelled out with its meaning so that the expected reports can
be checked by reading them against these values.
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from dumpfile import end_of_table, saved_2, saved_3, structure  # noqa: E402,F401


# ---- Types 0 to 4 ----

def bios():
    return structure(0, 0x0000, bytes([1, 2]) + struct.pack("<H", 0xE800) + bytes([3, 0x0F]) +
                     # PCI, APM, flash, shadowing, CD boot, print screen, serial, printer, video
                     struct.pack("<Q", (1 << 7) | (1 << 10) | (1 << 11) | (1 << 12) | (1 << 15) |
                                 (1 << 26) | (1 << 28) | (1 << 29) | (1 << 30)) +
                     bytes([0x01, 0x00]),
                     ["Fjordsoft BIOS GmbH", "R2.07", "03/11/2003"])


def system():
    return structure(1, 0x0001, bytes([1, 2, 0, 3]) + bytes(range(16)) + bytes([0x06]),
                     ["Brennwerk AG", "Kompakt 300", "BW-3000-1187"])


def board():
    return structure(2, 0x0002, bytes([1, 2, 3, 0]), ["Brennwerk AG", "KB-300", "1.1"])


def chassis():
    # Desktop with a lock (0x83: code 3); no version, no serial number.
    return structure(3, 0x0003, bytes([1, 0x83, 0, 0, 2, 3, 3, 3, 3]),
                     ["Brennwerk AG", "INV-0042"])


def processor():
    return structure(4, 0x0004,
                     bytes([1, 0x03, 0x0B, 2]) + struct.pack("<II", 0x00000F29, 0x3FEBFBFF) +
                     bytes([3, 0x06]) + struct.pack("<HHH", 133, 2800, 2800) +
                     bytes([0x41, 0x0F]) + struct.pack("<HHH", 0x0700, 0x0701, 0xFFFF),
                     ["Socket 478", "GenuineIntel", "Intel(R) Pentium(R) 4 CPU 2.80GHz"])


# ---- Types 5 to 13 ----

def memory_controller():
    return structure(5, 0x0500,
                     bytes([0x03, 0x0C, 0x03, 0x03, 5]) + struct.pack("<HH", 0x000C, 0x0580) +
                     bytes([0x06, 2]) + struct.pack("<HH", 0x0600, 0x0601) + bytes([0x04]))


def memory_module(handle, socket, speed, kind, installed, enabled):
    return structure(6, handle, bytes([1, 0x01, speed]) + struct.pack("<H", kind) +
                     bytes([installed, enabled, 0]), [socket])


def cache(handle, name, config, installed, supported, current):
    return structure(7, handle, bytes([1]) + struct.pack("<HHHHH", config, installed, installed,
                                                         supported, current) +
                     bytes([0, 0x05, 0x05, 0x07]), [name])


def port(handle, internal, internal_type, external, external_type, port_type):
    strings, numbers = [], []
    for s in (internal, external):
        if s:
            strings.append(s)
        numbers.append(len(strings) if s else 0)
    return structure(8, handle, bytes([numbers[0], internal_type, numbers[1], external_type,
                                       port_type]), strings)


def slot(handle, name, kind, width, usage, length, slot_id, characteristics):
    return structure(9, handle, bytes([1, kind, width, usage, length]) +
                     struct.pack("<H", slot_id) + bytes([characteristics, 0x01]), [name])


def on_board_devices():
    # Video, enabled, with a description; Ethernet, disabled; a code without a name.
    return structure(10, 0x0A00, bytes([0x83, 1, 0x05, 2, 0x7E, 0]),
                     ["Onboard VGA", "Gigabit LAN"])


def oem_strings():
    return structure(11, 0x0B00, bytes([2]), ["Build 1187  ", "Line two"])


def configuration_options():
    return structure(12, 0x0C00, bytes([2]), ["JP1: clear CMOS  ", "SW2: boot block"])


def bios_languages():
    # Three installable languages, of which the set holds two.
    return structure(13, 0x0D00, bytes([3, 0]) + bytes(15) + bytes([2]),
                     ["en|US|iso8859-1", "de|DE|iso8859-1"])


# ---- Types 14 to 30 ----

def group_associations():
    return structure(14, 0x0E00, bytes([1, 7]) + struct.pack("<H", 0x0700), ["Cache group"])


def event_log():
    return structure(15, 0x0F00, struct.pack("<HHHHBBI", 0x80, 0, 0x10, 0, 1, 0, 0xFFE00000))


def memory_array():
    return structure(16, 0x1000, bytes([0x03, 0x03, 0x06]) +
                     struct.pack("<IHH", 0x80000000, 0x1234, 2))


def memory_device(handle, size, detail, locator, bank):
    return structure(17, handle, struct.pack("<HHHHH", 0x1000, 0xFFFE, 72, 64, size) +
                     bytes([0x09, 0, 1, 2, 0x12]) + struct.pack("<H", detail),
                     [locator, bank])


def memory_error():
    return structure(18, 0x1200, bytes([0x03, 0x02, 0x03]) +
                     struct.pack("<IIII", 0, 0x80000000, 0x00012340, 0x80000000))


def array_mapped_address():
    return structure(19, 0x1300, struct.pack("<IIHB", 0, 0x003FFFFF, 0x1000, 2))


def device_mapped_address(handle, device, row, position, depth):
    return structure(20, handle, struct.pack("<IIHH", 0x00100000, 0x001FFFFF, device, 0x1300) +
                     bytes([row, position, depth]))


def pointing_device():
    return structure(21, 0x1500, bytes([0x07, 0x04, 2]))


def battery():
    sbds_date = ((2003 - 1980) << 9) | (2 << 5) | 15
    return structure(22, 0x1600, bytes([1, 2, 0, 0, 3, 0x02]) + struct.pack("<HH", 4400, 11100) +
                     bytes([4, 3]) + struct.pack("<HH", 0x1234, sbds_date) + bytes([5, 10]) +
                     struct.pack("<I", 0x42),
                     ["Rear bay", "Voltacell", "VC-4400", "1.1", "LiP"])


def system_reset():
    return structure(23, 0x1700, bytes([0x2B]) + struct.pack("<HHHH", 3, 0xFFFF, 5, 10))


def hardware_security():
    return structure(24, 0x1800, bytes([0x1B]))


def power_controls():
    return structure(25, 0x1900, bytes([0x12, 0x24, 0x07, 0x30, 0x00]))


def probe(stype, handle, description, location_status, readings, oem, nominal):
    return structure(stype, handle, bytes([1, location_status]) +
                     struct.pack("<HHHHHIH", *readings, oem, nominal), [description])


def cooling_device(handle, probe_handle, type_status, group):
    return structure(27, handle, struct.pack("<HBBIH", probe_handle, type_status, group,
                                             0x00000007, 2000))


def remote_access():
    return structure(30, 0x1E00, bytes([1, 0x02]), ["Kestrel Remote"])


# ---- The tables ----

def types_5_to_30():
    """SMBIOS 2.7 table with every type from 5 to 30 and a few variants of
    the types the bundled sample has (ports in two runs, a 5 V slot)."""
    return saved_2(2, 7, [
        memory_controller(),
        memory_module(0x0600, "SIMM1", 60, 0x0104, 0x85, 0x05),
        memory_module(0x0601, "SIMM2", 0, 0x0010, 0x7F, 0x7F),
        cache(0x0700, "Internal L1", 0x0180, 0x0010, 0x0003, 0x0020),
        cache(0x0701, "Board L2", 0x02C9, 0x8008, 0x0001, 0x0008),
        port(0x0800, "J1", 0x0B, "COM1", 0x08, 0x09),
        port(0x0801, "", 0x00, "", 0xEE, 0xEE),
        slot(0x0900, "PCI1", 0x06, 0x05, 0x03, 0x03, 1, 0x06),
        slot(0x0901, "AGP", 0x0F, 0x05, 0x04, 0x04, 2, 0x00),
        on_board_devices(),
        port(0x0802, "J9", 0x0B, "LPT1", 0x05, 0x05),
        oem_strings(),
        configuration_options(),
        bios_languages(),
        group_associations(),
        event_log(),
        memory_array(),
        memory_device(0x1100, 0x0200, 0x0081, "DIMM0", "BANK0"),
        memory_device(0x1101, 0x8200, 0x0080, "DIMM1", "BANK1"),
        memory_error(),
        array_mapped_address(),
        device_mapped_address(0x1400, 0x1100, 1, 0, 0xFF),
        device_mapped_address(0x1401, 0x1101, 0xFF, 2, 2),
        pointing_device(),
        battery(),
        system_reset(),
        hardware_security(),
        power_controls(),
        probe(26, 0x1A00, "VCORE", 0x63, (1500, 800, 10, 50, 150), 0, 1200),
        cooling_device(0x1B00, 0x1C00, 0x63, 1),
        cooling_device(0x1B01, 0xFFFF, 0xF0, 0),
        probe(28, 0x1C00, "CPU temperature", 0x63, (1000, 0, 500, 20, 0x8000), 0x12345678, 450),
        probe(29, 0x1D00, "12V rail", 0x6A, (20000, 0, 10, 100, 200), 0, 5000),
        remote_access(),
        end_of_table(),
    ])


def types_0_to_13_and_later():
    """SMBIOS 3.0 table of an older desktop: every type from 0 to 13, then
    structures of types 16 and up that a report in any language other than
    English leaves out."""
    return saved_3(3, 0, [
        bios(), system(), board(), chassis(), processor(),
        memory_controller(),
        memory_module(0x0600, "DIMM1", 0, 0x0100, 0x08, 0x08),
        cache(0x0700, "L1 Cache", 0x0180, 0x0008, 0x0020, 0x0020),
        cache(0x0701, "L2 Cache", 0x0181, 0x0200, 0x0020, 0x0020),
        port(0x0800, "J1", 0x0B, "COM1", 0x08, 0x09),
        port(0x0801, "J9", 0x0B, "LPT1", 0x05, 0x05),
        slot(0x0900, "PCI1", 0x06, 0x05, 0x03, 0x03, 1, 0x04),
        on_board_devices(),
        oem_strings(),
        configuration_options(),
        bios_languages(),
        memory_array(),
        memory_device(0x1100, 0x0200, 0x0080, "DIMM1", "BANK0"),
        array_mapped_address(),
        device_mapped_address(0x1400, 0x1100, 1, 0, 0xFF),
        probe(26, 0x1A00, "VCORE", 0x63, (1500, 800, 10, 50, 150), 0, 1200),
        remote_access(),
        end_of_table(),
    ])


TABLES = {
    "types-5-30": types_5_to_30,
    "types-0-13": types_0_to_13_and_later,
}


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in TABLES:
        sys.exit("usage: tables.py {%s} OUTPUT" % "|".join(TABLES))
    with open(sys.argv[2], "wb") as f:
        f.write(TABLES[sys.argv[1]]())


if __name__ == "__main__":
    main()
