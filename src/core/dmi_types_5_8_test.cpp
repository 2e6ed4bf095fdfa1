// Decoding of memory controller, memory module, cache and port connector
// structures in the three sinks: window text, HTML table entries and
// properties.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_harness.h"
#include "dmi_rows.h"
#include "dump_builder.h"
#include "sink_state.h"

namespace {

// Runs structures through the decoder in one sink, as the dump reader does
// (pending tables kept open between calls and closed at the end), and
// returns what the sink got. Each test runs in its own directory, where
// DMI.DAT is read from.
class MemoryAndPorts : public ::testing::Test, public DecoderHarness {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Start({"*DMIMEMCTRLEDM", "03H=None", "05H=32-bit ECC",
                       "*DMIINTERLEAVESUP", "03H=One-way interleave",
                       "04H=Two-way interleave",
                       "*DMICONNTYPES", "08H=DB-9 male", "0FH=PS/2",
                       "12H=Access Bus (USB)", "FFH=Other",
                       "*DMIPORTTYPES", "09H=Serial Port 16550A Compatible",
                       "0DH=Keyboard Port", "0EH=Mouse Port", "10H=USB"}));
  }
  void TearDown() override { EXPECT_TRUE(Stop()); }

  void PrintAll(const std::vector<Bytes>& structures) {
    DumpState dump;
    // The bytes after each structure are left-overs of earlier ones.
    for (const Bytes& structure : structures) dump.Print(structure, structure.size() + 64);
    dump.Finish();
  }

  // Either a list of structures for the frame or, with a whole dump, the
  // dump reader's walk over it.
  std::string Run(Sink sink, const std::vector<Bytes>& structures, const Bytes* dump = nullptr) {
    ProcessKeyCounters() = DmiKeyCounters();
    return DecoderHarness::Run(sink, [&] {
      if (!dump) {
        PrintAll(structures);
        return;
      }
      const std::string path = dir.File("dump.bin");
      WriteBytes(path, *dump);
      ASSERT_TRUE(ReadDumpFile(path));
    });
  }
  std::string Text(const std::vector<Bytes>& s) { return Run(Sink::kText, s); }
  std::string Html(const std::vector<Bytes>& s) { return Run(Sink::kHtml, s); }
  std::string Ini(const std::vector<Bytes>& s) { return Run(Sink::kIni, s); }
};

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
  f.push_back(4);                                        // associated slots
  for (uint16_t h = 6; h < 10; ++h) PutU16(f, h);        // their handles
  f.push_back(0x04);                                     // enabled correction
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

Bytes Cache(uint16_t config, uint16_t installed, uint16_t supportedSram, uint16_t currentSram,
            const std::vector<std::string>& strings = {"Internal Cache"}, int length = 0x13) {
  Bytes f = {1};
  PutU16(f, config);
  PutU16(f, installed);  // maximum size (not shown)
  PutU16(f, installed);
  PutU16(f, supportedSram);
  PutU16(f, currentSram);
  for (uint8_t b : {0, 5, 3, 5}) f.push_back(b);  // speed, ECC, cache type, associativity
  f.resize(static_cast<size_t>(length) - 4, 0);
  return Structure(7, 7, f, strings, length);
}

