// Decoding of the structure types 18 to 21: memory error, memory array and
// memory device mapped addresses and built-in pointing device.
//
// Each structure gives its heading and then one row per field through the
// shared row helpers (report text with a line break, an HTML table entry, or
// a property holding the bare value). A field is read only when the
// structure's formatted length covers it; a row whose field lies beyond it is
// left out together with its property.
#include "dmi_types_18_21.h"

#include <cstdint>
#include <cstdio>

#include "int_str.h"
#include "string_ids.h"

namespace {

// Header.
constexpr size_t kHandle = 2;

// Type 18 fields.
constexpr size_t kMemErrType = 4;
constexpr size_t kMemErrGranularity = 5;
constexpr size_t kMemErrOperation = 6;
constexpr size_t kMemErrVendorSyndrome = 7;
constexpr size_t kMemErrArrayAddress = 11;
constexpr size_t kMemErrDeviceAddress = 15;
constexpr size_t kMemErrResolution = 19;
// Marks an unknown address or resolution.
constexpr uint32_t kMemErrUnknown = 0x80000000u;

// Types 19 and 20: the kilobyte addresses and, from SMBIOS 2.7 on, the
// extended byte addresses used when the starting address is all ones.
constexpr size_t kMapStart = 4;
constexpr size_t kMapEnd = 8;
constexpr size_t kMapHandle = 12;
constexpr size_t kArrMapPartitionWidth = 14;
constexpr size_t kArrMapExtendedStart = 0x0F;
constexpr size_t kArrMapExtendedEnd = 0x17;
constexpr size_t kDevMapPartitionRow = 16;
constexpr size_t kDevMapInterleavePosition = 17;
constexpr size_t kDevMapInterleaveDepth = 18;
constexpr size_t kDevMapExtendedStart = 0x13;
constexpr size_t kDevMapExtendedEnd = 0x1B;
constexpr uint32_t kUseExtendedAddress = 0xFFFFFFFFu;
constexpr uint8_t kByteUnknown = 0xFF;

// Type 21 fields.
constexpr size_t kPointingType = 4;
constexpr size_t kPointingInterface = 5;
constexpr size_t kPointingButtons = 6;

// Size of the numbered property keys.
constexpr size_t kIniKeySize = 64;

// A row whose value is the "Unknown" text.
void UnknownRow(unsigned iCaptionId, const char* szIniKey) {
  OutputStringDataId(iCaptionId, lpszLoadString(kIdUnknown), szIniKey);
}

// Handle row of any structure: the header's handle as "%04XH".
void HandleRow(const DmiStructure& s, unsigned iCaptionId, const char* szIniKey) {
  if (!s.HasField(kHandle, 2)) return;
  char szStr[kRowTextSize];
  snprintf(szStr, sizeof szStr, "%04XH", static_cast<unsigned>(s.buf.U16(kHandle)));
  OutputStringDataId(iCaptionId, szStr, szIniKey);
}

// Memory error address or resolution: 0x80000000 is unknown.
void MemErrAddressRow(const DmiStructure& s, size_t offset, unsigned iCaptionId,
                      const char* szIniKey) {
  if (!s.HasField(offset, 4)) return;
  const uint32_t value = s.buf.U32(offset);
  if (value == kMemErrUnknown) {
    UnknownRow(iCaptionId, szIniKey);
    return;
  }
  char szStr[kRowTextSize];
  snprintf(szStr, sizeof szStr, "%08lXH", static_cast<unsigned long>(value));
  OutputStringDataId(iCaptionId, szStr, szIniKey);
}

// Starting and ending address rows of a mapped address. The kilobyte
// addresses are turned into byte addresses in 64 bits: an array that ends at
// 4 GB or beyond would otherwise show a wrapped address. Tables that map
// beyond 4 TB set the starting address to all ones and give both byte
// addresses in the extended fields; those are shown when present.
void MappedAddressRows(const DmiStructure& s, size_t extendedStart, size_t extendedEnd,
                       unsigned iStartCaptionId, const char* szStartKey, unsigned iEndCaptionId,
                       const char* szEndKey) {
  const bool hasStart = s.HasField(kMapStart, 4);
  const bool extended = hasStart && s.buf.U32(kMapStart) == kUseExtendedAddress &&
                        s.HasField(extendedStart, 8) && s.HasField(extendedEnd, 8);
  char szStr[kRowTextSize];
  if (hasStart) {
    const uint64_t start =
        extended ? s.buf.U64(extendedStart) : static_cast<uint64_t>(s.buf.U32(kMapStart)) << 10;
    snprintf(szStr, sizeof szStr, "%08llXH", static_cast<unsigned long long>(start));
    OutputStringDataId(iStartCaptionId, szStr, szStartKey);
  }
  if (extended || s.HasField(kMapEnd, 4)) {
    // The kilobyte form names the last kilobyte, so its byte address is that
    // kilobyte's first byte, as the firmware gives it.
    const uint64_t end =
        extended ? s.buf.U64(extendedEnd) : static_cast<uint64_t>(s.buf.U32(kMapEnd)) << 10;
    snprintf(szStr, sizeof szStr, "%08llXH", static_cast<unsigned long long>(end));
    OutputStringDataId(iEndCaptionId, szStr, szEndKey);
  }
}

// Interleave position or depth: 0xFF unknown, 0 not interleaved, other
// values as a number, for the position left-aligned in three characters
// between blanks (as the partition row), for the depth after one blank.
void InterleaveRow(const DmiStructure& s, size_t offset, unsigned iCaptionId, bool padded,
                   const char* szIniKey) {
  if (!s.HasField(offset, 1)) return;
  const unsigned value = s.buf.U8(offset);
  if (value == kByteUnknown) {
    UnknownRow(iCaptionId, szIniKey);
    return;
  }
  if (value == 0) {
    OutputStringDataId(iCaptionId, lpszLoadString(kIdNonInterleaved), szIniKey);
    return;
  }
  char szStr[kRowTextSize];
  if (padded) {
    snprintf(szStr, sizeof szStr, " %-3u ", value);
  } else {
    snprintf(szStr, sizeof szStr, " %u", value);
  }
  OutputStringDataId(iCaptionId, szStr, szIniKey);
}

}  // namespace

