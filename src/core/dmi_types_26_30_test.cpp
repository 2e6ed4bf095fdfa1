// Decoding of voltage, temperature and current probes, cooling devices and
// out-of-band remote access in the three sinks.
#include "dmi_types_26_30.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_harness.h"
#include "dump_builder.h"
#include "int_str.h"
#include "platform.h"

namespace {

struct ProbeFields {
  uint8_t description = 1;
  uint8_t locationAndStatus = 0x63;
  uint16_t maximum = 0x8000;
  uint16_t minimum = 0x8000;
  uint16_t resolution = 0x8000;
  uint16_t tolerance = 0x8000;
  uint16_t accuracy = 0x8000;
  uint32_t oem = 0;
  int length = 0x16;  // SMBIOS 2.7: the nominal value follows (not shown)
};

Bytes Probe(uint8_t type, uint16_t handle, const ProbeFields& p,
            const std::vector<std::string>& strings) {
  Bytes f = {p.description, p.locationAndStatus};
  for (uint16_t w : {p.maximum, p.minimum, p.resolution, p.tolerance, p.accuracy}) PutU16(f, w);
  PutU32(f, p.oem);
  PutU16(f, 0x8000);  // nominal value
  f.resize(static_cast<size_t>(p.length > 4 ? p.length - 4 : 0), 0);
  return Structure(type, handle, f, strings, p.length);
}

Bytes Cooling(uint16_t handle, uint16_t probe, uint8_t typeAndStatus, uint8_t group, uint32_t oem,
              int length = 0x0F) {
  Bytes f;
  PutU16(f, probe);
  f.push_back(typeAndStatus);
  f.push_back(group);
  PutU32(f, oem);
  PutU16(f, 0x8000);  // nominal speed (2.7, not shown)
  f.push_back(1);     // description (2.7, not shown)
  f.resize(static_cast<size_t>(length - 4), 0);
  return Structure(27, handle, f, {"Cooling Dev 1"}, length);
}

Bytes RemoteAccess(uint8_t connections, int length = 6) {
  Bytes f = {1, connections};
  f.resize(static_cast<size_t>(length - 4), 0);
  return Structure(30, 0x50, f, {"Intel"}, length);
}

// What one sink got (empty text for the window on Windows, where there is
// no emulated edit control).
class Types26To30 : public ::testing::Test, public DecoderHarness {
 protected:
  Types26To30() { noEditControlText = ""; }
  void SetUp() override { Start(); }
  void TearDown() override { Stop(); }
  using DecoderHarness::Run;  // not the framework's own Run

