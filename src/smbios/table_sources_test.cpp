#include "table_sources.h"

#include <gtest/gtest.h>

#include "test_tables.h"

namespace {

const TestBytes kTable = Concat({Structure(0, {1, 2}, {"Vendor", "1.0"}), Structure(127, {})});

// A file as `dmidecode --dump-bin` writes it: entry point, padding to 32,
// the table at offset 32.
TestBytes SavedFile(const TestBytes& entry, const TestBytes& table) {
  TestBytes file = entry;
  file.resize(32, 0);
  file.insert(file.end(), table.begin(), table.end());
  return file;
}

struct SavedCase {
  const char* name;
  TestBytes file;
  const char* version;  // bare-table version, or null
  bool ok;
  size_t tableLength;  // when ok
  bool cutByData;      // when ok
  const char* error;   // part of the message, when not ok
};

TEST(SavedTable, FilesAndTheirFaults) {
  const uint16_t n = static_cast<uint16_t>(kTable.size());
  const SavedCase cases[] = {
      {"2.x file", SavedFile(EntryPoint2(n, 32), kTable), nullptr, true, n, false, ""},
      {"3.x file", SavedFile(EntryPoint3(n, 32), kTable), nullptr, true, n, false, ""},
      {"3.x maximum beyond the file", SavedFile(EntryPoint3(0x1000, 32), kTable), nullptr, true, n,
       true, ""},
      // Located as far as the data go; the walk reports what precedes the cut.
      {"2.x table cut short", SavedFile(EntryPoint2(n + 1, 32), kTable), nullptr, true, n, true,
       ""},
      {"table address past the file", SavedFile(EntryPoint2(n, 32 + n), kTable), nullptr, false, 0,
       false, "past the end of the file"},
      {"3.x address beyond 4 GiB", SavedFile(EntryPoint3(n, 0x100000020ull), kTable), nullptr,
       false, 0, false, "past the end"},
      {"zero-length table", SavedFile(EntryPoint2(0, 32), kTable), nullptr, false, 0, false,
       "length of 0"},
      {"entry point only", EntryPoint2(n, 32), nullptr, false, 0, false, "past the end"},
      {"empty file", {}, nullptr, false, 0, false, "empty"},
      {"garbage", TestBytes(64, 0xA5), nullptr, false, 0, false, "no SMBIOS entry point"},
      {"bare table with version", kTable, "2.8", true, kTable.size(), false, ""},
      {"bare table, bad version", kTable, "2.x", false, 0, false, "major.minor"},
      {"bare table of type 95 ('_')", Concat({{'_', 'S', 'M', 'X', 0, 0}}), "3.0", true, 6, false,
       ""},
      {"anchor wins over the version", SavedFile(EntryPoint3(n, 32), kTable), "2.1", true, n, false,
       ""},
  };
  for (const SavedCase& c : cases) {
    SmbiosTable table;
    Diagnostics diag;
    const bool ok = TableFromSavedFile(View(c.file), c.version, &table, &diag);
    ASSERT_EQ(ok, c.ok) << c.name << ": " << diag.error;
    if (ok) {
      EXPECT_EQ(table.table.size(), c.tableLength) << c.name;
      EXPECT_EQ(table.cutByData, c.cutByData) << c.name;
      // Saved files put the BIOS structure first; bare tables start at byte 0.
      const std::string head(c.file.begin(), c.file.begin() + 5);
      const bool bare = c.version && head.rfind("_SM_", 0) != 0 && head != "_SM3_";
      EXPECT_EQ(table.table.data(), c.file.data() + (bare ? 0 : 32)) << c.name;
    } else {
      EXPECT_NE(diag.error.find(c.error), std::string::npos) << c.name << ": " << diag.error;
    }
  }
}

TEST(SavedTable, VersionComesFromTheEntryPointOrTheBareVersion) {
  const uint16_t n = static_cast<uint16_t>(kTable.size());
  SmbiosTable table;
  Diagnostics diag;
  ASSERT_TRUE(
      TableFromSavedFile(View(SavedFile(EntryPoint2(n, 32), kTable)), nullptr, &table, &diag));
  EXPECT_EQ(table.major, 2);
  EXPECT_EQ(table.minor, 7);
  ASSERT_TRUE(
      TableFromSavedFile(View(SavedFile(EntryPoint3(n, 32), kTable)), nullptr, &table, &diag));
  EXPECT_EQ(table.major, 3);
  EXPECT_EQ(table.minor, 2);
  ASSERT_TRUE(TableFromSavedFile(View(kTable), "2.10", &table, &diag));
  EXPECT_EQ(table.major, 2);
  EXPECT_EQ(table.minor, 10);
}

TEST(EntryPointAndData, AddressIsIgnoredAndLengthChecked) {
  const uint16_t n = static_cast<uint16_t>(kTable.size());
  SmbiosTable table;
  Diagnostics diag;
  // sysfs: the address is physical memory, the table file starts at 0.
  ASSERT_TRUE(
      TableFromEntryPointAndData(View(EntryPoint2(n, 0x000F1000)), View(kTable), &table, &diag));
  EXPECT_EQ(table.table.data(), kTable.data());
  EXPECT_EQ(table.table.size(), kTable.size());
  ASSERT_TRUE(
      TableFromEntryPointAndData(View(EntryPoint2(n + 10, 0)), View(kTable), &table, &diag));
  EXPECT_TRUE(table.cutByData);
  EXPECT_EQ(table.table.size(), kTable.size());
  EXPECT_FALSE(TableFromEntryPointAndData(View(EntryPoint2(n, 0)), ByteView(), &table, &diag));
}

struct RawCase {
  const char* name;
  TestBytes raw;
  bool ok;
};

TEST(RawSmbiosData, HeaderAndLength) {
  auto raw = [](uint32_t length, const TestBytes& table) {
    // clang-format off
    TestBytes r = {0x00, 0x03, 0x04, 0x00,  // calling method, version 3.4, DMI revision
                   static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8),
                   static_cast<uint8_t>(length >> 16), static_cast<uint8_t>(length >> 24)};
    // clang-format on
    r.insert(r.end(), table.begin(), table.end());
    return r;
  };
  const uint32_t n = static_cast<uint32_t>(kTable.size());
  const RawCase cases[] = {
      {"whole", raw(n, kTable), true},
      {"length past the data", raw(n + 1, kTable), false},
      {"length 0", raw(0, kTable), false},
      {"header cut", TestBytes{0, 3, 4, 0, 1}, false},
  };
  for (const RawCase& c : cases) {
    SmbiosTable table;
    Diagnostics diag;
    EXPECT_EQ(TableFromRawSmbiosData(View(c.raw), &table, &diag), c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(table.major, 3);
      EXPECT_EQ(table.minor, 4);
      EXPECT_EQ(table.table.size(), kTable.size());
    } else {
      EXPECT_FALSE(diag.error.empty()) << c.name;
    }
  }
}

TEST(VersionText, OnlyMajorDotMinor) {
  const struct {
    const char* text;
    bool ok;
    uint8_t major, minor;
  } cases[] = {
      {"3.2", true, 3, 2},    {"2.10", true, 2, 10},  {"255.255", true, 255, 255},
      {"256.1", false, 0, 0}, {"3", false, 0, 0},     {"3.", false, 0, 0},
      {".2", false, 0, 0},    {"3.2.1", false, 0, 0}, {"a.b", false, 0, 0},
      {"", false, 0, 0},      {" 3.2", false, 0, 0},  {"0002.1", false, 0, 0},
  };
  for (const auto& c : cases) {
    uint8_t major = 0, minor = 0;
    EXPECT_EQ(ParseVersionText(c.text, &major, &minor), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(major, c.major) << c.text;
      EXPECT_EQ(minor, c.minor) << c.text;
    }
  }
}

}  // namespace