void DecodeMemoryError(const DmiStructure& s) {
  OutputStructNameData(kIdMemErrHeading);
  HandleRow(s, kIdMemErrHandle, "szMemErrHandle");
  NameRow(s, kIdMemErrType, kMemErrType, "MEMERRTYPE", "szMemErrType", RowForm::kLine);
  NameRow(s, kIdMemErrGranularity, kMemErrGranularity, "MEMERRGRA", "szMemErrGran", RowForm::kLine);
  NameRow(s, kIdMemErrOperation, kMemErrOperation, "MEMERROPE", "szMemErrOpe", RowForm::kLine);
  if (s.HasField(kMemErrVendorSyndrome, 4)) {
    // Unlike the addresses, the syndrome is unknown when 0, and has no "H".
    const uint32_t syndrome = s.buf.U32(kMemErrVendorSyndrome);
    if (syndrome == 0) {
      UnknownRow(kIdMemErrVendorSyndrome, "szMemErrVendSynd");
    } else {
      char szStr[kRowTextSize];
      snprintf(szStr, sizeof szStr, "%08lX", static_cast<unsigned long>(syndrome));
      OutputStringDataId(kIdMemErrVendorSyndrome, szStr, "szMemErrVendSynd");
    }
  }
  MemErrAddressRow(s, kMemErrArrayAddress, kIdMemErrArrayAddress, "szMemErrArrayErrAddr");
  MemErrAddressRow(s, kMemErrDeviceAddress, kIdMemErrDeviceAddress, "szMemErrDevErrAddr");
  MemErrAddressRow(s, kMemErrResolution, kIdMemErrResolution, "szMemErrResolution");
  EndStructure();
}

