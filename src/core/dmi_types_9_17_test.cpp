// Decoding of slots, on-board devices, OEM strings, configuration options,
// BIOS language, memory arrays and memory devices in the three sinks: window
// text, HTML table entries and properties.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_harness.h"
#include "dmi_rows.h"
#include "dump_builder.h"
#include "int_str.h"
#include "platform.h"

namespace {

using Dump = std::vector<Bytes>;

// Runs structures through the decoder as one dump (shared per-dump counters
// and pending-table flags, a pending table closed at the end) in one sink and
// returns what that sink got. Each test runs in its own directory, where
// DMI.DAT is read from.
class SlotsToMemory : public ::testing::Test, public DecoderHarness {
 protected:
  void SetUp() override {
    // No section has a default, so unnamed codes can be tested; names longer
    // than the slot table's columns test the cuts.
    ASSERT_TRUE(Start({"*DMISLOTTYPE", "06H=PCI", "A5H=PCI Express x16",
                       "*DMISLOTDATABUSWIDTH", "05H=32-bit", "0DH=x16",
                       "*DMICURRENTUSAGE", "03H=Available", "04H=In use",
                       "05H=Unavailable by design",
                       "*DMISLOTLEN", "03H=Short", "04H=Long",
                       "*DMIONBOARDDEVTYPES", "03H=Video", "05H=Ethernet", "07H=Sound",
                       "*MEMARRLOC", "03H=System board",
                       "*MEMARRUSE", "03H=System memory",
                       "*CACHEECC", "03H=None", "05H=Single-bit ECC",
                       "*MEMDEVFF", "09H=DIMM",
                       "*MEMDEVTYPE", "12H=DDR", "1AH=DDR4"}));
  }
  void TearDown() override { EXPECT_TRUE(Stop()); }

  void Print(const Dump& dump) {
    DumpState state;
    for (const Bytes& structure : dump) state.Print(structure, capacity_);
    state.Finish();
  }

  std::string Run(Sink sink, const Dump& dump) {
    // The slot counter runs over the whole process; each run here is a
    // process of its own.
    ProcessKeyCounters().slots = 0;
    return DecoderHarness::Run(sink, [&] { Print(dump); });
  }
  std::string Text(const Dump& dump) { return Run(Sink::kText, dump); }
  std::string Html(const Dump& dump) { return Run(Sink::kHtml, dump); }
  std::string Ini(const Dump& dump) { return Run(Sink::kIni, dump); }

