#include "probex.h"

#include <cstring>

#include "bytes.h"

void CDMIFileHeaderConstruct(CDMIFileHeader* header) {
  memset(header, 0, sizeof *header);
  strncpy(header->m_szFileDescription, kDumpDescription, sizeof header->m_szFileDescription - 1);
  header->m_iFileVersion = 1;
  header->m_bWroteAllData = 0;
}

void CDMISummaryInfoConstruct(CDMISummaryInfo* summary) { memset(summary, 0, sizeof *summary); }

void CDMIStructureHeaderConstruct(CDMIStructureHeader* header) { header->m_dwSize = 0; }

void EncodeFileHeader(const CDMIFileHeader& header, uint8_t (&bytes)[kFileHeaderSize]) {
  memcpy(bytes, header.m_szFileDescription, sizeof header.m_szFileDescription);
  StoreU16(bytes, 50, header.m_iFileVersion);
  StoreU16(bytes, 52, static_cast<uint16_t>(header.m_bWroteAllData));
}

void DecodeFileHeader(const uint8_t (&bytes)[kFileHeaderSize], CDMIFileHeader* header) {
  const ByteView view(bytes, sizeof bytes);
  memcpy(header->m_szFileDescription, bytes, sizeof header->m_szFileDescription);
  header->m_iFileVersion = view.U16(50);
  header->m_bWroteAllData = static_cast<int16_t>(view.U16(52));
}

void EncodeSummaryInfo(const CDMISummaryInfo& summary, uint8_t (&bytes)[kSummaryInfoSize]) {
  StoreU16(bytes, 0, static_cast<uint16_t>(summary.bSyslensFound));
  bytes[2] = summary.m_bVersionMajor;
  bytes[3] = summary.m_bVersionMinor;
  StoreU16(bytes, 4, summary.m_dwDMIBufferSize);
}

void DecodeSummaryInfo(const uint8_t (&bytes)[kSummaryInfoSize], CDMISummaryInfo* summary) {
  const ByteView view(bytes, sizeof bytes);
  summary->bSyslensFound = static_cast<int16_t>(view.U16(0));
  summary->m_bVersionMajor = view.U8(2);
  summary->m_bVersionMinor = view.U8(3);
  summary->m_dwDMIBufferSize = view.U16(4);
}

bool ReadFileHeader(FILE* file, CDMIFileHeader* header) {
  uint8_t bytes[kFileHeaderSize];
  if (fread(bytes, sizeof bytes, 1, file) != 1) return false;
  DecodeFileHeader(bytes, header);
  return true;
}

bool ReadSummaryInfo(FILE* file, CDMISummaryInfo* summary) {
  uint8_t bytes[kSummaryInfoSize];
  if (fread(bytes, sizeof bytes, 1, file) != 1) return false;
  DecodeSummaryInfo(bytes, summary);
  return true;
}

bool ReadStructureHeader(FILE* file, CDMIStructureHeader* header) {
  uint8_t bytes[kStructureHeaderSize];
  if (fread(bytes, sizeof bytes, 1, file) != 1) return false;
  header->m_dwSize = ByteView(bytes, sizeof bytes).U32(0);
  return true;
}