Bytes Port(uint8_t internalRef, uint8_t externalRef, uint8_t externalType, uint8_t portType,
           const std::vector<std::string>& strings) {
  return Structure(8, 8, {internalRef, 0xFF, externalRef, externalType, portType}, strings);
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

TEST_F(MemoryAndPorts, PortTableOpenAtTheEndOfTheDumpIsClosedByTheReader) {
  // Read from a dump file: the run of port connectors is the last thing in
  // it, so the reader ends the table.
  const Bytes dump = Dump({}, {Port(1, 2, 0x0F, 0x0D, {"J1", "K"}), Port(0, 0, 0, 0, {})});
  const std::string html = Run(Sink::kHtml, {}, &dump);
  EXPECT_EQ(Count(html, "<h2>\r\nPort Connector Information\r\n</h2>"), 1u);
  EXPECT_EQ(Count(html, "<t>"), Count(html, "</t>"));
  const std::string end = "</tr>\r\n</t>\r\n";
  ASSERT_GE(html.size(), end.size());
  EXPECT_EQ(html.substr(html.size() - end.size()), end);
  // Keys run over both structures of the run.
  Run(Sink::kIni, {}, &dump);
  EXPECT_EQ(Property("szPortConnInf0_IntrnDesigntr"), "J1");
  EXPECT_EQ(Property("szPortConnInf1_IntrnDesigntr"), "<none>");
}

TEST_F(MemoryAndPorts, PortCountersRunOverTheWholeReport) {
  // Two reports in one process (a refresh): the keys of the second go on.
  Ini({Port(1, 0, 0, 0, {"A"})});
  EXPECT_EQ(Property("szPortConnInf0_IntrnDesigntr"), "A");
  bData = 1;
  PrintAll({Port(1, 0, 0, 0, {"B"})});
  EXPECT_EQ(Property("szPortConnInf1_IntrnDesigntr"), "B");
  EXPECT_EQ(ProcessKeyCounters().portConnectors, 2);
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
      {0x3E, {"Unknown", "None", "Single Bit Error Correcting", "Double Bit Error Correcting",
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
      {"not installed", 0x0000, 0x7F, 0x05,
       "\r\n  Current module type\t: Memory not installed", "<none>", "<none>"},
      {"not determinable", 0x0000, 0xFD, 0x03,
       "\r\n  Current module type\t: Installed size not determinable"
       "\r\n  Enabled size\t: 8 MB",
       "<none>", "8"},
      {"installed, not enabled", 0x0400, 0x7E, 0x7E,
       "\r\n  Current module type\t: SDRAM"
       "\r\n  Current module type\t: Module is installed, but no memory has been enabled",
       "<none>", "<none>"},
      {"enabled code without size", 0x0003, 0x03, 0x7D,
       "\r\n  Installed size\t: 8 MB", "8", "<none>"},
  };
  for (const Case& c : cases) {
    const Bytes module = Module(1, 0, c.type, c.installed, c.enabled);
    Ini({module});
    EXPECT_EQ(Property("dwMemModInf0_InstldSzMB"), c.installedKey) << c.name;
    EXPECT_EQ(Property("dwMemModInf0_EnbldSzMB"), c.enabledKey) << c.name;
    EXPECT_EQ(Property("dwMemModInf0_CurrSpdInns"), "<none>") << c.name;
    if (NoEditControl()) continue;
    EXPECT_EQ(Text({module}),
              std::string("\r\n\r\nMemory Module Information \r\n\r\n  Socket type\t: DIMM0") +
                  c.rows)
        << c.name;
  }
}

TEST_F(MemoryAndPorts, CacheConfiguration) {
  struct Case {
    uint16_t config;
    // The window rows, after the colon ("<none>": no type row).
    const char* socketed;
    const char* location;
    const char* status;
    const char* mode;
    // The properties.
    const char* socketedProperty;
    const char* locationProperty;
    const char* statusProperty;
    const char* modeProperty;
  } cases[] = {
      {0x0000, " Not socketed", " Internal", " Disabled at boot time", " Write Through",
       "Not socketed", "Internal", "Disabled at boot time", "Write Through"},
      {0x0188, " Socketed", " Internal", " Enabled at boot time", " Write Back", "Socketed",
       "Internal", "Enabled at boot time", "Write Back"},
      {0x0220, " Not socketed", " External", " Disabled at boot time",
       " Varies with memory address", "Not socketed", "External", "Disabled at boot time",
       "Varies with memory address"},
      {0x0340, " Not socketed", "<none>", " Disabled at boot time", " Unknown",  // reserved
       "Not socketed", "<none>", "Disabled at boot time", "Unknown"},
      {0x03E7, " Not socketed", "<none>", " Enabled at boot time", " Unknown",  // unknown
       "Not socketed", "<none>", "Enabled at boot time", "Unknown"},
  };
  for (const Case& c : cases) {
    const Bytes cache = Cache(c.config, 0x0200, 0x0004, 0x0004);
    Ini({cache});
    // The socketed, status and mode texts end in line breaks, which would
    // reach the property file as blanks; the writer trims them, and the
    // blank every text starts with, so the properties hold the bare texts.
    EXPECT_EQ(Property("szCacheInf0_Config"), c.socketedProperty) << c.config;
    EXPECT_EQ(Property("szCacheInf0_Type"), c.locationProperty) << c.config;
    EXPECT_EQ(Property("szCacheInf0_Status"), c.statusProperty) << c.config;
    EXPECT_EQ(Property("szCacheInf0_OpMode"), c.modeProperty) << c.config;
    if (NoEditControl()) continue;
    const std::string text = Text({cache});
    const std::string location =
        strcmp(c.location, "<none>") == 0 ? "" : std::string("  Type\t:") + c.location;
    EXPECT_NE(text.find(std::string("\r\n  Configuration\t:") + c.socketed + "\r\n" + location +
                        "\r\n  Status\t:" + c.status + "\r\n  Mode\t:" + c.mode + "\r\n"),
              std::string::npos)
        << c.config << text;
  }
}

TEST_F(MemoryAndPorts, CacheSizeAndKeysOfTheSecondCache) {
  struct Case {
    uint16_t installed;
    const char* kb;
  } cases[] = {
      {0x8008, "512"}, {0x0200, "512"}, {0x0000, "0"}, {0xFFFF, "2097088"}, {0x7FFF, "32767"},
  };
  for (const Case& c : cases) {
    Ini({Cache(0x0180, 0x0100, 0, 0, {"L1"}), Cache(0x0181, c.installed, 0, 0, {"L2"})});
    EXPECT_EQ(Property("dwCacheInf0_CacheSzKB"), "256");
    EXPECT_EQ(Property("szCacheInf1_SocTyp"), "L2");
    EXPECT_EQ(Property("dwCacheInf1_CacheSzKB"), c.kb) << c.installed;
  }
}

TEST_F(MemoryAndPorts, SramTypeLists) {
  struct Case {
    uint16_t field;
    const char* supported;  // window text of the supported list
    const char* current;    // and of the current list
    std::vector<std::string> keys;
  } cases[] = {
      // "Other" shows only alone, with a text of its own in each list, but
      // its property is written (and counted) whenever the bit is set.
      {0x0001, "\t Other\r\n\r\n", "Other\r\n", {"Other"}},
      {0x0003, "Unknown\r\n", "Unknown\r\n", {"Other", "Unknown"}},
      {0x0041, "Asynchronous\r\n", "Asynchronous\r\n", {"Other", "Asynchronous"}},
      {0x007C, "Non-Burst\r\nBurst\r\nPipeline Burst\r\nSynchronous\r\nAsynchronous\r\n",
       "Non-Burst\r\nBurst\r\nPipeline Burst\r\nSynchronous\r\nAsynchronous\r\n",
       {"Non-Burst", "Burst", "Pipeline Burst", "Synchronous", "Asynchronous"}},
      {0xFF80, "", "", {}},  // reserved bits
  };
  for (const Case& c : cases) {
    const Bytes cache = Cache(0x0180, 0x0010, c.field, c.field);
    Ini({cache});
    for (size_t i = 0; i <= c.keys.size(); ++i) {
      const std::string expected = i < c.keys.size() ? c.keys[i] : "<none>";
      EXPECT_EQ(Property("szCacheInf0_SuppSRAMType" + std::to_string(i)), expected) << c.field;
      EXPECT_EQ(Property("szCacheInf0_CurrSRAMType" + std::to_string(i)), expected) << c.field;
    }
    if (NoEditControl()) continue;
    const std::string text = Text({cache});
    const std::string lists = std::string("  Supported SRAM type\t:") + c.supported +
                              "  Current SRAM type\t:" + c.current;
    ASSERT_GE(text.size(), lists.size());
    EXPECT_EQ(text.substr(text.size() - lists.size()), lists) << c.field;
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