  // Size of the structure buffer; the bytes after the structure are garbage.
  size_t capacity_ = 0;
};

// Heading, column header and separator line of a slot table in the window.
std::string SlotHeading() {
  return "\r\n\r\nSystem Slots \r\n\r\n"
         " Designation\tID\tType\tBus Width\tCurrent Usage\tLength\tVoltage\r\n" +
         std::string(239, '-') + "\r\n";
}

// System slot in the SMBIOS 2.1 layout (13 bytes).
Bytes Slot(uint8_t designation, uint8_t type, uint8_t width, uint8_t usage, uint8_t length,
           uint16_t id, uint8_t characteristics, const std::vector<std::string>& strings,
           uint16_t handle = 0x0900) {
  Bytes f = {designation, type, width, usage, length};
  PutU16(f, id);
  f.push_back(characteristics);
  f.push_back(0);  // characteristics 2 (not shown)
  return Structure(9, handle, f, strings);
}

// On-board devices: (type byte, description string) pairs.
Bytes OnBoard(const std::vector<std::pair<uint8_t, uint8_t>>& devices,
              const std::vector<std::string>& strings, uint16_t handle = 0x0A00) {
  Bytes f;
  for (const auto& d : devices) {
    f.push_back(d.first);
    f.push_back(d.second);
  }
  return Structure(10, handle, f, strings);
}

Bytes Counted(uint8_t type, uint8_t count, const std::vector<std::string>& strings) {
  return Structure(type, 0x0B00, {count}, strings);
}

Bytes Language(uint8_t installable, uint8_t current, const std::vector<std::string>& strings) {
  Bytes f = {installable, 0};
  f.resize(f.size() + 15, 0);
  f.push_back(current);
  return Structure(13, 0x0D00, f, strings);
}

// Physical memory array; length 0x17 adds the extended maximum capacity.
Bytes MemoryArray(uint32_t capacity, uint16_t errorHandle, uint16_t devices, int length = 0x0F,
                  uint64_t extendedCapacity = 0) {
  Bytes f = {3, 3, 5};
  PutU32(f, capacity);
  PutU16(f, errorHandle);
  PutU16(f, devices);
  if (length >= 0x17) {
    PutU32(f, static_cast<uint32_t>(extendedCapacity));
    PutU32(f, static_cast<uint32_t>(extendedCapacity >> 32));
  }
  f.resize(static_cast<size_t>(length) - 4, 0);
  return Structure(16, 0x1000, f);
}

struct DeviceFields {
  uint16_t handle = 0x1100;
  uint16_t errorHandle = 0xFFFE;
  uint16_t totalWidth = 72;
  uint16_t dataWidth = 64;
  uint16_t size = 0x0200;
  uint8_t formFactor = 9;
  uint8_t deviceSet = 0;
  uint8_t memoryType = 0x12;
  uint16_t typeDetail = 0x0080;
  int length = 0x15;  // SMBIOS 2.1
  uint32_t extendedSize = 0;
  std::vector<std::string> strings = {"DIMM0", "BANK0"};
};

Bytes MemoryDevice(const DeviceFields& d) {
  Bytes f;
  PutU16(f, 0x1000);  // array handle (not shown)
  PutU16(f, d.errorHandle);
  PutU16(f, d.totalWidth);
  PutU16(f, d.dataWidth);
  PutU16(f, d.size);
  f.push_back(d.formFactor);
  f.push_back(d.deviceSet);
  f.push_back(1);  // device locator
  f.push_back(2);  // bank locator
  f.push_back(d.memoryType);
  PutU16(f, d.typeDetail);
  // 2.3 and later: speed, manufacturer, serial, asset tag, part number,
  // attributes; 2.7: extended size.
  PutU16(f, 400);
  for (int i = 0; i < 4; ++i) f.push_back(0);
  f.push_back(1);
  PutU32(f, d.extendedSize);
  f.resize(static_cast<size_t>(d.length) - 4, 0);
  return Structure(17, d.handle, f, d.strings, d.length);
}

// A realistic run: two slots, on-board devices, a third slot (a table of its
// own), OEM strings, configuration options, BIOS language, one memory array
// with two devices, and the end-of-table structure.
Dump RealisticDump() {
  DeviceFields second;
  second.handle = 0x1101;
  second.size = 0x8200;
  second.formFactor = 0x77;  // unnamed: no row
  second.deviceSet = 0x01;
  second.memoryType = 0x1A;
  second.typeDetail = 0x0081;
  second.errorHandle = 0x1234;
  second.strings = {"DIMM1"};  // no bank locator string
  return {Slot(1, 0x06, 0x05, 0x04, 0x04, 1, 0x06, {"PCI1"}),
          Slot(1, 0xA5, 0x0D, 0x03, 0x03, 2, 0x04, {"PCIE2"}),
          OnBoard({{0x83, 1}, {0x05, 2}}, {"Onboard VGA", "LAN"}),
          Slot(0, 0x06, 0x05, 0x05, 0x03, 3, 0x00, {}),
          Counted(11, 2, {"OEM one  ", "Two"}),
          Counted(12, 1, {"JP1: clear CMOS "}),
          Language(2, 2, {"en|US|iso8859-1", "fr|FR|iso8859-1"}),
          MemoryArray(0x00100000, 0xFFFE, 2),
          MemoryDevice({}),
          MemoryDevice(second),
          Structure(127, 0xFEFF, {})};
}

TEST_F(SlotsToMemory, RealisticDumpInTheWindow) {
  if (NoEditControl()) return;
  EXPECT_EQ(Text(RealisticDump()), ExpectedReport("slots_to_memory.txt"));
}

TEST_F(SlotsToMemory, RealisticDumpInHtml) {
  // The report library drops the leading empty cell of the third slot, whose
  // designation is missing: its row starts with the ID.
  EXPECT_EQ(Html(RealisticDump()), ExpectedReport("slots_to_memory.htm"));
}

TEST_F(SlotsToMemory, RealisticDumpAsProperties) {
  // Keys numbered with %-4u carry trailing blanks, which the property file
  // does not keep.
  EXPECT_EQ(Ini(RealisticDump()), ExpectedReport("slots_to_memory.ini"));
}

TEST_F(SlotsToMemory, SlotCells) {
  struct Case {
    const char* name;
    Bytes slot;
    const char* line;  // the slot's table line in the window
    const char* voltage;
    const char* type;
  } cases[] = {
      {"5V wins over 3.3V", Slot(1, 6, 5, 4, 4, 1, 0x06, {"S"}), "S\t1\tPCI\t32-bit\tIn use\tLong\t5V",
       "5V", "PCI"},
      {"3.3V only", Slot(1, 6, 5, 4, 4, 1, 0x04, {"S"}), "S\t1\tPCI\t32-bit\tIn use\tLong\t3.3V",
       "3.3V", "PCI"},
      {"no voltage: six cells", Slot(1, 6, 5, 4, 4, 1, 0xF9, {"S"}),
       "S\t1\tPCI\t32-bit\tIn use\tLong", "<none>", "PCI"},
      {"names cut to 9 and 13", Slot(1, 0xA5, 0x0D, 5, 3, 12, 0, {"S"}),
       "S\t12\tPCI Expre\tx16\tUnavailable b\tShort", "<none>", "PCI Expre"},
      {"unnamed codes leave empty cells", Slot(1, 0x77, 0x77, 0x77, 0x77, 65535, 0, {"S"}),
       "S\t65535\t\t\t\t", "<none>", "<none>"},
      {"missing designation", Slot(2, 6, 5, 4, 4, 1, 0, {"S"}), "\t1\tPCI\t32-bit\tIn use\tLong",
       "<none>", "PCI"},
      {"empty designation is an empty cell", Slot(1, 6, 5, 4, 4, 1, 0, {}),
       "\t1\tPCI\t32-bit\tIn use\tLong", "<none>", "PCI"},
  };
  for (const Case& c : cases) {
    if (!NoEditControl()) {
      EXPECT_EQ(Text({c.slot}), SlotHeading() + c.line + "\r\n") << c.name;
    }
    Ini({c.slot});
    EXPECT_EQ(Property("szSysSlot0_Vltg"), c.voltage) << c.name;
    EXPECT_EQ(Property("szSysSlot0_Type"), c.type) << c.name;
  }
  // The designation's property exists only with a string; an empty string is one.
  Ini({Slot(2, 6, 5, 4, 4, 1, 0, {"S"})});
  EXPECT_EQ(Property("szSysSlot0_Designtn"), "<none>");
  Ini({Slot(1, 6, 5, 4, 4, 1, 0, {})});
  EXPECT_EQ(Property("szSysSlot0_Designtn"), "");
}

TEST_F(SlotsToMemory, ShortSlotKeepsItsColumns) {
  // A slot cut short after the bus width: the later cells stay empty, their
  // properties are not written, and the ID is not read from the string set.
  const Bytes slot = Structure(9, 0x0900, {1, 6, 5}, {"S"});
  if (!NoEditControl()) {
    EXPECT_EQ(Text({slot}), SlotHeading() + "S\t\tPCI\t32-bit\t\t\r\n");
  }
  EXPECT_EQ(Ini({slot}),
            "[Settings]\r\nszSysSlot0_Designtn=S\r\nszSysSlot0_Type=PCI\r\n"
            "szSysSlot0_BusWidth=32-bit\r\n");
}

TEST_F(SlotsToMemory, OnBoardDevices) {
  struct Case {
    const char* name;
    Bytes structure;
    const char* text;
  } cases[] = {
      {"no device", Structure(10, 1, {}), ""},
      {"half an entry is no device", Structure(10, 1, {0x83}), ""},
      {"only unnamed types", OnBoard({{0x01, 1}, {0xFF, 1}}, {"X"}), ""},
      {"enabled, named by bits 0 to 6", OnBoard({{0x83, 0}}, {}),
       "\r\n\r\nOn Board Devices Information \r\n\r\n  Device Type\t: Video,  Enabled\r\n"},
      {"caption once, unnamed device skipped with its description",
       OnBoard({{0x01, 1}, {0x07, 2}, {0x85, 0}}, {"Lost", "Audio"}),
       "\r\n\r\nOn Board Devices Information \r\n\r\n"
       "  Device Type\t: Sound,  Disabled\r\n  Description \t: Audio"
       "  Device Type\t: Ethernet,  Enabled\r\n"},
      {"empty and missing descriptions give no row", OnBoard({{0x03, 1}, {0x05, 3}}, {}),
       "\r\n\r\nOn Board Devices Information \r\n\r\n"
       "  Device Type\t: Video,  Disabled\r\n  Device Type\t: Ethernet,  Disabled\r\n"},
  };
  for (const Case& c : cases) {
    if (!NoEditControl()) {
      EXPECT_EQ(Text({c.structure}), c.text) << c.name;
    }
  }
  // Keys are numbered by the device's place in its structure, skipped
  // devices included, and start again with every structure.
  Ini({OnBoard({{0x01, 1}, {0x07, 2}, {0x85, 0}}, {"Lost", "Audio"})});
  EXPECT_EQ(Property("szOnBrdDevInf0_DevType"), "<none>");
  EXPECT_EQ(Property("szOnBrdDevInf1_DevType"), "Sound");
  EXPECT_EQ(Property("bOnBrdDevInf1_Enbld"), "0");
  EXPECT_EQ(Property("szOnBrdDevInf1_Desc"), "Audio");
  EXPECT_EQ(Property("szOnBrdDevInf2_DevType"), "Ethernet");
  EXPECT_EQ(Property("bOnBrdDevInf2_Enbld"), "1");
  EXPECT_EQ(Property("szOnBrdDevInf2_Desc"), "<none>");
  EXPECT_EQ(Ini({OnBoard({{0x01, 0}}, {})}), "");
  // A structure that shows nothing leaves no table behind in HTML.
  EXPECT_EQ(Html({OnBoard({{0x01, 0}}, {})}), "");
}

TEST_F(SlotsToMemory, OemStringsAndConfigurationOptions) {
  struct Case {
    const char* name;
    Bytes structure;
    std::vector<std::string> values;      // the window rows String 1, String 2 ...
    std::vector<std::string> properties;  // the properties String1, String2 ...
  } cases[] = {
      // The property writer trims the blanks around every value.
      {"OEM strings lose their trailing blanks, the next string is still found",
       Counted(11, 3, {"ab  ", "c d ", "   "}), {"ab", "c d", " "}, {"ab", "c d", ""}},
      {"options keep them, but not in the property file", Counted(12, 2, {"ab  ", "c d "}),
       {"ab  ", "c d "}, {"ab", "c d"}},
      {"a count beyond the set shows the strings there are", Counted(11, 5, {"x", "y"}),
       {"x", "y"}, {"x", "y"}},
      {"a count of 0 shows none", Counted(12, 0, {"x"}), {}, {}},
      {"no strings at all", Counted(11, 2, {}), {}, {}},
      {"a count smaller than the set", Counted(12, 1, {"x", "y"}), {"x"}, {"x"}},
      // As with every string set, a first string may be empty; only a NUL
      // after a string's own NUL ends the set.
      {"an empty first string", Counted(11, 3, {"", "y"}), {"", "y"}, {"", "y"}},
  };
  for (const Case& c : cases) {
    const bool oem = c.structure[0] == 11;
    const std::string pattern = oem ? "szOEMString" : "szSysConfigOptns_String";
    Ini({c.structure});
    for (size_t i = 0; i < c.properties.size(); ++i) {
      EXPECT_EQ(Property(pattern + std::to_string(i + 1)), c.properties[i]) << c.name;
    }
    EXPECT_EQ(Property(pattern + std::to_string(c.properties.size() + 1)), "<none>") << c.name;
    if (!NoEditControl()) {
      std::string expected = oem ? "\r\n\r\nOEM Strings \r\n\r\n"
                                 : "\r\n\r\nSystem Configuration Options \r\n";
      for (size_t i = 0; i < c.values.size(); ++i) {
        expected += "\r\n  String " + std::to_string(i + 1) + "   \t: " + c.values[i];
      }
      EXPECT_EQ(Text({c.structure}), expected) << c.name;
    }
  }
}

TEST_F(SlotsToMemory, CountedStringsStayInsideTheBuffer) {
  // A string that runs to the end of the buffer without its NUL is not shown.
  Bytes unterminated = {11, 5, 0, 0x0B, 2, 'o', 'k', 0, 'r', 'u', 'n', 's'};
  Ini({unterminated});
  EXPECT_EQ(Property("szOEMString1"), "ok");
  EXPECT_EQ(Property("szOEMString2"), "<none>");
  // A string longer than a row is cut, and the walk still finds the next one.
  const std::string longString(700, 'L');
  Ini({Counted(12, 2, {longString, "next"})});
  EXPECT_EQ(Property("szSysConfigOptns_String1").size(), 499u);
  EXPECT_EQ(Property("szSysConfigOptns_String2"), "next");
  if (!NoEditControl()) {
    const std::string text = Text({Counted(12, 1, {longString})});
    // The heading and one row, cut to the 499 characters a row holds.
    EXPECT_EQ(text.size(), strlen("\r\n\r\nSystem Configuration Options \r\n") + 499);
  }
  // Without its count field the structure shows its heading only.
  EXPECT_EQ(Ini({Structure(11, 0x0B00, {}, {"x"})}), "");
}

TEST_F(SlotsToMemory, BiosLanguage) {
  struct Case {
    const char* name;
    Bytes structure;
    const char* text;
  } cases[] = {
      {"no installable languages", Language(0, 0, {}),
       "\r\n\r\nBIOS Language Information \r\n\r\n  Installable languages\t: 0 languages"},
      {"missing and empty strings are skipped, numbers kept", Language(3, 1, {"", "de|DE"}),
       "\r\n\r\nBIOS Language Information \r\n\r\n  Installable languages\t: 3 languages"
       "\r\n  Language2   \t: de|DE"},
      {"more languages claimed than given", Language(3, 2, {"en|US", "de|DE"}),
       "\r\n\r\nBIOS Language Information \r\n"
       "\r\n  Current language\t: de|DE"
       "\r\n  Installable languages\t: 3 languages"
       "\r\n  Language1   \t: en|US"
       "\r\n  Language2   \t: de|DE"},
  };
  if (NoEditControl()) return;
  for (const Case& c : cases) EXPECT_EQ(Text({c.structure}), c.text) << c.name;
  // A string number that findstring reads as 1 again (129 and on) is not
  // shown twice.
  const std::string text = Text({Language(200, 0, {"en|US"})});
  EXPECT_EQ(text.find("en|US"), text.rfind("en|US"));
  Ini({Language(12, 0, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"})});
  EXPECT_EQ(Property("szBIOSLangInf_Lang12"), "l");
  EXPECT_EQ(Property("dwBIOSLangInf_InstlbleLang"), "12");
  EXPECT_EQ(Property("szBIOSLangInf_CurrLang"), "<none>");
}

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
       MemoryArray(0x7FFFFFFFu, 0xFFFF, 4, 0x17, 1ull << 42), "2147483647 kB",
       "No error detected"},
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