  // One structure, in a buffer of capacity bytes whose tail is garbage.
  std::string Print(Sink sink, const Bytes& structure, size_t capacity = 0) {
    return Run(sink, [&] { DumpState().Print(structure, capacity); });
  }
};

// What follows marker in text (the whole text when the marker is missing,
// so that a failure shows it).
std::string From(const std::string& text, const std::string& marker) {
  const size_t at = text.find(marker);
  return at == std::string::npos ? text : text.substr(at);
}

// A server board's sensors as its firmware lists them, read from a whole
// dump: probes, two cooling devices (one without a probe) and remote access.
TEST_F(Types26To30, ServerBoardDumpInAllThreeSinks) {
  ProbeFields vcore;
  vcore.maximum = 1850, vcore.minimum = 800, vcore.resolution = 40, vcore.tolerance = 25;
  vcore.accuracy = 150;
  ProbeFields cpuTemp;
  cpuTemp.maximum = 1000, cpuTemp.minimum = 0xFE70 /* -40.0 */, cpuTemp.resolution = 500;
  cpuTemp.tolerance = 30, cpuTemp.oem = 0x12AB34CD;
  ProbeFields psuCurrent;
  psuCurrent.locationAndStatus = 0x6A, psuCurrent.minimum = 0, psuCurrent.resolution = 10;
  const Bytes dump =
      Dump({}, {Probe(26, 0x3F, vcore, {"Vcore"}), Probe(28, 0x42, cpuTemp, {"CPU Temp"}),
                Cooling(0x45, 0x0042, 0x65, 1, 0), Cooling(0x48, 0xFFFF, 0x11, 0, 0xFFFFFFFF),
                Probe(29, 0x4B, psuCurrent, {"PSU"}), RemoteAccess(1), Structure(127, 0xFFFF, {})});
  const std::string path = dir.File("dump.bin");
  ASSERT_TRUE(WriteBytes(path, dump));
  const auto read = [&] { ASSERT_TRUE(ReadDumpFile(path)); };
#ifndef _WIN32
  EXPECT_EQ(From(Run(Sink::kText, read), "\r\n\r\n Voltage"), ExpectedReport("server_board.txt"));
#endif
  EXPECT_EQ(From(Run(Sink::kHtml, read), "<h2>\r\n\r\n Voltage"),
            ExpectedReport("server_board.htm"));
  // Every key is a fixed text: the second cooling device overwrites the first.
  EXPECT_EQ(From(Run(Sink::kIni, read), "szVoltProbDesc"), ExpectedReport("server_board.ini"));
}

TEST_F(Types26To30, LocationAndStatusOfEveryProbeKind) {
  struct Case {
    uint8_t locationAndStatus;
    const char* location;
    const char* status;
  } cases[] = {
      {0x63, "Processor", "OK"},
      {0xE0, "0", "7"},  // no texts for location 0 and status 7
      {0x21, "Other", "Other"},
      {0x4B, "Add-in Card", "Unknown"},
      {0x8C, "12", "Non-critical"},
      {0xBF, "31", "Critical"},
      {0xCA, "Power Unit", "Non-recoverable"},
      {0x07, "Motherboard", "0"},
  };
  struct Kind {
    uint8_t type;
    const char* location;
    const char* status;
  } kinds[] = {{26, "szVoltProbLoc", "szVoltProbStat"},
               {28, "szTempProbLoc", "szTempProbStat"},
               {29, "szCurrProbLoc", "szCurrProbStat"}};
  for (const Kind& k : kinds) {
    for (const Case& c : cases) {
      ProbeFields p;
      p.locationAndStatus = c.locationAndStatus;
      Print(Sink::kIni, Probe(k.type, 1, p, {"P"}));
      EXPECT_EQ(Property(k.location), c.location) << int(k.type) << " " << int(c.locationAndStatus);
      EXPECT_EQ(Property(k.status), c.status) << int(k.type) << " " << int(c.locationAndStatus);
    }
  }
}

TEST_F(Types26To30, ReadingsUnknownOnlyWhere0x8000) {
  // One reading at a time is unknown; its neighbours keep their values.
  struct Case {
    uint8_t type;
    const char* prefix;
    const char* values[5];  // maximum, minimum, resolution, tolerance, accuracy
    // clang-format off
  } cases[] = {
      {26, "szVoltProb", {"12000 mV", "0 mV", "65535/10 of a mV", "+/- 1 mV",
                          "+/- 32767/100 of a percent"}},
      {28, "szTempProb", {"1200.0 degrees C", "0.0 degrees C", "65.535 degrees C",
                          "0.1 degrees C", "+/- 32767/100 of a percent"}},
      {29, "szCurrProb", {"12000 mA", "0 mA", "65535/10 mA", "+/- 1 mA",
                          "+/- 32767/100 of a percent"}},
  };
  // clang-format on
  const char* const keys[5] = {"MaxVal", "MinVal", "Res", "Tol", "Acc"};
  for (const Case& c : cases) {
    for (int unknown = 0; unknown < 5; ++unknown) {
      ProbeFields p;
      p.maximum = 12000, p.minimum = 0, p.resolution = 0xFFFF, p.tolerance = 1;
      p.accuracy = 0x7FFF;
      uint16_t* fields[5] = {&p.maximum, &p.minimum, &p.resolution, &p.tolerance, &p.accuracy};
      *fields[unknown] = 0x8000;
      Print(Sink::kIni, Probe(c.type, 1, p, {"P"}));
      for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Property((std::string(c.prefix) + keys[i]).c_str()),
                  i == unknown ? "Unknown" : c.values[i])
            << int(c.type) << " " << keys[i] << " with " << keys[unknown] << " unknown";
      }
    }
  }
}

