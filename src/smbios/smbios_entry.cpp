#include "smbios_entry.h"

#include <cstring>

namespace {

// Offsets of the 2.x entry point.
constexpr size_t k2Checksum = 0x04;
constexpr size_t k2Length = 0x05;
constexpr size_t k2Major = 0x06;
constexpr size_t k2Minor = 0x07;
constexpr size_t k2IntermediateAnchor = 0x10;
constexpr size_t k2IntermediateSize = 0x0F;  // "_DMI_" up to the BCD revision
constexpr size_t k2TableLength = 0x16;
constexpr size_t k2TableAddress = 0x18;
constexpr size_t k2StructureCount = 0x1C;
// Some 2.1-era firmware wrote 0x1E into the length byte of a 31-byte entry
// point; the checksum then covers 30 bytes.
constexpr uint8_t k2ShortLength = 0x1E;

// Offsets of the 3.x entry point.
constexpr size_t k3Length = 0x06;
constexpr size_t k3Major = 0x07;
constexpr size_t k3Minor = 0x08;
constexpr size_t k3Docrev = 0x09;
constexpr size_t k3TableMaxSize = 0x0C;
constexpr size_t k3TableAddress = 0x10;

bool StartsWith(ByteView bytes, size_t offset, const char* anchor) {
  const size_t n = strlen(anchor);
  const ByteView part = bytes.Slice(offset, n);
  return part.size() == n && memcmp(part.data(), anchor, n) == 0;
}

// Sum of count bytes from offset, modulo 256; the bytes are inside the view.
uint8_t ByteSum(ByteView bytes, size_t offset, size_t count) {
  uint8_t sum = 0;
  for (size_t i = 0; i < count; ++i) sum = static_cast<uint8_t>(sum + bytes.U8(offset + i));
  return sum;
}

// Bytes covered by the checksum: the length the entry point states when it
// is plausible and present, else the standard size.
size_t ChecksumLength(ByteView bytes, uint8_t stated, size_t standard, bool shortAllowed,
                      Diagnostics* diag) {
  const bool plausible = stated == standard || (shortAllowed && stated == k2ShortLength);
  if (!plausible) {
    diag->warnings.push_back("the entry point states a length of " + std::to_string(stated) +
                             " bytes instead of " + std::to_string(standard));
  }
  return plausible && bytes.Has(0, stated) ? stated : standard;
}

bool Parse2(ByteView bytes, SmbiosEntryPoint* entry, Diagnostics* diag) {
  if (!bytes.Has(0, kEntryPoint2Size)) {
    diag->error = "the SMBIOS 2 entry point is cut short (" + std::to_string(bytes.size()) +
                  " of " + std::to_string(kEntryPoint2Size) + " bytes)";
    return false;
  }
  if (!StartsWith(bytes, k2IntermediateAnchor, "_DMI_")) {
    diag->error = "the SMBIOS 2 entry point lacks its \"_DMI_\" part at offset 16";
    return false;
  }
  const size_t summed = ChecksumLength(bytes, bytes.U8(k2Length), kEntryPoint2Size, true, diag);
  if (ByteSum(bytes, 0, summed) != 0) {
    diag->warnings.push_back("the SMBIOS 2 entry point checksum is wrong (byte " +
                             std::to_string(bytes.U8(k2Checksum)) + ")");
  }
  if (ByteSum(bytes, k2IntermediateAnchor, k2IntermediateSize) != 0) {
    diag->warnings.push_back("the checksum of the entry point's \"_DMI_\" part is wrong");
  }
  entry->kind = EntryPointKind::kSmbios2;
  entry->major = bytes.U8(k2Major);
  entry->minor = bytes.U8(k2Minor);
  entry->docrev = 0;
  entry->tableLength = bytes.U16(k2TableLength);
  entry->tableAddress = bytes.U32(k2TableAddress);
  entry->structureCount = bytes.U16(k2StructureCount);
  return true;
}

bool Parse3(ByteView bytes, SmbiosEntryPoint* entry, Diagnostics* diag) {
  if (!bytes.Has(0, kEntryPoint3Size)) {
    diag->error = "the SMBIOS 3 entry point is cut short (" + std::to_string(bytes.size()) +
                  " of " + std::to_string(kEntryPoint3Size) + " bytes)";
    return false;
  }
  const size_t summed = ChecksumLength(bytes, bytes.U8(k3Length), kEntryPoint3Size, false, diag);
  if (ByteSum(bytes, 0, summed) != 0) {
    diag->warnings.push_back("the SMBIOS 3 entry point checksum is wrong");
  }
  entry->kind = EntryPointKind::kSmbios3;
  entry->major = bytes.U8(k3Major);
  entry->minor = bytes.U8(k3Minor);
  entry->docrev = bytes.U8(k3Docrev);
  entry->tableLength = bytes.U32(k3TableMaxSize);
  entry->tableAddress = bytes.U64(k3TableAddress);
  entry->structureCount = 0;
  return true;
}

}  // namespace

bool ParseEntryPoint(ByteView bytes, SmbiosEntryPoint* entry, Diagnostics* diag) {
  if (StartsWith(bytes, 0, "_SM3_")) return Parse3(bytes, entry, diag);
  if (StartsWith(bytes, 0, "_SM_")) return Parse2(bytes, entry, diag);
  diag->error = "no SMBIOS entry point: the data begin with neither \"_SM_\" nor \"_SM3_\"";
  return false;
}
