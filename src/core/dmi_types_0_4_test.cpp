// Decoding of BIOS, system, base board, enclosure and processor structures in
// the three sinks: window text, HTML table entries and properties.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "decoder_harness.h"
#include "dump_builder.h"

namespace {

// Decodes structures in one sink and returns what that sink got. Each test
// runs in its own directory, where DMI.DAT is read from.
class Decode : public ::testing::Test, public DecoderHarness {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        Start({"*DMICHASSISTYPE", "03H=Desktop", "17H=Rack mount chassis", "*DMIPROCESSORTYPE",
               "03H=Central processor", "*DMIPROCESSORFAMILY", "0BH=Pentium", "FEH=See family 2",
               "104H=SuperH SH-3", "!Undefined family", "*DMIPROCESSORUPGRADE", "04H=ZIF socket",
               // A name longer than 50 characters.
               "05H=" + std::string(50, 'n') + "CUT"}));
  }
  void TearDown() override { EXPECT_TRUE(Stop()); }

  // The window text is decoded from a buffer of the structure's own size,
  // the other sinks from one of capacity_ bytes.
  std::string Run(Sink sink, const Bytes& structure) {
    const size_t capacity = sink == Sink::kText ? 0 : capacity_;
    return DecoderHarness::Run(sink, [&] { DumpState().Print(structure, capacity); });
  }
  std::string Text(const Bytes& structure) { return Run(Sink::kText, structure); }
  std::string Html(const Bytes& structure) { return Run(Sink::kHtml, structure); }
  std::string Ini(const Bytes& structure) { return Run(Sink::kIni, structure); }

  // Size of the structure buffer; the bytes after the structure are garbage.
  size_t capacity_ = 0;
};

// BIOS Information in the SMBIOS 2.3 layout (formatted length 0x13).
Bytes Bios(uint8_t romSize, uint32_t characteristics, const std::vector<std::string>& strings,
           int length = 0x13, uint16_t extendedRomSize = 0) {
  Bytes f = {1, 2};   // vendor, version
  PutU16(f, 0xE800);  // start segment
  f.push_back(3);     // release date
  f.push_back(romSize);
  PutU32(f, characteristics);
  PutU32(f, 0x00000003);  // characteristics 32 to 63 (not shown)
  f.push_back(0x01);      // extension byte 1 (not shown)
  // 2.4 and later: extension byte 2, BIOS and EC releases, extended ROM size.
  for (uint8_t b : {0x00, 0x02, 0x07, 0xFF, 0xFF}) f.push_back(b);
  PutU16(f, extendedRomSize);
  f.resize(static_cast<size_t>(length) - 4, 0);
  return Structure(0, 0, f, strings, length);
}

TEST_F(Decode, BiosInAllThreeSinks) {
  // Bits 3, 9 and 31 have texts; 4 and 7 have none.
  const Bytes bios = Bios(0x07, 0x80000298, {"Award", "4.51 PG", "07/15/99"});
  if (!NoEditControl()) {
    EXPECT_EQ(Text(bios), ExpectedReport("bios.txt"));
  }
  EXPECT_EQ(Html(bios), ExpectedReport("bios.htm"));
  // Characteristics are numbered over the entries written, not by bit.
  EXPECT_EQ(Ini(bios), ExpectedReport("bios.ini"));
}

TEST_F(Decode, BiosRomSize) {
  struct Case {
    const char* name;
    uint8_t romSize;
    int length;
    uint16_t extended;
    const char* expected;
  } cases[] = {
      {"smallest", 0x00, 0x13, 0, "64"},
      {"largest one-byte size", 0xFF, 0x13, 0, "16384"},
      {"extended field present but size not 0xFF", 0x0F, 0x1A, 0x0020, "1024"},
      {"extended size in MB", 0xFF, 0x1A, 0x0020, "32768"},
      {"extended size in GB", 0xFF, 0x1A, 0x4002, "2097152"},
      {"reserved unit keeps the one-byte rule", 0xFF, 0x1A, 0x8020, "16384"},
      {"too large for the row keeps the one-byte rule", 0xFF, 0x1A, 0x4800, "16384"},
      {"length one short of the extended field", 0xFF, 0x19, 0x0020, "16384"},
  };
  for (const Case& c : cases) {
    Ini(Bios(c.romSize, 0, {"V"}, c.length, c.extended));
    EXPECT_EQ(Property("dwBIOSROMSzK"), c.expected) << c.name;
  }
  if (!NoEditControl()) {
    EXPECT_NE(Text(Bios(0xFF, 0, {"V"}, 0x1A, 0x0020)).find("BIOS ROM size\t: 32768K"),
              std::string::npos);
  }
}

