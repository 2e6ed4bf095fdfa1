// Decoding of memory controller and memory module structures in the three
// sinks: window text, HTML table entries and properties; and a whole machine
// from the memory controller to the port connectors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dump_builder.h"
#include "memory_and_ports_test.h"

namespace {

using namespace memory_and_ports;

// Memory controller in the SMBIOS 2.3 layout, with four module slots.
struct ControllerFields {
  uint8_t errDetect = 3;
  uint8_t errCorrect = 0x04;
  uint8_t supportedInterleave = 4;
  uint8_t currentInterleave = 3;
  uint8_t maxModuleSize = 7;
  uint16_t speeds = 0x000C;
  uint16_t memTypes = 0x0108;
  uint8_t voltage = 0x02;
  int length = 0x18;
};

Bytes Controller(const ControllerFields& c) {
  Bytes f = {c.errDetect, c.errCorrect, c.supportedInterleave, c.currentInterleave,
             c.maxModuleSize};
  PutU16(f, c.speeds);
  PutU16(f, c.memTypes);
  f.push_back(c.voltage);
  f.push_back(4);                                  // associated slots
  for (uint16_t h = 6; h < 10; ++h) PutU16(f, h);  // their handles
  f.push_back(0x04);                               // enabled correction
  f.resize(static_cast<size_t>(c.length) > 4 ? static_cast<size_t>(c.length) - 4 : 0);
  return Structure(5, 5, f, {}, c.length);
}

Bytes ShortController(int length) {
  ControllerFields c;
  c.length = length;
  return Controller(c);
}

Bytes Module(uint8_t socket, uint8_t speed, uint16_t type, uint8_t installed, uint8_t enabled,
             const std::vector<std::string>& strings = {"DIMM0"}) {
  Bytes f = {socket, 0x01, speed};
  PutU16(f, type);
  f.push_back(installed);
  f.push_back(enabled);
  f.push_back(0);  // error status
  return Structure(6, 6, f, strings);
}

// A machine of the SMBIOS 2.3 era: controller, two modules, two caches, and
// port connectors in two runs with an inactive structure between them.
std::vector<Bytes> Machine() {
  return {
      Controller({}),
      Module(1, 60, 0x0108, 0x06, 0x06, {"DIMM0"}),
      Module(1, 0, 0x0002, 0x7F, 0x7F, {"DIMM1"}),
      // Internal level 1, enabled, write back, 32 kB, burst types.
      Cache(0x0180, 0x0020, 0x0018, 0x0010, {"L1 Cache"}),
      // External level 2, socketed, enabled, varies, 512 kB in 64 kB units.
      Cache(0x02A9, 0x8008, 0x0003, 0x0004, {"L2 Cache"}),
      Port(1, 2, 0x0F, 0x0D, {"J1A1", "Keyboard"}),
      Port(1, 0, 0x0F, 0x0E, {"J1A1 Mouse"}),
      Port(1, 2, 0x08, 0x09, {"J2A1", "COM A"}),
      Structure(126, 0x7E, {}),
      Port(0, 1, 0x12, 0x10, {"USB1"}),
      Port(0, 0, 0x77, 0x77, {}),
      Structure(127, 0x7F, {}),
  };
}

TEST_F(MemoryAndPorts, MachineInWindowText) {
  if (NoEditControl()) return;
  EXPECT_EQ(Text(Machine()), ExpectedReport("memory_and_ports.txt"));
}

TEST_F(MemoryAndPorts, MachineInHtml) {
  // In the last port line the trailing TABs are trimmed as filler but the
  // last one: one empty cell less.
  EXPECT_EQ(Html(Machine()), ExpectedReport("memory_and_ports.htm"));
}

TEST_F(MemoryAndPorts, MachineInProperties) {
  EXPECT_EQ(Ini(Machine()), ExpectedReport("memory_and_ports.ini"));
}

TEST_F(MemoryAndPorts, ErrorCorrectionCapabilities) {
  struct Case {
    uint8_t field;
    std::vector<std::string> texts;
  } cases[] = {
      {0x01, {"Other"}},
      {0x03, {"Unknown"}},  // "other" next to another bit says nothing
      {0x09, {"Single Bit Error Correcting"}},
      {0x0C, {"None", "Single Bit Error Correcting"}},
      {0x3E,
       {"Unknown", "None", "Single Bit Error Correcting", "Double Bit Error Correcting",
        "Error Scrubbing"}},
      {0xC0, {}},  // bits 6 and 7 are reserved
      {0x00, {}},
  };
  for (const Case& c : cases) {
    ControllerFields f;
    f.errCorrect = c.field;
    const Bytes controller = Controller(f);
    Ini({controller});
    for (size_t i = 0; i <= c.texts.size(); ++i) {
      const std::string key = "szMemCtrlInf_ErrCorrCap" + std::to_string(i);
      EXPECT_EQ(Property(key), i < c.texts.size() ? c.texts[i] : "<none>") << int(c.field);
    }
    if (NoEditControl()) continue;
    std::string rows = "\r\n  Error corr. capability\t:";
    for (const std::string& t : c.texts) rows += "\t\t:" + t + "\r\n";
    rows += "\r\n  Support Interleave";
    EXPECT_NE(Text({controller}).find(rows), std::string::npos) << int(c.field);
  }
}

TEST_F(MemoryAndPorts, SupportedSpeedsAndMemoryTypes) {
  struct Case {
    uint16_t field;
    const char* speeds;  // the window rows, after the colon
    const char* types;
    const char* speedsProperty;
    const char* typesProperty;
  } cases[] = {
      {0x0000, "", "", "", ""},
      {0x0001, " Other than 50ns, 60ns or 70ns", " Other", "Other than 50ns, 60ns or 70ns",
       "Other"},
      {0x0002, " Unknown", " Unknown", "Unknown", "Unknown"},
      {0x0003, "", "", "", ""},  // other and unknown only count alone
      {0x000A, " 60ns", " Fast Page Mode", "60ns", "Fast Page Mode"},
      {0x001C, " 70ns 60ns 50ns", " Standard Fast Page Mode EDO", "70ns 60ns 50ns",
       "Standard Fast Page Mode EDO"},
      {0x0580, "", " SIMM DIMM SDRAM", "", "SIMM DIMM SDRAM"},
      {0xF800, "", "", "", ""},  // reserved bits
      {0x07FC, " 70ns 60ns 50ns",
       " Standard Fast Page Mode EDO Parity ECC SIMM DIMM Burst EDO SDRAM", "70ns 60ns 50ns",
       "Standard Fast Page Mode EDO Parity ECC SIMM DIMM Burst EDO SDRAM"},
  };
  for (const Case& c : cases) {
    ControllerFields f;
    f.speeds = c.field;
    f.memTypes = c.field;
    const Bytes controller = Controller(f);
    Ini({controller});
    // Both properties are written even when empty.
    EXPECT_EQ(Property("szMemCtrlInf_SuppSpd"), c.speedsProperty) << c.field;
    EXPECT_EQ(Property("szMemCtrlInf_SuppMemType"), c.typesProperty) << c.field;
    if (NoEditControl()) continue;
    const std::string expected = std::string("  Supported speeds\t:") + c.speeds +
                                 "\r\n  Supported mem. type\t:" + c.types +
                                 "\r\n  Supported Voltage";
    EXPECT_NE(Text({controller}).find(expected), std::string::npos) << c.field;
  }
}

TEST_F(MemoryAndPorts, ControllerVoltages) {
  struct Case {
    uint8_t field;
    const char* text;
    size_t htmlEntries;
    const char* property;
  } cases[] = {
      {0x00, "", 0, "<none>"},
      {0x01, "5V ", 1, "5V"},
      {0x03, "5V 3.3V ", 2, "3.3V"},  // written per voltage: the last stays
      {0x07, "5V 3.3V 2.9V ", 3, "2.9V"},
      {0xF8, "", 0, "<none>"},
  };
  for (const Case& c : cases) {
    ControllerFields f;
    f.voltage = c.field;
    const Bytes controller = Controller(f);
    Ini({controller});
    EXPECT_EQ(Property("szMemCtrlInf_SuppVltg"), c.property) << int(c.field);
    EXPECT_EQ(Count(Html({controller}), "<lh>Supported Voltage</lh>"), c.htmlEntries);
    if (NoEditControl()) continue;
    const std::string text = Text({controller});
    const std::string expected = std::string("\r\n  Supported Voltage\t: ") + c.text;
    ASSERT_GE(text.size(), expected.size());
    EXPECT_EQ(text.substr(text.size() - expected.size()), expected) << int(c.field);
  }
}

// Sizes given as a power of two are shown in full, far beyond 32 bits.
TEST_F(MemoryAndPorts, PowerOfTwoSizes) {
  struct Case {
    uint8_t n;
    const char* mb;
  } cases[] = {
      {0, "1"},
      {4, "16"},
      {30, "1073741824"},
      {31, "2147483648"},
      {32, "4294967296"},
      {63, "9223372036854775808"},
      {64, "18446744073709551616"},
      {124, "21267647932558653966460912964485513216"},
      {255, "57896044618658097711785492504343953926634992332820282019728792003956564819968"},
  };
  for (const Case& c : cases) {
    ControllerFields f;
    f.maxModuleSize = c.n;
    Ini({Controller(f)});
    EXPECT_EQ(Property("dwMemCtrlInf_MaxModSzMB"), c.mb) << int(c.n);
    if (c.n < 0x7D) {
      const Bytes module = Module(1, 0, 0, c.n, c.n);
      Ini({module});
      EXPECT_EQ(Property("dwMemModInf0_InstldSzMB"), c.mb) << int(c.n);
      EXPECT_EQ(Property("dwMemModInf0_EnbldSzMB"), c.mb) << int(c.n);
      if (!NoEditControl()) {
        EXPECT_NE(Text({module}).find(std::string("\r\n  Enabled size\t: ") + c.mb + " MB"),
                  std::string::npos)
            << int(c.n);
      }
    }
    if (NoEditControl()) continue;
    EXPECT_NE(Text({Controller(f)}).find(std::string("Max. Module Size\t: ") + c.mb + " MB\r\n"),
              std::string::npos)
        << int(c.n);
  }
}

TEST_F(MemoryAndPorts, ModuleSizeCodesAndType) {
  struct Case {
    const char* name;
    uint16_t type;
    uint8_t installed;
    uint8_t enabled;
    const char* rows;  // window text after the socket row
    const char* installedKey;
    const char* enabledKey;
  } cases[] = {
      {"bank flag ignored", 0x0104, 0x85, 0x85,
       "\r\n  Current module type\t: DIMM\r\n  Installed size\t: 32 MB"
       "\r\n  Enabled size\t: 32 MB",
       "32", "32"},
      {"not installed", 0x0000, 0x7F, 0x05, "\r\n  Current module type\t: Memory not installed",
       "<none>", "<none>"},
      {"not determinable", 0x0000, 0xFD, 0x03,
       "\r\n  Current module type\t: Installed size not determinable"
       "\r\n  Enabled size\t: 8 MB",
       "<none>", "8"},
      {"installed, not enabled", 0x0400, 0x7E, 0x7E,
       "\r\n  Current module type\t: SDRAM"
       "\r\n  Current module type\t: Module is installed, but no memory has been enabled",
       "<none>", "<none>"},
      {"enabled code without size", 0x0003, 0x03, 0x7D, "\r\n  Installed size\t: 8 MB", "8",
       "<none>"},
  };
  for (const Case& c : cases) {
    const Bytes module = Module(1, 0, c.type, c.installed, c.enabled);
    Ini({module});
    EXPECT_EQ(Property("dwMemModInf0_InstldSzMB"), c.installedKey) << c.name;
    EXPECT_EQ(Property("dwMemModInf0_EnbldSzMB"), c.enabledKey) << c.name;
    EXPECT_EQ(Property("dwMemModInf0_CurrSpdInns"), "<none>") << c.name;
    if (NoEditControl()) continue;
    EXPECT_EQ(
        Text({module}),
        std::string("\r\n\r\nMemory Module Information \r\n\r\n  Socket type\t: DIMM0") + c.rows)
        << c.name;
  }
}

TEST_F(MemoryAndPorts, FieldsBeyondTheFormattedLengthAreNotRead) {
  // Structures cut short: the bytes past the formatted length are the string
  // set, never fields. Every HTML table that is begun is ended.
  struct Case {
    const char* name;
    Bytes structure;
    std::string text;
  } cases[] = {
      {"controller, header only", ShortController(4),
       "\r\n\r\n Memory Controller Information \r\n\r\n"},
      {"controller up to the maximum size", ShortController(9),
       "\r\n\r\n Memory Controller Information \r\n\r\n  Error Det. Method\t: None"
       "\r\n  Error corr. capability\t:\t\t:None\r\n"
       "\r\n  Support Interleave\t: Two-way interleave"
       "\r\n  Current Interleave\t: One-way interleave"
       "\r\n  Max. Module Size\t: 128 MB\r\n"},
      {"cache up to the configuration", Cache(0x0180, 0x10, 0, 0, {"L1"}, 7),
       "\r\nCache Information \r\n\r\n  Socket type\t: L1"
       "\r\n  Configuration\t: Not socketed\r\n  Type\t: Internal"
       "\r\n  Status\t: Enabled at boot time\r\n  Mode\t: Write Back\r\n"},
      {"cache up to the size", Cache(0x0180, 0x10, 4, 4, {"L1"}, 11),
       "\r\nCache Information \r\n\r\n  Socket type\t: L1"
       "\r\n  Configuration\t: Not socketed\r\n  Type\t: Internal"
       "\r\n  Status\t: Enabled at boot time\r\n  Mode\t: Write Back\r\n"
       "  Cache Size\t: 16 kB\r\n"},
      {"module without sizes", Structure(6, 6, {1, 0, 70}, {"S"}),
       "\r\n\r\nMemory Module Information \r\n\r\n  Socket type\t: S"
       "\r\n  Current Speed\t: 70ns"},
      {"port connector, header only", Structure(8, 8, {}, {"J1"}, 4),
       "\r\nPort Connector Information\r\n"
       " External\tExternal\tInternal\tPort\r\n"
       " Designator\tConn. type\tDesignator\tType\r\n" +
           std::string(139, '-') + "\r\n-\t\t\t\r\n"},
  };
  for (const Case& c : cases) {
    const std::string html = Html({c.structure});
    EXPECT_EQ(Count(html, "<t>"), Count(html, "</t>")) << c.name;
    if (NoEditControl()) continue;
    EXPECT_EQ(Text({c.structure}), c.text) << c.name;
  }
}

}  // namespace
