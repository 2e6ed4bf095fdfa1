#include "dump_writer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "probex.h"
#include "test_files.h"
#include "test_tables.h"

namespace {

// The dump read back as the viewer reads it.
struct ReadBack {
  CDMIFileHeader header;
  CDMISummaryInfo summary;
  std::vector<TestBytes> records;
  bool whole = false;  // every record complete up to the end
};

ReadBack Read(const TestBytes& dump) {
  ReadBack r;
  const ByteView view = View(dump);
  uint8_t header[kFileHeaderSize];
  uint8_t summary[kSummaryInfoSize];
  if (!view.Copy(0, header, sizeof header) ||
      !view.Copy(kFileHeaderSize, summary, sizeof summary)) {
    return r;
  }
  DecodeFileHeader(header, &r.header);
  DecodeSummaryInfo(summary, &r.summary);
  size_t offset = kFileHeaderSize + kSummaryInfoSize;
  while (view.Has(offset, 4)) {
    const uint32_t size = view.U32(offset);
    const ByteView record = view.Slice(offset + 4, size);
    if (record.size() != size || size == 0) return r;
    r.records.emplace_back(record.data(), record.data() + size);
    offset += 4 + size;
  }
  r.whole = offset == dump.size();
  return r;
}

const TestBytes kBios = Structure(0, {1, 2, 0, 0xF0, 3, 0x0F}, {"Vendor", "1.0"});
const TestBytes kCpu = Structure(4, TestBytes(0x26), {"Socket 1", "Maker", "Model name"});
const TestBytes kEnd = Structure(127, {});

TEST(DumpEncoding, FoundTableGivesRecordsInOrderAndLargestBuffer) {
  DumpContent content;
  content.found = true;
  content.major = 3;
  content.minor = 4;
  content.structures = {View(kBios), View(kCpu), View(kEnd)};
  std::vector<std::string> warnings;
  const ReadBack r = Read(EncodeDump(content, &warnings));
  EXPECT_TRUE(warnings.empty());
  EXPECT_STREQ(r.header.m_szFileDescription, kDumpDescription);
  EXPECT_EQ(r.header.m_iFileVersion, 1);
  EXPECT_EQ(r.header.m_bWroteAllData, 0) << "marked complete before it is written";
  EXPECT_EQ(r.summary.bSyslensFound, 1);
  EXPECT_EQ(r.summary.m_bVersionMajor, 3);
  EXPECT_EQ(r.summary.m_bVersionMinor, 4);
  EXPECT_EQ(r.summary.m_dwDMIBufferSize, kCpu.size());
  ASSERT_TRUE(r.whole);
  ASSERT_EQ(r.records.size(), 3u);
  EXPECT_EQ(r.records[0], kBios);
  EXPECT_EQ(r.records[1], kCpu);
  EXPECT_EQ(r.records[2], kEnd);
}

TEST(DumpEncoding, NoTablesGivesSummaryWithoutRecordsAndNonzeroBuffer) {
  DumpContent content;
  content.found = false;
  content.major = 3;  // ignored without tables
  content.structures = {View(kBios)};
  std::vector<std::string> warnings;
  const ReadBack r = Read(EncodeDump(content, &warnings));
  EXPECT_EQ(r.summary.bSyslensFound, 0);
  EXPECT_EQ(r.summary.m_bVersionMajor, 0);
  // The viewer rejects a zero buffer size before it reads bSyslensFound.
  EXPECT_NE(r.summary.m_dwDMIBufferSize, 0);
  EXPECT_TRUE(r.whole);
  EXPECT_TRUE(r.records.empty());
}

TEST(DumpEncoding, StructureBeyondSixteenBitsIsLeftOutAndTheRestKept) {
  const TestBytes huge = Structure(11, {1}, {std::string(0x10000, 'x')});
  const TestBytes justFits = Structure(11, {1}, {std::string(kLargestRecord - 7, 'y')});
  ASSERT_EQ(justFits.size(), kLargestRecord);
  DumpContent content;
  content.found = true;
  content.structures = {View(kBios), View(huge), View(justFits), View(kEnd)};
  std::vector<std::string> warnings;
  const ReadBack r = Read(EncodeDump(content, &warnings));
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("type 11"), std::string::npos) << warnings[0];
  ASSERT_EQ(r.records.size(), 3u);
  EXPECT_EQ(r.records[1], justFits);
  EXPECT_EQ(r.summary.m_dwDMIBufferSize, kLargestRecord);
}

TEST(DumpFile, WrittenWholeThenMarkedComplete) {
  const std::string path = ScratchPath("dump");
  ASSERT_TRUE(WriteFile(path, TestBytes(500, 0xEE)));  // longer old contents are replaced
  DumpContent content;
  content.found = true;
  content.major = 2;
  content.minor = 8;
  content.structures = {View(kBios), View(kEnd)};
  std::vector<std::string> warnings;
  const TestBytes encoded = EncodeDump(content, &warnings);
  std::string error;
  ASSERT_TRUE(WriteDumpFile(path, encoded, &error)) << error;
  const TestBytes written = ReadFile(path);
  ASSERT_EQ(written.size(), encoded.size());
  const ReadBack r = Read(written);
  EXPECT_EQ(r.header.m_bWroteAllData, 1);
  EXPECT_TRUE(r.whole);
  EXPECT_EQ(r.records.size(), 2u);
  // Only the mark differs from the encoded bytes.
  TestBytes expected = encoded;
  expected[kWroteAllDataOffset] = 1;
  EXPECT_EQ(written, expected);
  remove(path.c_str());
}

TEST(DumpFile, UnwritablePathGivesAMessage) {
  std::string error;
  const std::string path = ScratchPath("no-such-dir") + "/sub/dump";
  EXPECT_FALSE(WriteDumpFile(path, TestBytes(kFileHeaderSize + kSummaryInfoSize, 0), &error));
  EXPECT_NE(error.find(path), std::string::npos) << error;
}

}  // namespace