TEST_F(Types26To30, TemperatureLimitsAreSignedWidthsAreNot) {
  ProbeFields p;
  p.maximum = 0xFFFF;    // -0.1
  p.minimum = 0x8001;    // the lowest known reading
  p.tolerance = 0xFFFF;  // a width: 6553.5
  p.resolution = 1;
  Print(Sink::kIni, Probe(28, 1, p, {"T"}));
  EXPECT_EQ(Property("szTempProbMaxVal"), "-0.1 degrees C");
  EXPECT_EQ(Property("szTempProbMinVal"), "-3276.7 degrees C");
  EXPECT_EQ(Property("szTempProbTol"), "6553.5 degrees C");
  EXPECT_EQ(Property("szTempProbRes"), "0.001 degrees C");
}

TEST(FormatTemperature, FractionFollowsTheFormatsNumber) {
  struct Case {
    const char* format;
    long value;
    int decimals;
    const char* expected;
  } cases[] = {
      {"%u degrees C", 255, 1, "25.5 degrees C"},
      {"%u degrees C", 250, 1, "25.0 degrees C"},
      {"%u degrees C", 5, 1, "0.5 degrees C"},
      {"%u degrees C", -105, 1, "-10.5 degrees C"},
      {"%u degrees C", 1005, 3, "1.005 degrees C"},
      {"%u degrees C", 0, 3, "0.000 degrees C"},
      {"%u degrees C", 42, 0, "42 degrees C"},
      // A site's replacement text: prefix, escaped percent signs, widths.
      {"Temp. %d C (100%%)", 371, 1, "Temp. 37.1 C (100%)"},
      {"%%: %3i", 15, 1, "%:   1.5"},
      {"%u", 65535, 3, "65.535"},
      // Conversions that cannot take a fraction get whole degrees.
      {"%X deg", 255, 1, "19 deg"},
      // Not exactly one number: the text as it stands.
      {"%s degrees", 255, 1, "%s degrees"},
      {"%u to %u degrees", 255, 1, "%u to %u degrees"},
      {"degrees", 255, 1, "degrees"},
      {"%lu degrees", 255, 1, "%lu degrees"},
  };
  for (const Case& c : cases) {
    char out[64];
    FormatTemperature(out, sizeof out, c.format, c.value, c.decimals);
    EXPECT_STREQ(out, c.expected) << c.format << " " << c.value;
  }
  // Cut to the buffer, never past it.
  char small[6] = "xxxxx";
  FormatTemperature(small, sizeof small, "%u degrees C", 255, 1);
  EXPECT_STREQ(small, "25.5 ");
}

TEST_F(Types26To30, CoolingDeviceTypesStatusAndHandle) {
  struct Case {
    uint8_t typeAndStatus;
    const char* type;
    const char* status;
  } cases[] = {
      {0x61, "Other", "OK"},
      {0x22, "Unknown", "Other"},
      {0x83, "Fan", "Non-critical"},
      {0xA4, "Centrifugal Blower", "Critical"},
      {0xC7, "Power Supply Fan", "Non-recoverable"},
      {0x49, "Integrated Refrigeration", "Unknown"},
      {0x0A, "10", "0"},  // 10 to 15 have no text
      {0x0F, "15", "0"},
      {0x70, "Active Cooling", "OK"},
      {0xF1, "Passive Cooling", "7"},
      {0x12, "18", "0"},
      {0x00, "0", "0"},
  };
  for (const Case& c : cases) {
    Print(Sink::kIni, Cooling(1, 0, c.typeAndStatus, 0, 0));
    EXPECT_EQ(Property("szCoolDevType"), c.type) << int(c.typeAndStatus);
    EXPECT_EQ(Property("szCoolDevStat"), c.status) << int(c.typeAndStatus);
    EXPECT_EQ(Property("szCoolDevTmpProbHand"), "0000H");
  }
  Print(Sink::kIni, Cooling(1, 0xFFFE, 0x63, 255, 0x0BADF00D));
  EXPECT_EQ(Property("szCoolDevTmpProbHand"), "FFFEH");
  EXPECT_EQ(Property("szCoolDevUnitGrp"), "255");
  EXPECT_EQ(Property("szCoolDevOEMNo"), "0BADF00DH");
}

