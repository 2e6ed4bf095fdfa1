#!/usr/bin/env python3
"""Saved SMBIOS tables of a big server, with a given number of structures, for
the benchmarks: the table in dmidecode's dump form (SMBIOS 3.2, "_SM3_" entry
point, as tables larger than 64 KiB need) and the same structures as the
collector's dump, for the in-process benchmark.

    python3 make_tables.py OUTPUT_DIR COUNT...

writes OUTPUT_DIR/server-COUNT.bin and OUTPUT_DIR/server-COUNT.dump.

The fixed part is what one such machine has: firmware, system, board and
chassis, 4 processors, 7 caches, 8 port connectors, 9 slots, onboard devices,
probes and cooling devices, boot, IPMI and power supplies. Memory grows with
the count: boards of 16 sockets (half populated), each with its array,
mapped addresses and a temperature probe.
"""
import itertools
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, "..", "tests", "golden"),
                os.path.join(HERE, "..", "tests", "e2e")]
sys.dont_write_bytecode = True  # nothing written into the source tree
import dumpfile  # noqa: E402
import tables  # noqa: E402
from dumpfile import structure  # noqa: E402

SOCKETS_PER_BOARD = 16


def rehandled(s, handle):
    """A structure from tables.py under another handle."""
    return s[:2] + struct.pack("<H", handle) + s[4:]


def onboard_device(handle, name, kind, bus, devfn):
    # Type 41: designation, enabled device type, instance, segment, bus, device/function.
    return structure(41, handle, bytes([1, 0x80 | kind, 1]) + struct.pack("<H", 0) +
                     bytes([bus, devfn]), [name])


def memory_array(handle, sockets):
    # System board memory, DDR4 ECC, 2 TiB, no error handle.
    return structure(16, handle, bytes([0x03, 0x03, 0x06]) +
                     struct.pack("<IHH", 0x80000000, 0xFFFE, sockets))


