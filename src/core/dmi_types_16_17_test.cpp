// Decoding of physical memory arrays and memory devices in the three sinks:
// window text, HTML table entries and properties.
#include <gtest/gtest.h>

#include <string>

#include "dump_builder.h"
#include "slots_to_memory_test.h"

namespace {

using namespace slots_to_memory;
using slots_to_memory::Dump;  // the fixture's, not the dump builder's Dump()

TEST_F(SlotsToMemory, PhysicalMemoryArrayValues) {
  struct Case {
    const char* name;
    Bytes structure;
    const char* capacity;
    const char* error;
  } cases[] = {
      {"unknown capacity", MemoryArray(0x80000000u, 0xFFFF, 4), "Unknown", "No error detected"},
      {"zero", MemoryArray(0, 0xFFFE, 4), "0 kB", "Not provided"},
      {"largest 32-bit", MemoryArray(0xFFFFFFFFu, 0x1234, 4), "4294967295 kB",
       "Error detected (1234)"},
      {"extended capacity of 4 TB", MemoryArray(0x80000000u, 0x00AB, 4, 0x17, 1ull << 42),
       "4294967296 kB", "Error detected (00AB)"},
      {"extended capacity ignored unless marked",
       MemoryArray(0x7FFFFFFFu, 0xFFFF, 4, 0x17, 1ull << 42), "2147483647 kB", "No error detected"},
      {"extended field one byte short", MemoryArray(0x80000000u, 0xFFFF, 4, 0x16, 1ull << 42),
       "Unknown", "No error detected"},
  };
  for (const Case& c : cases) {
    Ini({c.structure});
    EXPECT_EQ(Property("szPhysMemArrMaxCap"), c.capacity) << c.name;
    EXPECT_EQ(Property("szPhysMemArrErrInf"), c.error) << c.name;
  }
  // Codes without names leave their rows out.
  Bytes unnamed = MemoryArray(0, 0xFFFF, 65535);
  unnamed[4] = unnamed[5] = unnamed[6] = 0x77;
  EXPECT_EQ(Ini({unnamed}),
            "[Settings]\r\nszPhysMemArrHandle=1000H\r\nszPhysMemArrMaxCap=0 kB\r\n"
            "szPhysMemArrErrInf=No error detected\r\nszPhysMemArrNumDev=65535\r\n");
}

TEST_F(SlotsToMemory, MemoryDeviceValues) {
  struct Case {
    const char* name;
    uint16_t size;
    int length;
    uint32_t extendedSize;
    const char* expected;
  } sizes[] = {
      {"kB", 0x8200, 0x15, 0, "512 kB"},
      {"MB", 0x0200, 0x15, 0, "512 MB"},
      {"0 kB", 0x8000, 0x15, 0, "0 kB"},
      {"not installed", 0x0000, 0x15, 0, "Not installed"},
      {"unknown", 0xFFFF, 0x15, 0, "Unknown"},
      {"largest without extended size", 0x7FFF, 0x1C, 0x10000, "32767 MB"},
      {"extended size", 0x7FFF, 0x22, 0x10000, "65536 MB"},
      {"extended size, reserved bit 31 ignored", 0x7FFF, 0x22, 0x80020000, "131072 MB"},
      {"extended size ignored unless marked", 0x4000, 0x22, 0x10000, "16384 MB"},
  };
  for (const Case& c : sizes) {
    DeviceFields d;
    d.size = c.size;
    d.length = c.length;
    d.extendedSize = c.extendedSize;
    Ini({MemoryDevice(d)});
    EXPECT_EQ(Property("szMemDev0Size"), c.expected) << c.name;
  }
  struct Other {
    uint16_t width;
    uint8_t deviceSet;
    uint16_t errorHandle;
    const char* width_text;
    const char* set_text;
    const char* error_text;
  } others[] = {
      {0xFFFF, 0xFF, 0xFFFF, "Unknown", "Unknown", "No error detected"},
      {0, 0x0A, 0x0001, "0 bits", "0AH", "Error detected (0001)"},
      {0xFFFE, 0xFE, 0xFFFE, "65534 bits", "FEH", "Not provided"},
  };
  for (const Other& o : others) {
    DeviceFields d;
    d.totalWidth = d.dataWidth = o.width;
    d.deviceSet = o.deviceSet;
    d.errorHandle = o.errorHandle;
    Ini({MemoryDevice(d)});
    EXPECT_EQ(Property("szMemDev0TotWidth"), o.width_text);
    EXPECT_EQ(Property("szMemDev0DataWidth"), o.width_text);
    EXPECT_EQ(Property("szMemDev0DevSet"), o.set_text);
    EXPECT_EQ(Property("szMemDev0ErrInf"), o.error_text);
  }
}

TEST_F(SlotsToMemory, MemoryDeviceDetails) {
  struct Case {
    uint16_t typeDetail;
    const char* rows;  // what follows the details heading in the window
    std::vector<std::pair<int, const char*>> keys;
  } cases[] = {
      {0x0000, "", {}},
      {0x0080, "Detail 1\t: Synchronous\r\n", {{0, "Synchronous"}}},
      {0x0081, "Detail 2\t: Synchronous\r\n", {{1, "Synchronous"}}},
      {0x1FFE,
       "Detail 1\t: Other\r\nDetail 2\t: Unknown\r\nDetail 3\t: Fast-paged\r\n"
       "Detail 4\t: Static column\r\nDetail 5\t: Pseudo-static\r\nDetail 6\t: RAMBUS\r\n"
       "Detail 7\t: Synchronous\r\nDetail 8\t: CMOS\r\nDetail 9\t: EDO\r\n"
       "Detail 10\t: Window DRAM\r\nDetail 11\t: Cache DRAM\r\nDetail 12\t: Non-volatile\r\n",
       {{0, "Other"}, {11, "Non-volatile"}}},
      // Bits 13 to 15 are not examined.
      {0xE004, "Detail 1\t: Unknown\r\n", {{0, "Unknown"}}},
  };
  for (const Case& c : cases) {
    DeviceFields d;
    d.typeDetail = c.typeDetail;
    if (!NoEditControl()) {
      const std::string text = Text({MemoryDevice(d)});
      const std::string tail = std::string("Details\t:\r\n") + c.rows;
      ASSERT_GE(text.size(), tail.size()) << c.typeDetail;
      EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << c.typeDetail;
    }
    Ini({MemoryDevice(d)});
    for (const auto& key : c.keys) {
      EXPECT_EQ(Property("szMemDev0Det" + std::to_string(key.first)), key.second) << c.typeDetail;
    }
    const int next = c.keys.empty() ? 0 : c.keys.back().first + 1;
    EXPECT_EQ(Property("szMemDev0Det" + std::to_string(next)), "<none>") << c.typeDetail;
  }
}

TEST_F(SlotsToMemory, MemoryDeviceStringsAndShortStructures) {
  DeviceFields d;
  d.strings = {"DIMM_A", std::string(81, 'b')};  // the bank's string is too long
  Ini({MemoryDevice(d)});
  EXPECT_EQ(Property("szMemDev0DevLoc"), "DIMM_A");
  EXPECT_EQ(Property("szMemDev0BankLoc"), "<none>");
  // Cut after the data width: the later rows and the details heading are
  // left out.
  d.length = 12;
  d.strings = {};
  if (!NoEditControl()) {
    EXPECT_EQ(Text({MemoryDevice(d)}),
              "\r\n\r\n Memory Device \r\n\r\nHandle\t: 1100H\r\n"
              "Error information:\t Not provided\r\nTotal width\t: 72 bits\r\n"
              "Data width\t: 64 bits\r\n");
  }
}

TEST_F(SlotsToMemory, MemoryTypesOnlyInEnglish) {
  const Dump dump = {Counted(11, 1, {"oem"}), MemoryArray(0, 0xFFFF, 1), MemoryDevice({}),
                     MemoryDevice({})};
  Ini(dump);
  EXPECT_EQ(Property("szMemDev1Handle"), "1100H");
  InitLanguagesEx(PlatProgramModule(), 1);
  EXPECT_EQ(Ini(dump), "[Settings]\r\nszOEMString1=oem\r\n");
}

}  // namespace