TEST_F(Types26To30, RemoteAccessConnections) {
  struct Case {
    uint8_t connections;
    const char* inbound;
    const char* outbound;
  } cases[] = {
      {0, "Disabled", "Disabled"}, {1, "Enabled", "Disabled"},     {2, "Disabled", "Enabled"},
      {3, "Enabled", "Enabled"},   {0xFC, "Disabled", "Disabled"},
  };
  for (const Case& c : cases) {
    Print(Sink::kIni, RemoteAccess(c.connections));
    EXPECT_EQ(Property("szOutOfBndInbound"), c.inbound) << int(c.connections);
    EXPECT_EQ(Property("szOutOfBndOutbound"), c.outbound) << int(c.connections);
  }
#ifndef _WIN32
  EXPECT_EQ(Print(Sink::kText, RemoteAccess(2)),
            "\r\n\r\n Out-of-band Remote Access \r\n\r\nManufacturer Name\t: Intel\r\n"
            "Connections\r\nInbound\t: Disabled\r\nOutbound\t: Enabled\r\n");
#endif
  // The heading has no property of its own; a missing name string leaves its
  // row out and nothing else.
  Bytes noName = RemoteAccess(3);
  noName[4] = 0;
  EXPECT_EQ(Print(Sink::kIni, noName),
            "[Settings]\r\nszOutOfBndInbound=Enabled\r\nszOutOfBndOutbound=Enabled\r\n");
}

TEST_F(Types26To30, RowsBeyondAShortFormattedAreaAreLeftOut) {
  // Full string numbers and readings, but a formatted length that ends early;
  // the buffer goes on with garbage, which must never show.
  struct Case {
    const char* name;
    Bytes structure;
    const char* properties;
  } cases[] = {
      {"probe, header only", Probe(26, 1, {1, 0x63, 1, 2, 3, 4, 5, 6, 4}, {"V"}), ""},
      {"probe up to its location", Probe(29, 1, {1, 0x63, 1, 2, 3, 4, 5, 6, 6}, {"C"}),
       "szCurrProbDesc=C\r\nszCurrProbLoc=Processor\r\nszCurrProbStat=OK\r\n"},
      {"probe without the OEM number", Probe(28, 1, {0, 0x63, 1, 2, 3, 4, 5, 6, 0x13}, {}),
       "szTempProbLoc=Processor\r\nszTempProbStat=OK\r\nszTempProbMaxVal=0.1 degrees C\r\n"
       "szTempProbMinVal=0.2 degrees C\r\nszTempProbRes=0.003 degrees C\r\n"
       "szTempProbTol=0.4 degrees C\r\nszTempProbAcc=+/- 5/100 of a percent\r\n"},
      {"SMBIOS 2.3 voltage probe", Probe(26, 1, {0, 0x63, 1, 2, 3, 4, 5, 6, 0x14}, {}),
       "szVoltProbLoc=Processor\r\nszVoltProbStat=OK\r\nszVoltProbMaxVal=1 mV\r\n"
       "szVoltProbMinVal=2 mV\r\nszVoltProbRes=3/10 of a mV\r\nszVoltProbTol=+/- 4 mV\r\n"
       "szVoltProbAcc=+/- 5/100 of a percent\r\nszVoltProbOEMNo=00000006H\r\n"},
      {"cooling device up to its probe handle", Cooling(1, 0x42, 0x63, 1, 7, 6),
       "szCoolDevTmpProbHand=0042H\r\n"},
      {"SMBIOS 2.3 cooling device", Cooling(1, 0x42, 0x63, 1, 7, 0x0C),
       "szCoolDevTmpProbHand=0042H\r\nszCoolDevType=Fan\r\nszCoolDevStat=OK\r\n"
       "szCoolDevUnitGrp=1\r\nszCoolDevOEMNo=00000007H\r\n"},
      {"remote access without connections", RemoteAccess(3, 5), "szOutOfBndManuName=Intel\r\n"},
  };
  for (const Case& c : cases) {
    std::string ini = Print(Sink::kIni, c.structure, 256);
    const std::string section = "[Settings]\r\n";
    if (ini.compare(0, section.size(), section) == 0) ini.erase(0, section.size());
    EXPECT_EQ(ini, c.properties) << c.name;
  }
#ifndef _WIN32
  EXPECT_EQ(Print(Sink::kText, RemoteAccess(3, 5), 256),
            "\r\n\r\n Out-of-band Remote Access \r\n\r\nManufacturer Name\t: Intel\r\n");
  EXPECT_EQ(Print(Sink::kText, Probe(26, 1, {1, 0x63, 1, 2, 3, 4, 5, 6, 4}, {"V"}), 256),
            "\r\n\r\n Voltage Probe \r\n\r\n");
#endif
  EXPECT_EQ(Print(Sink::kHtml, Cooling(1, 0x42, 0x63, 1, 7, 4), 256),
            "<h2>\r\n\r\n Cooling Device \r\n\r\n</h2>\r\n<t>\r\n</t>\r\n");
}

