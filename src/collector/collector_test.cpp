#include "collector.h"

#include <gtest/gtest.h>

#include "probex.h"
#include "test_files.h"
#include "test_tables.h"

namespace {

const TestBytes kTable = Concat({Structure(0, {1, 2, 0, 0xF0, 3, 0x0F}, {"Vendor", "1.0"}),
                                 Structure(4, TestBytes(0x10), {"CPU"}), Structure(127, {})});

TestBytes SavedFile(const TestBytes& entry, const TestBytes& table) {
  TestBytes file = entry;
  file.resize(32, 0);
  file.insert(file.end(), table.begin(), table.end());
  return file;
}

// Firmware stand-ins; the one in use is chosen per test through these.
FirmwareTables gFirmware;
int gFirmwareReads = 0;
FirmwareTables FakeFirmware() {
  ++gFirmwareReads;
  return gFirmware;
}

struct Outcome {
  int exit = -1;
  TestBytes dump;
  std::string messages;
  bool complete() const { return dump.size() >= kFileHeaderSize && (dump[52] | dump[53]) != 0; }
  int found() const { return dump.size() >= 56 ? dump[54] : -1; }
  int major() const { return dump.size() >= 57 ? dump[56] : -1; }
  int minor() const { return dump.size() >= 58 ? dump[57] : -1; }
  // Number of structure records, counted by their size prefixes.
  size_t records() const {
    const ByteView view = View(dump);
    size_t n = 0;
    for (size_t at = kFileHeaderSize + kSummaryInfoSize; view.Has(at, 4); at += 4 + view.U32(at))
      ++n;
    return n;
  }
};

class Collector : public ::testing::Test {
 protected:
  void SetUp() override {
    gFirmware = FirmwareTables{};
    gFirmwareReads = 0;
    settings.dumpPath = ScratchPath("dump");
    settings.readFirmware = FakeFirmware;
    ASSERT_TRUE(WriteFile(settings.dumpPath, {}));  // as the viewer leaves it
  }
  void TearDown() override {
    remove(settings.dumpPath.c_str());
    remove(ScratchPath("saved").c_str());
  }

  void UseSaved(const TestBytes& file) {
    settings.savedTablePath = ScratchPath("saved");
    ASSERT_TRUE(WriteFile(settings.savedTablePath, file));
  }

  Outcome Run() {
    Outcome o;
    FILE* messages = tmpfile();
    settings.messages = messages;
    o.exit = RunCollector(settings);
    if (messages) {
      rewind(messages);
      int c;
      while ((c = fgetc(messages)) != EOF) o.messages += static_cast<char>(c);
      fclose(messages);
    }
    o.dump = ReadFile(settings.dumpPath);
    return o;
  }

