// Writes the bundled sample table: the SMBIOS 3.2 table of an invented but
// plausible desktop workstation, in the form `dmidecode --dump-bin` writes
// (entry point in bytes 0-31, table from offset 32). It lets the viewer show
// a full report on machines that expose no tables, such as containers.
//   make_sample_table <output file>
#include <cstdio>
#include <string>
#include <vector>

#include "smbios_table.h"
#include "table_sources.h"

namespace {

using Bytes = std::vector<uint8_t>;

void U8(Bytes* b, unsigned v) { b->push_back(static_cast<uint8_t>(v)); }
void U16(Bytes* b, unsigned v) {
  U8(b, v & 0xFF);
  U8(b, (v >> 8) & 0xFF);
}
void U32(Bytes* b, uint32_t v) {
  U16(b, v & 0xFFFF);
  U16(b, v >> 16);
}
void U64(Bytes* b, uint64_t v) {
  U32(b, static_cast<uint32_t>(v));
  U32(b, static_cast<uint32_t>(v >> 32));
}

// A structure under construction: the formatted area grows field by field;
// Finish sets its length and appends the string set.
struct Builder {
  Bytes bytes;
  Builder(uint8_t type, uint16_t handle) {
    U8(&bytes, type);
    U8(&bytes, 0);  // length, set by Finish
    U16(&bytes, handle);
  }
  Bytes Finish(const std::vector<std::string>& strings = {}) {
    bytes[1] = static_cast<uint8_t>(bytes.size());
    for (const std::string& s : strings) {
      bytes.insert(bytes.end(), s.begin(), s.end());
      bytes.push_back(0);
    }
    if (strings.empty()) bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
  }
};

Bytes Bios() {
  Builder s(0, 0x0000);
  U8(&s.bytes, 1);          // vendor
  U8(&s.bytes, 2);          // version
  U16(&s.bytes, 0xF000);    // starting address segment
  U8(&s.bytes, 3);          // release date
  U8(&s.bytes, 0xFF);       // ROM size: see the extended size
  // Characteristics: PCI, plug and play, upgradeable (flash), shadowing,
  // boot from CD, selectable boot, EDD, print screen, 8042 keyboard, serial.
  U64(&s.bytes, (1ull << 7) | (1ull << 9) | (1ull << 11) | (1ull << 12) | (1ull << 15) |
                    (1ull << 16) | (1ull << 19) | (1ull << 26) | (1ull << 27) | (1ull << 28));
  U8(&s.bytes, 0x03);       // extension 1: ACPI, USB legacy
  U8(&s.bytes, 0x0D);       // extension 2: BBS boot, targeted content, UEFI
  U8(&s.bytes, 1);          // BIOS release 1.14
  U8(&s.bytes, 14);
  U8(&s.bytes, 0xFF);       // no embedded controller firmware
  U8(&s.bytes, 0xFF);
  U16(&s.bytes, 0x0020);    // extended ROM size: 32 MB
  return s.Finish({"Northwind Firmware Inc.", "1.14.2", "06/18/2024"});
}

Bytes System() {
  Builder s(1, 0x0001);
  U8(&s.bytes, 1);  // manufacturer
  U8(&s.bytes, 2);  // product
  U8(&s.bytes, 3);  // version
  U8(&s.bytes, 4);  // serial number
  for (uint8_t b : {0x6F, 0x3A, 0x21, 0xC4, 0x9B, 0x0E, 0x4D, 0x51, 0x8A, 0x77, 0x10, 0x2E, 0x5C,
                    0xB3, 0x94, 0x08}) {
    U8(&s.bytes, b);  // UUID
  }
  U8(&s.bytes, 0x06);  // woken by the power switch
  U8(&s.bytes, 5);     // SKU
  U8(&s.bytes, 6);     // family
  return s.Finish({"Ardent Systems", "Forge W760", "Rev 1.2", "AFW760-24-08153", "AFW760-DE",
                   "Forge Workstation"});
}

Bytes Board() {
  Builder s(2, 0x0002);
  for (unsigned i = 1; i <= 4; ++i) U8(&s.bytes, i);  // maker, product, version, serial
  U8(&s.bytes, 0);       // no asset tag
  U8(&s.bytes, 0x09);    // hosting board, replaceable
  U8(&s.bytes, 5);       // location in chassis
  U16(&s.bytes, 0x0003); // chassis handle
  U8(&s.bytes, 0x0A);    // motherboard
  U8(&s.bytes, 0);       // no contained objects
  return s.Finish({"Ardent Systems", "W760-MB", "1.02", "MB24A0815", "Main board"});
}

Bytes Chassis() {
  Builder s(3, 0x0003);
  U8(&s.bytes, 1);      // manufacturer
  U8(&s.bytes, 0x07);   // tower
  U8(&s.bytes, 2);      // version
  U8(&s.bytes, 3);      // serial number
  U8(&s.bytes, 4);      // asset tag
  U8(&s.bytes, 0x03);   // boot-up state: safe
  U8(&s.bytes, 0x03);   // power supply state: safe
  U8(&s.bytes, 0x03);   // thermal state: safe
  U8(&s.bytes, 0x03);   // security: none
  U32(&s.bytes, 0);     // OEM defined
  U8(&s.bytes, 0);      // height unspecified
  U8(&s.bytes, 1);      // one power cord
  U8(&s.bytes, 0);      // no contained elements
  U8(&s.bytes, 3);      // element record length
  U8(&s.bytes, 5);      // SKU
  return s.Finish({"Ardent Systems", "T4", "CH24-08153", "IT-004711", "T4-BLK"});
}

Bytes Processor() {
  Builder s(4, 0x0400);
  U8(&s.bytes, 1);       // socket designation
  U8(&s.bytes, 0x03);    // central processor
  U8(&s.bytes, 0xC6);    // family: Core i7
  U8(&s.bytes, 2);       // manufacturer
  for (uint8_t b : {0xA7, 0x06, 0x0A, 0x00, 0xFF, 0xFB, 0xEB, 0xBF}) U8(&s.bytes, b);  // ID
  U8(&s.bytes, 3);       // version
  U8(&s.bytes, 0x8B);    // voltage: 1.1 V
  U16(&s.bytes, 100);    // external clock, MHz
  U16(&s.bytes, 4900);   // maximum speed, MHz
  U16(&s.bytes, 2500);   // current speed, MHz
  U8(&s.bytes, 0x41);    // socket populated, processor enabled
  U8(&s.bytes, 0x3E);    // upgrade: socket LGA1200
  U16(&s.bytes, 0x0700); // L1 cache handle
  U16(&s.bytes, 0x0701); // L2 cache handle
  U16(&s.bytes, 0x0702); // L3 cache handle
  U8(&s.bytes, 0);       // serial number
  U8(&s.bytes, 0);       // asset tag
  U8(&s.bytes, 0);       // part number
  U8(&s.bytes, 8);       // cores
  U8(&s.bytes, 8);       // cores enabled
  U8(&s.bytes, 16);      // threads
  U16(&s.bytes, 0x00FC); // 64-bit, multi-core, multithreaded, NX, VT, power control
  U16(&s.bytes, 0x00C6); // family 2
  U16(&s.bytes, 8);      // cores 2
  U16(&s.bytes, 8);      // cores enabled 2
  U16(&s.bytes, 16);     // threads 2
  return s.Finish({"CPU0", "Intel(R) Corporation", "11th Gen Intel(R) Core(TM) i7-11700 @ 2.50GHz"});
}

// sizeK in KiB; sizes of 32 MiB and more are given in 64 KiB units.
Bytes Cache(uint16_t handle, const char* name, unsigned level, uint32_t sizeK, uint8_t type,
            uint8_t associativity) {
  Builder s(7, handle);
  U8(&s.bytes, 1);                            // socket designation
  U16(&s.bytes, 0x0180 | (level - 1));        // enabled, internal, write-back
  const unsigned size16 = sizeK < 0x8000 ? sizeK : 0x8000 | (sizeK / 64);
  U16(&s.bytes, size16);                      // maximum size
  U16(&s.bytes, size16);                      // installed size
  U16(&s.bytes, 0x0020);                      // supported SRAM: synchronous
  U16(&s.bytes, 0x0020);                      // current SRAM: synchronous
  U8(&s.bytes, 0);                            // speed unknown
  U8(&s.bytes, 0x05);                         // single-bit ECC
  U8(&s.bytes, type);
  U8(&s.bytes, associativity);
  const uint32_t size32 = sizeK < 0x80000000u ? sizeK : 0x80000000u | (sizeK / 64);
  U32(&s.bytes, size32);                      // maximum size 2
  U32(&s.bytes, size32);                      // installed size 2
  return s.Finish({name});
}

Bytes Port(uint16_t handle, const char* internal, uint8_t internalType, const char* external,
           uint8_t externalType, uint8_t portType) {
  Builder s(8, handle);
  std::vector<std::string> strings;
  U8(&s.bytes, *internal ? 1 : 0);
  if (*internal) strings.push_back(internal);
  U8(&s.bytes, internalType);
  U8(&s.bytes, *external ? strings.size() + 1 : 0);
  if (*external) strings.push_back(external);
  U8(&s.bytes, externalType);
  U8(&s.bytes, portType);
  return s.Finish(strings);
}

Bytes Slot(uint16_t handle, const char* name, uint8_t type, uint8_t width, uint8_t usage,
           uint16_t id, uint8_t bus, unsigned lanes) {
  Builder s(9, handle);
  U8(&s.bytes, 1);        // designation
  U8(&s.bytes, type);
  U8(&s.bytes, width);    // data bus width
  U8(&s.bytes, usage);
  U8(&s.bytes, 0x04);     // long
  U16(&s.bytes, id);
  U8(&s.bytes, 0x04);     // 3.3 V
  U8(&s.bytes, 0x01);     // PME signal
  U16(&s.bytes, 0);       // segment group
  U8(&s.bytes, bus);
  U8(&s.bytes, 0x00);     // device 0, function 0
  U8(&s.bytes, lanes);    // data bus width in lanes
  U8(&s.bytes, 0);        // no peer devices
  return s.Finish({name});
}

Bytes OemStrings() {
  Builder s(11, 0x0B00);
  U8(&s.bytes, 2);
  return s.Finish({"Ardent build 2407.3", "Config 5531-B"});
}

Bytes Languages() {
  Builder s(13, 0x0D00);
  U8(&s.bytes, 2);                          // installable languages
  U8(&s.bytes, 0x01);                       // abbreviated names
  for (int i = 0; i < 15; ++i) U8(&s.bytes, 0);
  U8(&s.bytes, 1);                          // current: the first
  return s.Finish({"enUS", "deDE"});
}

Bytes MemoryArray() {
  Builder s(16, 0x1000);
  U8(&s.bytes, 0x03);        // system board
  U8(&s.bytes, 0x03);        // system memory
  U8(&s.bytes, 0x03);        // no error correction
  U32(&s.bytes, 128u << 20); // maximum capacity: 128 GiB, in KiB
  U16(&s.bytes, 0xFFFE);     // no error information
  U16(&s.bytes, 2);          // memory devices
  U64(&s.bytes, 0);          // extended maximum capacity unused
  return s.Finish();
}

Bytes MemoryDevice(uint16_t handle, const char* locator, const char* bank, const char* serial) {
  Builder s(17, handle);
  U16(&s.bytes, 0x1000);  // array
  U16(&s.bytes, 0xFFFE);  // no error information
  U16(&s.bytes, 64);      // total width
  U16(&s.bytes, 64);      // data width
  U16(&s.bytes, 16384);   // size: 16 GiB, in MiB
  U8(&s.bytes, 0x09);     // DIMM
  U8(&s.bytes, 0);        // no device set
  U8(&s.bytes, 1);        // locator
  U8(&s.bytes, 2);        // bank locator
  U8(&s.bytes, 0x1A);     // DDR4
  U16(&s.bytes, 0x0080);  // synchronous
  U16(&s.bytes, 3200);    // speed, MT/s
  U8(&s.bytes, 3);        // manufacturer
  U8(&s.bytes, 4);        // serial number
  U8(&s.bytes, 0);        // asset tag
  U8(&s.bytes, 5);        // part number
  U8(&s.bytes, 0x02);     // rank 2
  U32(&s.bytes, 0);       // extended size unused
  U16(&s.bytes, 3200);    // configured speed
  U16(&s.bytes, 1200);    // minimum voltage, mV
  U16(&s.bytes, 1200);    // maximum voltage
  U16(&s.bytes, 1200);    // configured voltage
  return s.Finish({locator, bank, "Kestrel Memory", serial, "KM16G3200D4"});
}

Bytes MappedAddress() {
  Builder s(19, 0x1300);
  U32(&s.bytes, 0x00000000);  // start, KiB
  U32(&s.bytes, 0x01FFFFFF);  // end, KiB: 32 GiB
  U16(&s.bytes, 0x1000);      // array
  U8(&s.bytes, 2);            // partition width
  U64(&s.bytes, 0);           // extended start unused
  U64(&s.bytes, 0);           // extended end unused
  return s.Finish();
}

Bytes BootInformation() {
  Builder s(32, 0x2000);
  for (int i = 0; i < 6; ++i) U8(&s.bytes, 0);
  U8(&s.bytes, 0);  // no errors
  return s.Finish();
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
      Builder(127, 0x7F00).Finish(),
  };
  Bytes table;
  for (const Bytes& s : structures) table.insert(table.end(), s.begin(), s.end());
  return table;
}

// The 3.x entry point of a --dump-bin file: table at offset 32, maximum size
// the table's length, checksum over its 24 bytes.
Bytes EntryPoint(uint32_t tableLength) {
  Bytes e = {'_', 'S', 'M', '3', '_', 0, 0x18, 3, 2, 0, 1, 0};
  U32(&e, tableLength);
  U64(&e, 32);
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