def memory_device(handle, array, board, socket):
    """Type 17 as SMBIOS 2.8 lays it out; odd sockets are empty."""
    populated = socket % 2 == 0
    size, speed = (32768, 3200) if populated else (0, 0)
    strings = ["CPU%d_DIMM_%c%d" % (board % 4, "ABCDEFGH"[socket // 2], socket % 2),
               "NODE %d" % board]
    strings += (["Hanmi Semiconductor", "%08X" % (0x5A000000 + handle),
                 "NODE %d DIMM %d AssetTag" % (board, socket), "HM32G4R3200A"]
                if populated else ["NO DIMM", "NO DIMM", "NO DIMM", "NO DIMM"])
    fields = (struct.pack("<HHHHH", array, 0xFFFE, 72 if populated else 0xFFFF,
                          64 if populated else 0xFFFF, 0x7FFF if populated else 0) +
              bytes([0x09, 0, 1, 2, 0x1A if populated else 0x02]) +
              struct.pack("<HH", 0x0080 if populated else 0x0004, speed) + bytes([3, 4, 5, 6]) +
              bytes([2 if populated else 0]) + struct.pack("<IHHHH", size, speed, 1200, 1200,
                                                          1200 if populated else 0))
    return structure(17, handle, fields, strings)


# Mapped addresses: 256 GiB per board, 32 GiB per module. Many boards pass
# the 4 TiB the 32-bit KiB fields reach, so every range uses the 64-bit byte
# addresses (SMBIOS 2.7), as large machines do.
GIB = 1 << 30
EXTENDED = struct.pack("<II", 0xFFFFFFFF, 0xFFFFFFFF)


def array_mapped(handle, array, board):
    start = board * 256 * GIB
    return structure(19, handle, EXTENDED + struct.pack("<HB", array, 8) +
                     struct.pack("<QQ", start, start + 256 * GIB - 1))


def device_mapped(handle, device, mapped, board, socket):
    start = board * 256 * GIB + (socket // 2) * 32 * GIB
    return structure(20, handle, EXTENDED + struct.pack("<HH", device, mapped) +
                     bytes([1, socket // 2 + 1, 0xFF]) +
                     struct.pack("<QQ", start, start + 32 * GIB - 1))


def fixed_part(handles):
    """The machine without its memory boards, end of table excluded."""
    def h():
        return next(handles)
    out = [rehandled(tables.bios(), h()), rehandled(tables.system(), h()),
           rehandled(tables.board(), h()), rehandled(tables.chassis(), h())]
    out += [rehandled(tables.processor(), h()) for _ in range(4)]
    caches = [("L1 Cache", 0x0180, 0x0400), ("L2 Cache", 0x0181, 0x2000),
              ("L3 Cache", 0x0182, 0x8800)]
    out += [tables.cache(h(), name, config, size, 0x0020, 0x0020)
            for name, config, size in caches * 2 + caches[2:]]
    ports = [("J1", 0x0B, "COM1", 0x08, 0x09), ("J2", 0x12, "USB1", 0x12, 0x10),
             ("J3", 0x12, "USB2", 0x12, 0x10), ("J4", 0x0B, "VGA", 0x07, 0x1C),
             ("J5", 0x0B, "LAN1", 0x0B, 0x1F), ("J6", 0x0B, "LAN2", 0x0B, 0x1F),
             ("SATA0", 0x22, "", 0x00, 0x20), ("SATA1", 0x22, "", 0x00, 0x20)]
    out += [tables.port(h(), *p) for p in ports]
    out += [tables.slot(h(), "PCIE%d" % (i + 1), 0xB6, 0x0D if i < 6 else 0x0B, 0x03 + i % 2,
                        0x04, i + 1, 0x04) for i in range(9)]
    devices = [("Onboard VGA", 3, 0x03, 0x00), ("Onboard LAN1", 5, 0x18, 0x00),
               ("Onboard LAN2", 5, 0x18, 0x01), ("Onboard SATA", 9, 0x00, 0xB8)]
    out += [onboard_device(h(), *d) for d in devices]
    out += [rehandled(tables.oem_strings(), h()), rehandled(tables.configuration_options(), h()),
            rehandled(tables.bios_languages(), h())]
    for i in range(3):  # voltage probes, temperature probes and the fans they drive
        voltage, temperature = h(), h()
        out.append(tables.probe(26, voltage, "CPU%d VCORE" % i, 0x63,
                                (1500, 800, 10, 50, 150), 0, 1200))
        out.append(tables.probe(28, temperature, "CPU%d Temp" % i, 0x63,
                                (1000, 0, 500, 20, 0x8000), 0, 450))
        out.append(tables.cooling_device(h(), temperature, 0x63, i + 1))
    out += [tables.probe(29, h(), "PSU%d Current" % i, 0x6A, (20000, 0, 10, 100, 200), 0, 5000)
            for i in range(2)]
    out.append(structure(32, h(), bytes(6) + bytes([0])))  # system boot: no errors
    # IPMI device (KCS at I/O port 0xCA2: bit 0 of the base address marks I/O
    # space) and two power supplies.
    out.append(structure(38, h(), bytes([1, 0x20, 0x20, 0xFF]) + struct.pack("<Q", 0xCA3) +
                         bytes([0, 0, 0])))
    for i in range(2):
        out.append(structure(39, h(), bytes([1, 1, 2, 3, 4, 5, 6, 7]) +
                             struct.pack("<HHHHH", 800, 0x11A2, 0xFFFF, 0xFFFF, 0xFFFF),
                             ["PSU%d" % (i + 1), "Hanmi Power", "PS%08d" % i, "AT-1", "MN-800",
                              "PN-800", "1.0"]))
    return out


def memory_boards(handles):
    """Memory boards, one after the other, without end."""
    for board in itertools.count():
        array, mapped = next(handles), next(handles)
        devices = [next(handles) for _ in range(SOCKETS_PER_BOARD)]
        yield memory_array(array, SOCKETS_PER_BOARD)
        for socket, device in enumerate(devices):
            yield memory_device(device, array, board, socket)
        yield array_mapped(mapped, array, board)
        for socket, device in enumerate(devices):
            if socket % 2 == 0:
                yield device_mapped(next(handles), device, mapped, board, socket)
        yield tables.probe(28, next(handles), "DIMM Board %d Temp" % board, 0x63,
                           (950, 0, 400, 10, 0x8000), 0, 400)


def server(count):
    """The structures of a server table with count structures in all."""
    handles = itertools.count(0x0100)
    fixed = fixed_part(handles)
    assert count > len(fixed), "at least %d structures" % (len(fixed) + 1)
    memory = list(itertools.islice(memory_boards(handles), count - len(fixed) - 1))
    return fixed + memory + [dumpfile.end_of_table(next(handles))]


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: make_tables.py OUTPUT_DIR COUNT...")
    os.makedirs(sys.argv[1], exist_ok=True)
    for count in map(int, sys.argv[2:]):
        structures = server(count)
        base = os.path.join(sys.argv[1], "server-%d" % count)
        with open(base + ".bin", "wb") as f:
            f.write(dumpfile.saved_3(3, 2, structures))
        with open(base + ".dump", "wb") as f:
            f.write(dumpfile.dump(structures, major=3, minor=2))


if __name__ == "__main__":
    main()
