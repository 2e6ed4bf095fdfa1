// Decoding of slots, on-board devices, OEM strings, configuration options and
// BIOS language in the three sinks: window text, HTML table entries and
// properties; and a whole dump from the slots to the memory devices.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dump_builder.h"
#include "platform.h"
#include "slots_to_memory_test.h"

namespace {

using namespace slots_to_memory;
using slots_to_memory::Dump;  // the fixture's, not the dump builder's Dump()

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

Bytes Language(uint8_t installable, uint8_t current, const std::vector<std::string>& strings) {
  Bytes f = {installable, 0};
  f.resize(f.size() + 15, 0);
  f.push_back(current);
  return Structure(13, 0x0D00, f, strings);
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
      {"5V wins over 3.3V", Slot(1, 6, 5, 4, 4, 1, 0x06, {"S"}),
       "S\t1\tPCI\t32-bit\tIn use\tLong\t5V", "5V", "PCI"},
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
    // clang-format off
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
  // clang-format on
  for (const Case& c : cases) {
    const bool oem = c.structure[0] == 11;
    const std::string pattern = oem ? "szOEMString" : "szSysConfigOptns_String";
    Ini({c.structure});
    for (size_t i = 0; i < c.properties.size(); ++i) {
      EXPECT_EQ(Property(pattern + std::to_string(i + 1)), c.properties[i]) << c.name;
    }
    EXPECT_EQ(Property(pattern + std::to_string(c.properties.size() + 1)), "<none>") << c.name;
    if (!NoEditControl()) {
      std::string expected =
          oem ? "\r\n\r\nOEM Strings \r\n\r\n" : "\r\n\r\nSystem Configuration Options \r\n";
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

}  // namespace