  CollectorSettings settings;
};

TEST_F(Collector, SavedTableIsReportedAndFirmwareLeftAlone) {
  UseSaved(SavedFile(EntryPoint3(static_cast<uint32_t>(kTable.size()), 32), kTable));
  gFirmware.state = FirmwareTables::State::kUnreadable;
  const Outcome o = Run();
  EXPECT_EQ(o.exit, kExitComplete) << o.messages;
  EXPECT_TRUE(o.complete());
  EXPECT_EQ(o.found(), 1);
  EXPECT_EQ(o.major(), 3);
  EXPECT_EQ(o.minor(), 2);
  EXPECT_EQ(o.records(), 3u);
  EXPECT_EQ(o.messages, "");
  EXPECT_EQ(gFirmwareReads, 0);
}

// Saved tables that must not give a dump marked complete: exit code 3, the
// dump file left as the viewer made it, and a message naming the file.
TEST_F(Collector, UnusableSavedTablesLeaveTheDumpIncomplete) {
  const uint16_t n = static_cast<uint16_t>(kTable.size());
  const struct {
    const char* name;
    TestBytes file;
    const char* message;
  } cases[] = {
      {"garbage", TestBytes(100, 0x5A), "no SMBIOS entry point"},
      {"truncated 2.x",
       SavedFile(EntryPoint2(n, 32), TestBytes(kTable.begin(), kTable.begin() + 3)), "cut short"},
      {"table past the file", SavedFile(EntryPoint2(n, 4096), kTable), "past the end"},
      {"zero-length table", SavedFile(EntryPoint2(0, 32), kTable), "length of 0"},
      {"no structure", SavedFile(EntryPoint2(4, 32), {0, 0, 0, 0}), "no readable structure"},
      {"empty file", {}, "empty"},
  };
  for (const auto& c : cases) {
    UseSaved(c.file);
    ASSERT_TRUE(WriteFile(settings.dumpPath, {}));
    const Outcome o = Run();
    EXPECT_EQ(o.exit, kExitSavedTableBad) << c.name;
    EXPECT_FALSE(o.complete()) << c.name;
    EXPECT_NE(o.messages.find(c.message), std::string::npos) << c.name << ": " << o.messages;
    EXPECT_NE(o.messages.find("probex: " + settings.savedTablePath), std::string::npos) << c.name;
  }
}

TEST_F(Collector, MissingSavedTableIsAnErrorNotAFallback) {
  settings.savedTablePath = ScratchPath("absent");
  gFirmware.state = FirmwareTables::State::kAbsent;
  const Outcome o = Run();
  EXPECT_EQ(o.exit, kExitSavedTableBad);
  EXPECT_FALSE(o.complete());
  EXPECT_NE(o.messages.find(kSavedTableVariable), std::string::npos) << o.messages;
}

TEST_F(Collector, ZeroPaddingAfterTheLastStructureIsNoFault) {
  const TestBytes table = Concat({Structure(0, {1}, {"V"}), TestBytes(12, 0)});
  UseSaved(SavedFile(EntryPoint2(static_cast<uint16_t>(table.size()), 32), table));
  const Outcome o = Run();
  EXPECT_EQ(o.exit, kExitComplete) << o.messages;
  EXPECT_TRUE(o.complete());
  EXPECT_EQ(o.records(), 1u);
  EXPECT_EQ(o.messages, "");
}

// A saved table is taken as the machine's own: what precedes a break is
// reported, a warning says where it broke, and exit code 5 says the dump
// holds only part of the table.
TEST_F(Collector, BrokenTablesAreReportedUpToTheBreak) {
  const TestBytes good = Concat({Structure(0, {1}, {"V"}), Structure(1, {1}, {"M"})});
  const TestBytes lengthTwo = Concat({good, {0x05, 0x02, 0x00, 0x00, 0x41}});
  const TestBytes lengthZero = Concat({good, {0x05, 0x00, 0x00, 0x00, 0x41}});  // Hyper-V
  const TestBytes cutStrings(good.begin(), good.end() - 2);
  const auto n = [](const TestBytes& t) { return static_cast<uint16_t>(t.size()); };
  const struct {
    const char* name;
    TestBytes file;
    size_t records;
    const char* warning;
  } cases[] = {
      {"length 2", SavedFile(EntryPoint2(n(lengthTwo), 32), lengthTwo), 2, "length below 4"},
      {"length 0", SavedFile(EntryPoint2(n(lengthZero), 32), lengthZero), 2, "length below 4"},
      {"2.x cut in the strings", SavedFile(EntryPoint2(n(good), 32), cutStrings), 1, "cut short"},
      {"3.x cut in the strings", SavedFile(EntryPoint3(n(good), 32), cutStrings), 1, "cut short"},
      // Cut between two structures: no end-of-table structure before the data end.
      {"3.x cut on a boundary", SavedFile(EntryPoint3(0x1000, 32), good), 2,
       "no end-of-table structure"},
  };
  for (const auto& c : cases) {
    UseSaved(c.file);
    ASSERT_TRUE(WriteFile(settings.dumpPath, {}));
    const Outcome o = Run();
    EXPECT_EQ(o.exit, kExitReportedUpToBreak) << c.name << ": " << o.messages;
    EXPECT_TRUE(o.complete()) << c.name;
    EXPECT_EQ(o.records(), c.records) << c.name;
    EXPECT_NE(o.messages.find(": warning: "), std::string::npos) << c.name << ": " << o.messages;
    EXPECT_NE(o.messages.find(c.warning), std::string::npos) << c.name << ": " << o.messages;
  }

  settings.savedTablePath.clear();
  gFirmware.state = FirmwareTables::State::kRead;
  gFirmware.origin = "sysfs";
  gFirmware.entryPoint = EntryPoint2(n(lengthTwo), 0);
  gFirmware.table = lengthTwo;
  ASSERT_TRUE(WriteFile(settings.dumpPath, {}));
  const Outcome o = Run();
  EXPECT_EQ(o.exit, kExitReportedUpToBreak) << o.messages;
  EXPECT_TRUE(o.complete());
  EXPECT_EQ(o.records(), 2u);
  EXPECT_NE(o.messages.find("sysfs: warning:"), std::string::npos) << o.messages;
}

TEST_F(Collector, BareTableNeedsItsVersion) {
  UseSaved(kTable);
  settings.bareTableVersion = "2.6";
  Outcome o = Run();
  EXPECT_EQ(o.exit, kExitComplete) << o.messages;
  EXPECT_EQ(o.major(), 2);
  EXPECT_EQ(o.minor(), 6);
  settings.bareTableVersion.clear();
  o = Run();
  EXPECT_EQ(o.exit, kExitSavedTableBad);
}

TEST_F(Collector, NoFirmwareTablesGiveANoDmiBiosDump) {
  gFirmware.state = FirmwareTables::State::kAbsent;
  const Outcome o = Run();
  EXPECT_EQ(o.exit, kExitComplete);
  EXPECT_TRUE(o.complete());
  EXPECT_EQ(o.found(), 0);
  EXPECT_EQ(o.records(), 0u);
  EXPECT_EQ(gFirmwareReads, 1);
}

TEST_F(Collector, UnreadableFirmwareTablesAreAnError) {
  gFirmware.state = FirmwareTables::State::kUnreadable;
  gFirmware.error = "cannot open /sys/firmware/dmi/tables/DMI: Permission denied";
  const Outcome o = Run();
  EXPECT_EQ(o.exit, kExitFirmwareBad);
  EXPECT_FALSE(o.complete());
  EXPECT_NE(o.messages.find("Permission denied"), std::string::npos) << o.messages;
  EXPECT_NE(o.messages.find(kSavedTableVariable), std::string::npos) << o.messages;
}

TEST_F(Collector, FirmwareEntryPointAndTableWithBadChecksum) {
  gFirmware.state = FirmwareTables::State::kRead;
  gFirmware.origin = "sysfs";
  gFirmware.entryPoint = EntryPoint2(static_cast<uint16_t>(kTable.size()), 0x000F0000);
  gFirmware.entryPoint[4] ^= 1;
  gFirmware.table = kTable;
  const Outcome o = Run();
  EXPECT_EQ(o.exit, kExitComplete) << o.messages;
  EXPECT_EQ(o.major(), 2);
  EXPECT_EQ(o.minor(), 7);
  EXPECT_EQ(o.records(), 3u);
  EXPECT_NE(o.messages.find("sysfs: warning: the SMBIOS 2 entry point checksum is wrong"),
            std::string::npos)
      << o.messages;
}

TEST_F(Collector, FirmwareRawSmbiosData) {
  gFirmware.state = FirmwareTables::State::kRead;
  gFirmware.form = FirmwareTables::Form::kRawSmbiosData;
  const uint32_t n = static_cast<uint32_t>(kTable.size());
  gFirmware.table = {0, 3, 1, 0, static_cast<uint8_t>(n), 0, 0, 0};
  gFirmware.table.insert(gFirmware.table.end(), kTable.begin(), kTable.end());
  Outcome o = Run();
  EXPECT_EQ(o.exit, kExitComplete) << o.messages;
  EXPECT_EQ(o.major(), 3);
  EXPECT_EQ(o.minor(), 1);
  EXPECT_EQ(o.records(), 3u);
  gFirmware.table[4] = static_cast<uint8_t>(n + 1);
  ASSERT_TRUE(WriteFile(settings.dumpPath, {}));
  o = Run();
  EXPECT_EQ(o.exit, kExitFirmwareBad);
  EXPECT_FALSE(o.complete());
}

TEST_F(Collector, UsageAndUnwritableDump) {
  gFirmware.state = FirmwareTables::State::kAbsent;
  settings.dumpPath.clear();
  Outcome o = Run();
  EXPECT_EQ(o.exit, kExitUsage);
  EXPECT_NE(o.messages.find("usage"), std::string::npos);
  settings.dumpPath = ScratchPath("missing-dir") + "/sub/dump";
  o = Run();
  EXPECT_EQ(o.exit, kExitDumpNotWritten);
  EXPECT_NE(o.messages.find("cannot open the dump file"), std::string::npos) << o.messages;
}

bool ExistsInList(const std::string& path) {
  static const char* const kExisting[] = {"C:\\temp dir\\tst1.tmp", "C:\\t\\tst2.tmp", "/tmp/x y"};
  for (const char* e : kExisting) {
    if (path == e) return true;
  }
  return false;
}

TEST(DumpPath, LongestExistingTextAfterABlank) {
  const struct {
    const char* line;
    const char* fallback;
    const char* expected;
  } cases[] = {
      {"C:\\app\\PROBEX.EXE C:\\t\\tst2.tmp", "x", "C:\\t\\tst2.tmp"},
      {"C:\\Program Files\\PROBEX.EXE C:\\t\\tst2.tmp", "x", "C:\\t\\tst2.tmp"},
      {"C:\\Program Files\\PROBEX.EXE C:\\temp dir\\tst1.tmp", "x", "C:\\temp dir\\tst1.tmp"},
      {"\"C:\\app\\PROBEX.EXE\" C:\\t\\tst2.tmp", "x", "C:\\t\\tst2.tmp"},
      {"probex /tmp/x y", "x", "/tmp/x y"},
      {"probex /tmp/not-there", "/tmp/not-there", "/tmp/not-there"},
      {"PROBEX.EXE", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseDumpPath(c.line, c.fallback, ExistsInList), c.expected) << c.line;
  }
}

TEST(WholeFile, MissingTooLargeAndRead) {
  std::vector<uint8_t> bytes;
  std::string error;
  bool missing = false;
  EXPECT_FALSE(ReadWholeFile(ScratchPath("nothing"), 100, &bytes, &error, &missing));
  EXPECT_TRUE(missing);
  const std::string path = ScratchPath("file");
  ASSERT_TRUE(WriteFile(path, TestBytes(40000, 7)));
  EXPECT_TRUE(ReadWholeFile(path, 40000, &bytes, &error, &missing)) << error;
  EXPECT_EQ(bytes.size(), 40000u);
  EXPECT_FALSE(ReadWholeFile(path, 39999, &bytes, &error, &missing));
  EXPECT_FALSE(missing);
  EXPECT_TRUE(bytes.empty());
  remove(path.c_str());
}

}  // namespace
