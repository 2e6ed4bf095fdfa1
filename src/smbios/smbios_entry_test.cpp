#include "smbios_entry.h"

#include <gtest/gtest.h>

#include <functional>

#include "test_tables.h"

namespace {

TEST(EntryPoint, Reads2xVersionTableAndCount) {
  const TestBytes e = EntryPoint2(0x1234, 0x000F0000);
  SmbiosEntryPoint entry;
  Diagnostics diag;
  ASSERT_TRUE(ParseEntryPoint(View(e), &entry, &diag)) << diag.error;
  EXPECT_EQ(entry.kind, EntryPointKind::kSmbios2);
  EXPECT_EQ(entry.major, 2);
  EXPECT_EQ(entry.minor, 7);
  EXPECT_EQ(entry.tableLength, 0x1234u);
  EXPECT_EQ(entry.tableAddress, 0x000F0000u);
  EXPECT_EQ(entry.structureCount, 3);
  EXPECT_TRUE(diag.warnings.empty());
}

TEST(EntryPoint, Reads3xVersionWithoutDocrevAnd64BitAddress) {
  const TestBytes e = EntryPoint3(0x00012345, 0x0000000100000020ull);
  SmbiosEntryPoint entry;
  Diagnostics diag;
  ASSERT_TRUE(ParseEntryPoint(View(e), &entry, &diag)) << diag.error;
  EXPECT_EQ(entry.kind, EntryPointKind::kSmbios3);
  EXPECT_EQ(entry.major, 3);
  EXPECT_EQ(entry.minor, 2);
  EXPECT_EQ(entry.docrev, 1);
  EXPECT_EQ(entry.tableLength, 0x00012345u);
  EXPECT_EQ(entry.tableAddress, 0x0000000100000020ull);
  EXPECT_TRUE(diag.warnings.empty());
}

// One corrupted copy per rule: whether the entry point is still usable and
// whether a message names the fault.
struct Corruption {
  const char* name;
  TestBytes bytes;
  bool usable;
  const char* message;  // part of the error or of the first warning
};

TestBytes Changed(TestBytes bytes, const std::function<void(TestBytes&)>& change) {
  change(bytes);
  return bytes;
}

TEST(EntryPoint, CorruptedCopies) {
  const TestBytes good2 = EntryPoint2(100, 32);
  const TestBytes good3 = EntryPoint3(100, 32);
  const Corruption cases[] = {
      {"no anchor", Changed(good2, [](TestBytes& b) { b[1] = 'X'; }), false, "neither"},
      {"empty", {}, false, "neither"},
      {"2.x cut short", TestBytes(good2.begin(), good2.begin() + 30), false, "cut short"},
      {"3.x cut short", TestBytes(good3.begin(), good3.begin() + 23), false, "cut short"},
      {"no _DMI_ part", Changed(good2, [](TestBytes& b) { b[0x11] = 'X'; }), false, "_DMI_"},
      {"2.x checksum", Changed(good2, [](TestBytes& b) { b[0x04] ^= 1; }), true, "checksum"},
      {"2.x data changed", Changed(good2, [](TestBytes& b) { b[0x08] ^= 1; }), true, "checksum"},
      {"_DMI_ checksum",
       Changed(good2,
               [](TestBytes& b) {
                 ++b[0x15];
                 --b[0x04];
               }),
       true, "\"_DMI_\" part is wrong"},
      {"3.x checksum", Changed(good3, [](TestBytes& b) { b[0x0C] ^= 1; }), true, "checksum"},
      {"3.x length byte",
       Changed(good3,
               [](TestBytes& b) {
                 b[0x06] = 0x20;
                 FixChecksum(&b, 0, 0x18, 5);
               }),
       true, "length of 32"},
  };
  for (const Corruption& c : cases) {
    SmbiosEntryPoint entry;
    Diagnostics diag;
    const bool ok = ParseEntryPoint(View(c.bytes), &entry, &diag);
    EXPECT_EQ(ok, c.usable) << c.name;
    const std::string text = ok ? (diag.warnings.empty() ? "" : diag.warnings[0]) : diag.error;
    EXPECT_NE(text.find(c.message), std::string::npos) << c.name << ": " << text;
  }
}

TEST(EntryPoint, BadChecksumStillGivesTheTable) {
  TestBytes e = EntryPoint2(0x0200, 32);
  e[0x04] ^= 0xFF;
  SmbiosEntryPoint entry;
  Diagnostics diag;
  ASSERT_TRUE(ParseEntryPoint(View(e), &entry, &diag));
  EXPECT_EQ(entry.tableLength, 0x0200u);
  EXPECT_EQ(entry.tableAddress, 32u);
  EXPECT_EQ(diag.warnings.size(), 1u);
}

TEST(EntryPoint, ShortLengthByteOf2xFirmwareCoversThirtyBytes) {
  // Length byte 0x1E with the checksum over 30 bytes, as some old firmware
  // wrote it: accepted without a warning.
  TestBytes e = EntryPoint2(100, 32);
  e[0x05] = 0x1E;
  ++e[0x1E];  // the BCD revision, outside the 30 summed bytes
  --e[0x15];  // keeps the "_DMI_" part's sum
  FixChecksum(&e, 0, 0x1E, 0x04);
  SmbiosEntryPoint entry;
  Diagnostics diag;
  ASSERT_TRUE(ParseEntryPoint(View(e), &entry, &diag));
  EXPECT_TRUE(diag.warnings.empty()) << diag.warnings[0];
}

}  // namespace
