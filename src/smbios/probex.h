// The dump file the collector writes and the viewer reads: a file header, a
// summary, then one record per SMBIOS structure. Little-endian, packed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr size_t kFileHeaderSize = 54;
constexpr size_t kSummaryInfoSize = 6;
constexpr size_t kStructureHeaderSize = 4;
constexpr const char* kDumpDescription = "Quillmark for Windows DMI binary data file";

struct CDMIFileHeader {
  char m_szFileDescription[50];
  uint16_t m_iFileVersion;
  int16_t m_bWroteAllData;
};

struct CDMISummaryInfo {
  int16_t bSyslensFound;
  uint8_t m_bVersionMajor;
  uint8_t m_bVersionMinor;
  uint16_t m_dwDMIBufferSize;
};

struct CDMIStructureHeader {
  uint32_t m_dwSize;
};

void CDMIFileHeaderConstruct(CDMIFileHeader* header);
void CDMISummaryInfoConstruct(CDMISummaryInfo* summary);
void CDMIStructureHeaderConstruct(CDMIStructureHeader* header);

// Records to and from their file bytes; the byte arrays are exactly the
// record's size in the file.
void EncodeFileHeader(const CDMIFileHeader& header, uint8_t (&bytes)[kFileHeaderSize]);
void DecodeFileHeader(const uint8_t (&bytes)[kFileHeaderSize], CDMIFileHeader* header);
void EncodeSummaryInfo(const CDMISummaryInfo& summary, uint8_t (&bytes)[kSummaryInfoSize]);
void DecodeSummaryInfo(const uint8_t (&bytes)[kSummaryInfoSize], CDMISummaryInfo* summary);

// Reads one whole record; false when the file ends before it is complete.
bool ReadFileHeader(FILE* file, CDMIFileHeader* header);
bool ReadSummaryInfo(FILE* file, CDMISummaryInfo* summary);
bool ReadStructureHeader(FILE* file, CDMIStructureHeader* header);