// Real tables, as dmidecode --dump-bin saves them (the structure table from
// offset 32 on), kept beside the repository and not in it: the test is
// skipped where they are absent. Expected values as dmidecode reads the same
// structures; codes without a name there are shown here as their numbers.
TEST_F(Types26To30, RealTables) {
  const std::string source = __FILE__;
  const std::string corpus = source.substr(0, source.rfind("src/core/")) + "../shared/corpus/";
  const char* const server = "supermicro-x9dbl-server-smbios27.bin";
  const char* const virtualMachine = "vmware-virtual-smbios27.bin";
  struct Case {
    const char* table;
    uint16_t handle;
    const char* key;
    const char* expected;
  } cases[] = {
      {server, 0x3F, "szVoltProbDesc", "LM78A"},
      {server, 0x3F, "szVoltProbLoc", "0"},
      {server, 0x3F, "szVoltProbMaxVal", "Unknown"},
      {server, 0x42, "szTempProbOEMNo", "00000000H"},
      {server, 0x45, "szCoolDevTmpProbHand", "0042H"},
      {server, 0x45, "szCoolDevType", "18"},
      {server, 0x69, "szCoolDevType", "Power Supply Fan"},
      {server, 0x69, "szCoolDevStat", "OK"},
      {server, 0x6A, "szCurrProbLoc", "Power Unit"},
      {virtualMachine, 0x267, "szOutOfBndManuName", "Intel"},
      {virtualMachine, 0x267, "szOutOfBndInbound", "Enabled"},
      {virtualMachine, 0x267, "szOutOfBndOutbound", "Disabled"},
  };
  for (const Case& c : cases) {
    const Bytes table = ReadBytes(corpus + c.table);
    if (table.empty()) GTEST_SKIP() << "no tables in " << corpus;
    // Walk to the structure with the handle: formatted area, then the
    // string set up to its double NUL.
    Bytes structure;
    for (size_t at = 32; at + 4 <= table.size();) {
      size_t end = at + table[at + 1];
      while (end + 1 < table.size() && (table[end] != 0 || table[end + 1] != 0)) ++end;
      if (end + 1 >= table.size()) break;
      if (table[at + 2] + 256u * table[at + 3] == c.handle) {
        structure.assign(table.begin() + static_cast<long>(at),
                         table.begin() + static_cast<long>(end + 2));
        break;
      }
      at = end + 2;
    }
    ASSERT_FALSE(structure.empty()) << c.table << " " << c.handle;
    Print(Sink::kIni, structure);
    EXPECT_EQ(Property(c.key), c.expected) << c.table << " " << c.handle << " " << c.key;
  }
}

TEST_F(Types26To30, OtherLanguagesWriteNothing) {
  const Bytes structures[] = {Probe(26, 1, {}, {"V"}), Cooling(2, 1, 0x63, 1, 0),
                              Probe(28, 3, {}, {"T"}), Probe(29, 4, {}, {"C"}), RemoteAccess(3)};
  for (int language : {4, 15}) {
    for (const Bytes& s : structures) {
      for (Sink sink : {Sink::kText, Sink::kHtml, Sink::kIni}) {
        InitLanguagesEx(PlatProgramModule(), language);
        EXPECT_EQ(Print(sink, s), "") << int(s[0]) << " in language " << language;
      }
    }
  }
}

}  // namespace
