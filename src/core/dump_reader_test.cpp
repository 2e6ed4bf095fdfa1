// Reading the dump in property mode (a file on every platform): the header
// checks, the DMI BIOS heading, and where the walk over the records stops.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dump_builder.h"
#include "dump_reader.h"
#include "int_str.h"
#include "platform.h"
#include "qmrkw32.h"
#include "sink_state.h"
#include "test_env.h"

namespace {

Bytes Bios() { return Structure(0, 0, Bytes(14, 0), {"Vendor", "1.0"}); }

class DumpReader : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetReportState();
    InitLanguagesEx(&module_, 0);
    bData = 1;
    snprintf(wnd_data.szOutputFile, sizeof wnd_data.szOutputFile, "%s",
             dir.File("out.ini").c_str());
  }
  void TearDown() override { ResetReportState(); }

  // Result of display_dmi_info on a dump with these bytes.
  int Read(const Bytes& dump) {
    const std::string path = dir.File("dump.bin");
    WriteBytes(path, dump);
    FILE* file = fopen(path.c_str(), "rb");
    const int result = display_dmi_info(file);
    fclose(file);
    return result;
  }
  std::string Property(const char* key) {
    CloseReportFiles();
    char value[64];
    PlatGetPrivateProfileString("Settings", key, "<none>", value, sizeof value,
                                wnd_data.szOutputFile);
    return value;
  }

  TempDir dir;
  char module_ = 0;
};

TEST_F(DumpReader, DetectedWithRevision) {
  EXPECT_EQ(Read(Dump({}, {Bios(), Bios()})), 1);
  EXPECT_EQ(Property("bBIOSDetected"), "1");
  EXPECT_EQ(Property("szBIOSRevision"), "2.3");
  EXPECT_EQ(g_bDMIBIOSRevision, 0x23);
}

TEST_F(DumpReader, MinorVersionKeepsLowBitsInRevisionByte) {
  DumpOptions options;
  options.major = 3;
  options.minor = 17;
  Read(Dump(options, {}));
  EXPECT_EQ(g_bDMIBIOSRevision, 0x31);
  EXPECT_EQ(Property("szBIOSRevision"), "3.17");
}

TEST_F(DumpReader, NotSupportedIgnoresRecords) {
  DumpOptions options;
  options.found = 0;
  Bytes dump = Dump(options, {Bios()});
  dump.resize(dump.size() - 3);  // a cut record would fail if it were read
  EXPECT_EQ(Read(dump), 1);
  EXPECT_EQ(Property("bBIOSDetected"), "0");
  EXPECT_EQ(Property("szBIOSRevision"), "<none>");
}

TEST_F(DumpReader, RejectedDumpsWriteNothing) {
  DumpOptions notWritten;
  notWritten.wroteAllData = 0;
  const Bytes complete = Dump({}, {Bios()});
  struct Case {
    const char* name;
    Bytes dump;
  } cases[] = {
      {"empty file", {}},
      {"header cut short", Bytes(complete.begin(), complete.begin() + 53)},
      {"summary cut short", Bytes(complete.begin(), complete.begin() + 59)},
      {"not written completely", Dump(notWritten, {Bios()})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(c.dump), 0) << c.name;
    EXPECT_EQ(Property("bBIOSDetected"), "<none>") << c.name;
  }
  // A zero buffer size is rejected as well.
  Bytes zeroBuffer = complete;
  zeroBuffer[58] = zeroBuffer[59] = 0;
  EXPECT_EQ(Read(zeroBuffer), 0);
}

TEST_F(DumpReader, WhereTheWalkStops) {
  const Bytes bios = Bios();
  const Bytes complete = Dump({}, {bios, bios});
  DumpOptions exact;
  exact.bufferSize = static_cast<uint16_t>(bios.size());
  DumpOptions tooSmall;
  tooSmall.bufferSize = static_cast<uint16_t>(bios.size() - 1);
  Bytes zeroSize = Dump({}, {bios});
  zeroSize.insert(zeroSize.end(), {0, 0, 0, 0});
  struct Case {
    const char* name;
    Bytes dump;
    int result;
  } cases[] = {
      {"clean end", complete, 1},
      {"end inside a size field", Bytes(complete.begin(), complete.end() - bios.size() - 2), 1},
      {"end inside a structure", Bytes(complete.begin(), complete.end() - 1), 0},
      {"record as large as the buffer", Dump(exact, {bios}), 1},
      {"record one byte larger than the buffer", Dump(tooSmall, {bios}), 0},
      {"record of size 0", zeroSize, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.dump), c.result) << c.name;
}

TEST_F(DumpReader, ShortRecordLeavesNoBytesOfTheRecordBefore) {
  const std::string path = dir.File("records.bin");
  Bytes records;
  PutU32(records, 3);
  records.insert(records.end(), {1, 2, 3});
  WriteBytes(path, records);
  uint8_t buffer[8];
  memset(buffer, 0xAA, sizeof buffer);
  FILE* file = fopen(path.c_str(), "rb");
  int read = 0;
  EXPECT_EQ(ReadDMIStructure(file, &read, buffer, sizeof buffer), 1);
  fclose(file);
  EXPECT_EQ(read, 1);
  const uint8_t expected[8] = {1, 2, 3, 0, 0, 0, 0, 0};
  EXPECT_EQ(memcmp(buffer, expected, sizeof buffer), 0);
}

TEST(Find2Tab, FirstDoubleTabLosesOneTab) {
  char line[] = "a\t\tb\t\tc";
  Find2Tab(line);
  EXPECT_STREQ(line, "a \tb\t\tc");
  char none[] = "a\tb";
  Find2Tab(none);
  EXPECT_STREQ(none, "a\tb");
}

}  // namespace
