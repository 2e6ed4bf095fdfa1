// Decoding of cache and port connector structures in the three sinks: window
// text, HTML table entries and properties.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dump_builder.h"
#include "memory_and_ports_test.h"

namespace {

using namespace memory_and_ports;

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
      {0x007C,
       "Non-Burst\r\nBurst\r\nPipeline Burst\r\nSynchronous\r\nAsynchronous\r\n",
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

}  // namespace