TEST_F(Decode, BiosWithOnlyTextlessCharacteristicsKeepsTheSubHeading) {
  const Bytes bios = Bios(0, 0x90, {"V"});
  if (!NoEditControl()) {
    const std::string text = Text(bios);
    const std::string end = "64K\r\n  BIOS characteristics\r\n";
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
  }
  Ini(bios);
  EXPECT_EQ(Property("szBIOSCharacNo0"), "<none>");
}

TEST_F(Decode, FieldsBeyondTheFormattedLengthAreNotRead) {
  // The string numbers of a full structure, but a formatted length that ends
  // early: the bytes past it are the string set, never fields.
  struct Case {
    const char* name;
    int length;
    const char* expected;
  } cases[] = {
      {"header only", 4, "\r\n BIOS Information \r\n\r\n"},
      {"up to the version", 6,
       "\r\n BIOS Information \r\n\r\n  Vendor\t: Award\r\n  BIOS Version\t: 4.51"},
      {"up to the ROM size, no characteristics", 10,
       "\r\n BIOS Information \r\n\r\n  Vendor\t: Award\r\n  BIOS Version\t: 4.51"
       "\r\n  BIOS Start Segm.\t: E800:0000\r\n  BIOS Rel. Date\t: 99\r\n  BIOS ROM size\t: 64K"},
  };
  if (NoEditControl()) return;
  capacity_ = 256;
  for (const Case& c : cases) {
    Bytes f = {1, 2, 0x00, 0xE8, 3, 0};
    f.resize(static_cast<size_t>(c.length) > 4 ? static_cast<size_t>(c.length) - 4 : 0);
    Bytes bios = Structure(0, 0, f, {"Award", "4.51", "99"}, c.length);
    EXPECT_EQ(Text(bios), c.expected) << c.name;
  }
}

TEST_F(Decode, SystemWithOnlyAManufacturerEndsWithoutLineBreak) {
  const Bytes system = Structure(1, 1, {1, 0, 0, 0}, {"X"});
  if (!NoEditControl()) {
    EXPECT_EQ(Text(system), "\r\nSystem Information \r\n\r\n  Manufacturer\t: X");
  }
  EXPECT_EQ(Ini(system), "[Settings]\r\nszSysInf_Manuf=X\r\n");
}

TEST_F(Decode, SystemAndBaseBoardKeys) {
  // SMBIOS 2.3 system information: UUID and wake-up type follow (not shown).
  Bytes fields = {1, 2, 3, 4};
  fields.resize(4 + 16 + 1, 0x11);
  Ini(Structure(1, 1, fields, {"Maker", "Model", "Rev", "SN1"}));
  EXPECT_EQ(Property("szSysInf_Manuf"), "Maker");
  EXPECT_EQ(Property("szSysInf_ProdNm"), "Model");
  EXPECT_EQ(Property("szSysInf_Version"), "Rev");
  EXPECT_EQ(Property("szSysInf_SrlNo"), "SN1");
  const Bytes board = Structure(2, 2, {4, 3, 2, 1}, {"Ser", "Ver", "Prod", "Maker"});
  EXPECT_EQ(Ini(board),
            "[Settings]\r\n"
            "szBsBrdInf_Manuf=Maker\r\nszBsBrdInf_ProdNm=Prod\r\n"
            "szBsBrdInf_Version=Ver\r\nszBsBrdInf_SrlNo=Ser\r\n");
  if (!NoEditControl()) {
    EXPECT_EQ(Text(board),
              "\r\n\r\nBase Board Information \r\n\r\n  Manufacturer\t: Maker"
              "\r\n  Product name\t: Prod\r\n  Version\t: Ver\r\n  Serial number\t: Ser");
  }
}

// Enclosure in the SMBIOS 2.3 layout, without contained elements.
Bytes Enclosure(uint8_t chassisType, const Bytes& strings4to8,
                const std::vector<std::string>& strings) {
  Bytes f = {
      strings4to8[0], chassisType, strings4to8[1], strings4to8[2], strings4to8[3], 3, 3, 3, 3};
  PutU32(f, 0);    // OEM-defined
  f.push_back(0);  // height
  f.push_back(1);  // power cords
  f.push_back(0);  // contained element count
  f.push_back(3);  // element record length
  return Structure(3, 3, f, strings);
}