void DecodeMemoryArrayMappedAddress(const DmiStructure& s, DmiDumpState& state) {
  const int a = state.arrayMappedAddresses;
  char szIniKey[kIniKeySize];
  char szEndKey[kIniKeySize];
  char szStr[kRowTextSize];
  OutputStructNameData(kIdArrMapHeading);
  snprintf(szIniKey, sizeof szIniKey, "szMemArrMapAddr%dHandle", a);
  HandleRow(s, kIdArrMapHandle, szIniKey);
  snprintf(szIniKey, sizeof szIniKey, "szMemArrMapAddr%dStartAddr", a);
  snprintf(szEndKey, sizeof szEndKey, "szMemArrMapAddr%dEndAddr", a);
  MappedAddressRows(s, kArrMapExtendedStart, kArrMapExtendedEnd, kIdArrMapStart, szIniKey,
                    kIdArrMapEnd, szEndKey);
  if (s.HasField(kMapHandle, 2)) {
    snprintf(szStr, sizeof szStr, "%04XH", static_cast<unsigned>(s.buf.U16(kMapHandle)));
    snprintf(szIniKey, sizeof szIniKey, "szMemArrMapAddr%dMemArrHand", a);
    OutputStringDataId(kIdArrMapArrayHandle, szStr, szIniKey);
  }
  if (s.HasField(kArrMapPartitionWidth, 1)) {
    snprintf(szStr, sizeof szStr, "%u", static_cast<unsigned>(s.buf.U8(kArrMapPartitionWidth)));
    snprintf(szIniKey, sizeof szIniKey, "szMemArrMapAddr%dPartWid", a);
    OutputStringDataId(kIdArrMapPartitionWidth, szStr, szIniKey);
  }
  EndStructure();
  ++state.arrayMappedAddresses;
}

void DecodeMemoryDeviceMappedAddress(const DmiStructure& s, DmiDumpState& state) {
  const int m = state.deviceMappedAddresses;
  char szIniKey[kIniKeySize];
  char szEndKey[kIniKeySize];
  char szStr[kRowTextSize];
  OutputStructNameData(kIdDevMapHeading);
  snprintf(szIniKey, sizeof szIniKey, "szMemDevMapAddr%dHand", m);
  HandleRow(s, kIdDevMapHandle, szIniKey);
  snprintf(szIniKey, sizeof szIniKey, "szMemDevMapAddr%dStartAddr", m);
  snprintf(szEndKey, sizeof szEndKey, "szMemDevMapAddr%dEndAddr", m);
  MappedAddressRows(s, kDevMapExtendedStart, kDevMapExtendedEnd, kIdDevMapStart, szIniKey,
                    kIdDevMapEnd, szEndKey);
  if (s.HasField(kMapHandle, 2)) {
    snprintf(szStr, sizeof szStr, " %04XH", static_cast<unsigned>(s.buf.U16(kMapHandle)));
    snprintf(szIniKey, sizeof szIniKey, "szMemDevMapAddr%dDevHand", m);
    OutputStringDataId(kIdDevMapDeviceHandle, szStr, szIniKey);
  }
  if (s.HasField(kDevMapPartitionRow, 1)) {
    snprintf(szIniKey, sizeof szIniKey, "szMemDevMapAddr%dPartRowPos", m);
    const unsigned row = s.buf.U8(kDevMapPartitionRow);
    if (row == kByteUnknown) {
      UnknownRow(kIdDevMapPartitionRow, szIniKey);
    } else {
      snprintf(szStr, sizeof szStr, " %-3u ", row);
      OutputStringDataId(kIdDevMapPartitionRow, szStr, szIniKey);
    }
  }
  snprintf(szIniKey, sizeof szIniKey, "szMemDevMapAddr%dInterlPos", m);
  InterleaveRow(s, kDevMapInterleavePosition, kIdDevMapInterleavePosition, true, szIniKey);
  snprintf(szIniKey, sizeof szIniKey, "szMemDevMapAddr%dInterlDep", m);
  InterleaveRow(s, kDevMapInterleaveDepth, kIdDevMapInterleaveDepth, false, szIniKey);
  EndStructure();
  ++state.deviceMappedAddresses;
}

void DecodeBuiltinPointingDevice(const DmiStructure& s) {
  OutputStructNameData(kIdPointingHeading);
  NameRow(s, kIdPointingType, kPointingType, "PNTDEV", "szPointDevType", RowForm::kLine);
  NameRow(s, kIdPointingInterface, kPointingInterface, "PNTDEVINT", "szPointDevInt",
          RowForm::kLine);
  if (s.HasField(kPointingButtons, 1)) {
    char szStr[kRowTextSize];
    snprintf(szStr, sizeof szStr, "%u", static_cast<unsigned>(s.buf.U8(kPointingButtons)));
    OutputStringDataId(kIdPointingButtons, szStr, "szPointDevButtons");
  }
  EndStructure();
}
