// Writes the dump of a sample machine, for trying the viewer without
// firmware tables: sample_dump <file>.
#include <cstdio>

#include "dump_builder.h"

namespace {

Bytes Fields(std::initializer_list<uint8_t> bytes) { return Bytes(bytes); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: sample_dump <file>\n");
    return 2;
  }
  const std::vector<Bytes> structures = {
      // BIOS: vendor, version, segment, date, ROM size, characteristics.
      Structure(0, 0x0000, Fields({1,    2,    0x00, 0xE8, 3,    0x0F, 0x80, 0x98, 0x0B, 0x7F,
                                   0x00, 0x00, 0x00, 0x00, 0x03, 0x0D, 2,    7,    0xFF, 0xFF}),
                {"Sample Firmware Works", "2.07", "03/14/2024"}),
      // System: maker, product, version, serial, UUID, wake-up, SKU, family.
      Structure(1, 0x0001,
                Fields({1,    2,    3,    4,    0x4C, 0x4C, 0x45, 0x44, 0x00, 0x38, 0x59, 0x10,
                        0x80, 0x33, 0xB5, 0xC0, 0x4F, 0x58, 0x31, 0x32, 0x06, 5,    6}),
                {"Sample Systems", "Workstation 5", "Rev A", "SN-0042", "WS5-EU", "Workstation"}),
      // Base board.
      Structure(2, 0x0002, Fields({1, 2, 3, 4, 0}),
                {"Sample Systems", "WS5-MB", "1.02", "MB-77231"}),
      // Chassis: desktop, safe states.
      Structure(3, 0x0003, Fields({1, 0x03, 0, 2, 0, 3, 3, 3, 3}), {"Sample Systems", "CH-1"}),
      Structure(127, 0xFEFF, Fields({})),
  };
  DumpOptions options;
  options.major = 2;
  options.minor = 7;
  if (!WriteBytes(argv[1], Dump(options, structures))) {
    fprintf(stderr, "sample_dump: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