TEST_F(Decode, EnclosureChassisTypeAndEmptyStrings) {
  // Version is an empty string (string 1 of an empty set is the only way to
  // get one, so the manufacturer is missing here).
  const Bytes lockedDesktop = Enclosure(0x83, {0, 1, 0, 0}, {});
  if (!NoEditControl()) {
    EXPECT_EQ(Text(lockedDesktop),
              "\r\n\r\nSystem Enclosure or Chassis \r\n\r\n\r\n  Chassis type\t: Desktop");
  }
  EXPECT_EQ(Ini(lockedDesktop), "[Settings]\r\nszSysEnclOrChass_ChassType=Desktop\r\n");
  const Bytes full = Enclosure(0x17, {1, 2, 3, 4}, {"Maker", "V2", "C-9", "Asset 7"});
  EXPECT_EQ(Ini(full),
            "[Settings]\r\n"
            "szSysEnclOrChass_Manuf=Maker\r\n"
            "szSysEnclOrChass_ChassType=Rack mount chassis\r\n"
            "szSysEnclOrChass_Version=V2\r\n"
            "szSysEnclOrChass_SrlNo=C-9\r\n"
            "szSysEnclOrChass_AssetTgNo=Asset 7\r\n");
  // A type the table does not name gives no row.
  EXPECT_EQ(Ini(Enclosure(0x7F, {0, 0, 0, 0}, {})), "");
}

struct ProcessorFields {
  uint8_t type = 3;
  uint8_t family = 0x0B;
  uint32_t idLow = 0x00000683;
  uint32_t idHigh = 0x0383F9FF;
  uint8_t voltage = 0x8C;
  uint16_t externalClock = 100;
  uint16_t maxSpeed = 1000;
  uint16_t currentSpeed = 933;
  uint8_t status = 0x41;
  uint8_t upgrade = 4;
  int length = 0x23;  // SMBIOS 2.3
  uint16_t family2 = 0;
};

Bytes Processor(const ProcessorFields& p) {
  Bytes f = {1, p.type, p.family, 2};
  PutU32(f, p.idLow);
  PutU32(f, p.idHigh);
  f.push_back(3);  // version
  f.push_back(p.voltage);
  PutU16(f, p.externalClock);
  PutU16(f, p.maxSpeed);
  PutU16(f, p.currentSpeed);
  f.push_back(p.status);
  f.push_back(p.upgrade);
  for (int i = 0; i < 3; ++i) PutU16(f, 0xFFFF);  // cache handles
  f.push_back(0);                                 // serial number, asset tag, part number (2.3)
  f.push_back(0);
  f.push_back(0);
  // 2.5 and later: core and thread counts, characteristics, family 2.
  for (int i = 0; i < 3; ++i) f.push_back(1);
  PutU16(f, 0x0004);
  PutU16(f, p.family2);
  f.resize(static_cast<size_t>(p.length) - 4, 0);
  return Structure(4, 4, f, {"Slot 1", "GenuineMaker", "Pentium III"}, p.length);
}

TEST_F(Decode, ProcessorInAllThreeSinks) {
  const Bytes cpu = Processor({});
  if (!NoEditControl()) {
    EXPECT_EQ(Text(cpu), ExpectedReport("processor.txt"));
  }
  EXPECT_EQ(Html(cpu), ExpectedReport("processor.htm"));
  EXPECT_EQ(Ini(cpu), ExpectedReport("processor.ini"));
}

TEST_F(Decode, ProcessorVoltage) {
  struct Case {
    uint8_t voltage;
    const char* text;
    int htmlEntries;
    const char* property;
  } cases[] = {
      {0x8C, "\r\n  Supported Voltage\t: 1.2V ", 1, "1.2V"},
      {0xA1, "\r\n  Supported Voltage\t: 3.3V ", 1, "3.3V"},
      {0x80, "\r\n  Supported Voltage\t: 0.0V ", 1, "0.0V"},
      // Legacy flags: one entry per flag; the property keeps the last one.
      {0x06, "\r\n  Supported Voltage\t: 3.3V 2.9V ", 2, "2.9V"},
      {0x07, "\r\n  Supported Voltage\t: 5V 3.3V 2.9V ", 3, "2.9V"},
      {0x01, "\r\n  Supported Voltage\t: 5V ", 1, "5V"},
      {0x00, "\r\n  Supported Voltage\t: ", 0, "<none>"},
      {0x78, "\r\n  Supported Voltage\t: ", 0, "<none>"},  // reserved bits only
  };
  for (const Case& c : cases) {
    ProcessorFields p;
    p.voltage = c.voltage;
    p.externalClock = 0;  // so that the voltage is followed by the status row
    p.maxSpeed = p.currentSpeed = 0;
    const Bytes cpu = Processor(p);
    if (!NoEditControl()) {
      const std::string text = Text(cpu);
      const std::string expected = std::string(c.text) + "\r\n  Status\t: CPU Enabled";
      EXPECT_NE(text.find(expected), std::string::npos) << int(c.voltage) << "\n" << text;
    }
    const std::string html = Html(cpu);
    const int entries = static_cast<int>(Count(html, "<lh>Supported Voltage</lh>"));
    EXPECT_EQ(entries, c.htmlEntries) << int(c.voltage);
    Ini(cpu);
    EXPECT_EQ(Property("szProcInf_SuppVltg"), c.property) << int(c.voltage);
  }
}

