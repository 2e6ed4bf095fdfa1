// Writes the bundled sample table: the SMBIOS 3.2 table of an invented but
// plausible desktop workstation, in the form `dmidecode --dump-bin` writes
// (entry point in bytes 0-31, table from offset 32). It lets the viewer show
// a full report on machines that expose no tables, such as containers.
//   make_sample_table <output file>
#include <cstdio>
#include <string>
#include <vector>

#include "dump_builder.h"
#include "smbios_table.h"
#include "table_sources.h"

namespace {

Bytes Bios() {
  Bytes f;
  PutU8(f, 1);        // vendor
  PutU8(f, 2);        // version
  PutU16(f, 0xF000);  // starting address segment
  PutU8(f, 3);        // release date
  PutU8(f, 0xFF);     // ROM size: see the extended size
  // Characteristics: PCI, plug and play, upgradeable (flash), shadowing,
  // boot from CD, selectable boot, EDD, print screen, 8042 keyboard, serial.
  PutU64(f, (1ull << 7) | (1ull << 9) | (1ull << 11) | (1ull << 12) | (1ull << 15) | (1ull << 16) |
                (1ull << 19) | (1ull << 26) | (1ull << 27) | (1ull << 28));
  PutU8(f, 0x03);  // extension 1: ACPI, USB legacy
  PutU8(f, 0x0D);  // extension 2: BBS boot, targeted content, UEFI
  PutU8(f, 1);     // BIOS release 1.14
  PutU8(f, 14);
  PutU8(f, 0xFF);  // no embedded controller firmware
  PutU8(f, 0xFF);
  PutU16(f, 0x0020);  // extended ROM size: 32 MB
  return Structure(0, 0x0000, f, {"Northwind Firmware Inc.", "1.14.2", "06/18/2024"});
}

Bytes System() {
  Bytes f;
  PutU8(f, 1);  // manufacturer
  PutU8(f, 2);  // product
  PutU8(f, 3);  // version
  PutU8(f, 4);  // serial number
  for (uint8_t b : {0x6F, 0x3A, 0x21, 0xC4, 0x9B, 0x0E, 0x4D, 0x51, 0x8A, 0x77, 0x10, 0x2E, 0x5C,
                    0xB3, 0x94, 0x08}) {
    PutU8(f, b);  // UUID
  }
  PutU8(f, 0x06);  // woken by the power switch
  PutU8(f, 5);     // SKU
  PutU8(f, 6);     // family
  return Structure(1, 0x0001, f,
                   {"Ardent Systems", "Forge W760", "Rev 1.2", "AFW760-24-08153", "AFW760-DE",
                    "Forge Workstation"});
}

Bytes Board() {
  Bytes f;
  for (unsigned i = 1; i <= 4; ++i) PutU8(f, i);  // maker, product, version, serial
  PutU8(f, 0);                                    // no asset tag
  PutU8(f, 0x09);                                 // hosting board, replaceable
  PutU8(f, 5);                                    // location in chassis
  PutU16(f, 0x0003);                              // chassis handle
  PutU8(f, 0x0A);                                 // motherboard
  PutU8(f, 0);                                    // no contained objects
  return Structure(2, 0x0002, f, {"Ardent Systems", "W760-MB", "1.02", "MB24A0815", "Main board"});
}

Bytes Chassis() {
  Bytes f;
  PutU8(f, 1);     // manufacturer
  PutU8(f, 0x07);  // tower
  PutU8(f, 2);     // version
  PutU8(f, 3);     // serial number
  PutU8(f, 4);     // asset tag
  PutU8(f, 0x03);  // boot-up state: safe
  PutU8(f, 0x03);  // power supply state: safe
  PutU8(f, 0x03);  // thermal state: safe
  PutU8(f, 0x03);  // security: none
  PutU32(f, 0);    // OEM defined
  PutU8(f, 0);     // height unspecified
  PutU8(f, 1);     // one power cord
  PutU8(f, 0);     // no contained elements
  PutU8(f, 3);     // element record length
  PutU8(f, 5);     // SKU
  return Structure(3, 0x0003, f, {"Ardent Systems", "T4", "CH24-08153", "IT-004711", "T4-BLK"});
}

Bytes Processor() {
  Bytes f;
  PutU8(f, 1);     // socket designation
  PutU8(f, 0x03);  // central processor
  PutU8(f, 0xC6);  // family: Core i7
  PutU8(f, 2);     // manufacturer
  for (uint8_t b : {0xA7, 0x06, 0x0A, 0x00, 0xFF, 0xFB, 0xEB, 0xBF}) PutU8(f, b);  // ID
  PutU8(f, 3);                                                                     // version
  PutU8(f, 0x8B);                                                                  // voltage: 1.1 V
  PutU16(f, 100);     // external clock, MHz
  PutU16(f, 4900);    // maximum speed, MHz
  PutU16(f, 2500);    // current speed, MHz
  PutU8(f, 0x41);     // socket populated, processor enabled
  PutU8(f, 0x3E);     // upgrade: socket LGA1200
  PutU16(f, 0x0700);  // L1 cache handle
  PutU16(f, 0x0701);  // L2 cache handle
  PutU16(f, 0x0702);  // L3 cache handle
  PutU8(f, 0);        // serial number
  PutU8(f, 0);        // asset tag
  PutU8(f, 0);        // part number
  PutU8(f, 8);        // cores
  PutU8(f, 8);        // cores enabled
  PutU8(f, 16);       // threads
  PutU16(f, 0x00FC);  // 64-bit, multi-core, multithreaded, NX, VT, power control
  PutU16(f, 0x00C6);  // family 2
  PutU16(f, 8);       // cores 2
  PutU16(f, 8);       // cores enabled 2
  PutU16(f, 16);      // threads 2
  return Structure(
      4, 0x0400, f,
      {"CPU0", "Intel(R) Corporation", "11th Gen Intel(R) Core(TM) i7-11700 @ 2.50GHz"});
}

// sizeK in KiB; sizes of 32 MiB and more are given in 64 KiB units.
Bytes Cache(uint16_t handle, const char* name, unsigned level, uint32_t sizeK, uint8_t type,
            uint8_t associativity) {
  Bytes f;
  PutU8(f, 1);                      // socket designation
  PutU16(f, 0x0180 | (level - 1));  // enabled, internal, write-back
  const unsigned size16 = sizeK < 0x8000 ? sizeK : 0x8000 | (sizeK / 64);
  PutU16(f, size16);  // maximum size
  PutU16(f, size16);  // installed size
  PutU16(f, 0x0020);  // supported SRAM: synchronous
  PutU16(f, 0x0020);  // current SRAM: synchronous
  PutU8(f, 0);        // speed unknown
  PutU8(f, 0x05);     // single-bit ECC
  PutU8(f, type);
  PutU8(f, associativity);
  const uint32_t size32 = sizeK < 0x80000000u ? sizeK : 0x80000000u | (sizeK / 64);
  PutU32(f, size32);  // maximum size 2
  PutU32(f, size32);  // installed size 2
  return Structure(7, handle, f, {name});
}

Bytes Port(uint16_t handle, const char* internal, uint8_t internalType, const char* external,
           uint8_t externalType, uint8_t portType) {
  Bytes f;
  std::vector<std::string> strings;
  PutU8(f, *internal ? 1 : 0);
  if (*internal) strings.push_back(internal);
  PutU8(f, internalType);
  PutU8(f, *external ? strings.size() + 1 : 0);
  if (*external) strings.push_back(external);
  PutU8(f, externalType);
  PutU8(f, portType);
  return Structure(8, handle, f, strings);
}

Bytes Slot(uint16_t handle, const char* name, uint8_t type, uint8_t width, uint8_t usage,
           uint16_t id, uint8_t bus, unsigned lanes) {
  Bytes f;
  PutU8(f, 1);  // designation
  PutU8(f, type);
  PutU8(f, width);  // data bus width
  PutU8(f, usage);
  PutU8(f, 0x04);  // long
  PutU16(f, id);
  PutU8(f, 0x04);  // 3.3 V
  PutU8(f, 0x01);  // PME signal
  PutU16(f, 0);    // segment group
  PutU8(f, bus);
  PutU8(f, 0x00);   // device 0, function 0
  PutU8(f, lanes);  // data bus width in lanes
  PutU8(f, 0);      // no peer devices
  return Structure(9, handle, f, {name});
}

Bytes OemStrings() {
  Bytes f;
  PutU8(f, 2);
  return Structure(11, 0x0B00, f, {"Ardent build 2407.3", "Config 5531-B"});
}

Bytes Languages() {
  Bytes f;
  PutU8(f, 2);     // installable languages
  PutU8(f, 0x01);  // abbreviated names
  for (int i = 0; i < 15; ++i) PutU8(f, 0);
  PutU8(f, 1);  // current: the first
  return Structure(13, 0x0D00, f, {"enUS", "deDE"});
}

Bytes MemoryArray() {
  Bytes f;
  PutU8(f, 0x03);         // system board
  PutU8(f, 0x03);         // system memory
  PutU8(f, 0x03);         // no error correction
  PutU32(f, 128u << 20);  // maximum capacity: 128 GiB, in KiB
  PutU16(f, 0xFFFE);      // no error information
  PutU16(f, 2);           // memory devices
  PutU64(f, 0);           // extended maximum capacity unused
  return Structure(16, 0x1000, f);
}

Bytes MemoryDevice(uint16_t handle, const char* locator, const char* bank, const char* serial) {
  Bytes f;
  PutU16(f, 0x1000);  // array
  PutU16(f, 0xFFFE);  // no error information
  PutU16(f, 64);      // total width
  PutU16(f, 64);      // data width
  PutU16(f, 16384);   // size: 16 GiB, in MiB
  PutU8(f, 0x09);     // DIMM
  PutU8(f, 0);        // no device set
  PutU8(f, 1);        // locator
  PutU8(f, 2);        // bank locator
  PutU8(f, 0x1A);     // DDR4
  PutU16(f, 0x0080);  // synchronous
  PutU16(f, 3200);    // speed, MT/s
  PutU8(f, 3);        // manufacturer
  PutU8(f, 4);        // serial number
  PutU8(f, 0);        // asset tag
  PutU8(f, 5);        // part number
  PutU8(f, 0x02);     // rank 2
  PutU32(f, 0);       // extended size unused
  PutU16(f, 3200);    // configured speed
  PutU16(f, 1200);    // minimum voltage, mV
  PutU16(f, 1200);    // maximum voltage
  PutU16(f, 1200);    // configured voltage
  return Structure(17, handle, f, {locator, bank, "Kestrel Memory", serial, "KM16G3200D4"});
}

Bytes MappedAddress() {
  Bytes f;
  PutU32(f, 0x00000000);  // start, KiB
  PutU32(f, 0x01FFFFFF);  // end, KiB: 32 GiB
  PutU16(f, 0x1000);      // array
  PutU8(f, 2);            // partition width
  PutU64(f, 0);           // extended start unused
  PutU64(f, 0);           // extended end unused
  return Structure(19, 0x1300, f);
}

Bytes BootInformation() {
  Bytes f;
  for (int i = 0; i < 6; ++i) PutU8(f, 0);
  PutU8(f, 0);  // no errors
  return Structure(32, 0x2000, f);
}

Bytes Table() {
  const std::vector<Bytes> structures = {
      Bios(),
      System(),
      Board(),
      Chassis(),
      Processor(),
      Cache(0x0700, "L1 Cache", 1, 640, 0x05, 0x07),
      Cache(0x0701, "L2 Cache", 2, 4096, 0x05, 0x08),
      Cache(0x0702, "L3 Cache", 3, 16384, 0x05, 0x09),
      Port(0x0800, "", 0x00, "USB 3.2 Front", 0x12, 0x10),
      Port(0x0801, "", 0x00, "LAN", 0x0B, 0x1F),
      Port(0x0802, "JAUD1", 0x1F, "Line Out", 0x1F, 0x1D),
      Slot(0x0900, "PCIEX16_1", 0xBD, 0x0D, 0x04, 1, 0x01, 16),
      Slot(0x0901, "PCIEX4_2", 0xBB, 0x0A, 0x03, 2, 0x02, 4),
      OemStrings(),
      Languages(),
      MemoryArray(),
      MemoryDevice(0x1100, "DIMM_A1", "BANK 0", "1A2B3C4D"),
      MemoryDevice(0x1101, "DIMM_B1", "BANK 1", "1A2B3C9F"),
      MappedAddress(),
      BootInformation(),
      Structure(127, 0x7F00, {}),
  };
  Bytes table;
  for (const Bytes& s : structures) table.insert(table.end(), s.begin(), s.end());
  return table;
}

// The 3.x entry point of a --dump-bin file: table at offset 32, maximum size
// the table's length, checksum over its 24 bytes.
Bytes EntryPoint(uint32_t tableLength) {
  Bytes e = {'_', 'S', 'M', '3', '_', 0, 0x18, 3, 2, 0, 1, 0};
  PutU32(e, tableLength);
  PutU64(e, 32);
  uint8_t sum = 0;
  for (uint8_t b : e) sum = static_cast<uint8_t>(sum + b);
  e[5] = static_cast<uint8_t>(0x100 - sum);
  e.resize(32, 0);
  return e;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: make_sample_table <output file>\n");
    return 2;
  }
  const Bytes table = Table();
  Bytes file = EntryPoint(static_cast<uint32_t>(table.size()));
  file.insert(file.end(), table.begin(), table.end());

  // The collector must read back every structure of it.
  SmbiosTable parsed;
  Diagnostics diag;
  if (!TableFromSavedFile(ByteView(file.data(), file.size()), nullptr, &parsed, &diag) ||
      !diag.warnings.empty() || WalkTable(parsed.table).stop != WalkStop::kEndOfTable) {
    fprintf(stderr, "make_sample_table: the table does not read back: %s\n", diag.error.c_str());
    return 1;
  }
  FILE* out = fopen(argv[1], "wb");
  if (!out) {
    perror(argv[1]);
    return 1;
  }
  const bool ok = fwrite(file.data(), 1, file.size(), out) == file.size();
  if (fclose(out) != 0 || !ok) {
    fprintf(stderr, "make_sample_table: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