TEST_F(Decode, ProcessorStatus) {
  struct Case {
    uint8_t status;
    const char* socket;
    const char* cpu;  // the window row, after the colon
    const char* cpuProperty;
  } cases[] = {
      {0x41, "Socket populated", " CPU Enabled", "CPU Enabled"},
      {0x05, "Socket unpopulated", " Unknown", "Unknown"},
      {0x42, "Socket populated", " CPU Disabled by User", "CPU Disabled by User"},
      {0x43, "Socket populated", " CPU Disabled by System BIOS", "CPU Disabled by System BIOS"},
      {0x44, "Socket populated", " CPU is Idle", "CPU is Idle"},
      {0x40, "Socket populated", " Unknown", "Unknown"},
      {0xBF, "Socket unpopulated", " Unknown", "Unknown"},
  };
  for (const Case& c : cases) {
    ProcessorFields p;
    p.status = c.status;
    const Bytes cpu = Processor(p);
    Ini(cpu);
    EXPECT_EQ(Property("szProcInf_SocStatus"), c.socket) << int(c.status);
    EXPECT_EQ(Property("szProcInf_Status"), c.cpuProperty) << int(c.status);
    if (!NoEditControl()) {
      const std::string text = Text(cpu);
      EXPECT_NE(text.find(std::string("\r\n  Status\t:") + c.cpu + "\r\n  CPU upgrade"),
                std::string::npos)
          << text;
    }
  }
}

TEST_F(Decode, ProcessorSpeedsOnlyWhenGiven) {
  ProcessorFields p;
  p.externalClock = 0;
  Ini(Processor(p));
  EXPECT_EQ(Property("dwProcInf_ExtrnClckMHz"), "<none>");
  EXPECT_EQ(Property("dwProcInf_MaxSpdMHz"), "1000");
  EXPECT_EQ(Property("dwProcInf_CurrSpdMHz"), "933");
  p.maxSpeed = p.currentSpeed = 0;
  p.externalClock = 66;
  if (!NoEditControl()) {
    const std::string text = Text(Processor(p));
    EXPECT_NE(text.find("External clock\t: 66 MHz"), std::string::npos);
    EXPECT_EQ(text.find("Speed"), std::string::npos);
    EXPECT_EQ(text.find("speed"), std::string::npos);
  }
}

TEST_F(Decode, ProcessorFamilyAndNames) {
  struct Case {
    const char* name;
    uint8_t family;
    int length;
    uint16_t family2;
    const char* expected;
  } cases[] = {
      {"one-byte family", 0x0B, 0x23, 0x0104, "Pentium"},
      {"family 2 field used when marked", 0xFE, 0x2A, 0x0104, "SuperH SH-3"},
      {"family 2 field beyond the length", 0xFE, 0x28, 0x0104, "See family 2"},
      {"family 2 ignored unless marked", 0x0B, 0x2A, 0x0104, "Pentium"},
      {"unnamed code gets the default", 0x77, 0x23, 0, "Undefined family"},
  };
  for (const Case& c : cases) {
    ProcessorFields p;
    p.family = c.family;
    p.length = c.length;
    p.family2 = c.family2;
    Ini(Processor(p));
    EXPECT_EQ(Property("szProcInf_ProcFamily"), c.expected) << c.name;
  }
  // Names are cut to 50 characters; a code without name gives no row.
  ProcessorFields p;
  p.upgrade = 5;
  p.type = 9;
  Ini(Processor(p));
  EXPECT_EQ(Property("szProcInf_CPUUpgrade"), std::string(50, 'n'));
  EXPECT_EQ(Property("szProcInf_ProcType"), "<none>");
}

TEST_F(Decode, ProcessorIdOrder) {
  ProcessorFields p;
  p.idLow = 0xabcdef01;
  p.idHigh = 0x2;
  Ini(Processor(p));
  EXPECT_EQ(Property("szProcInf_ProcID"), "ABCDEF01H 00000002H");
}

TEST_F(Decode, ProcessorWithoutDmiDatShowsNoNames) {
  remove("DMI.DAT");
  Ini(Processor({}));
  EXPECT_EQ(Property("szProcInf_ProcType"), "<none>");
  EXPECT_EQ(Property("szProcInf_ProcFamily"), "<none>");
  EXPECT_EQ(Property("szProcInf_CPUUpgrade"), "<none>");
  EXPECT_EQ(Property("szProcInf_Version"), "Pentium III");
}

}  // namespace
