// Decoding of the structure types 16 and 17: physical memory array and
// memory device.
//
// As everywhere in the decoder, a field is read only when the structure's
// formatted length covers it. A row whose field lies beyond it is left out
// together with its property.
#include "dmi_types_16_17.h"

#include <cstdio>

#include "format_checked.h"
#include "int_str.h"
#include "string_ids.h"

namespace {

// Size of a numbered property key.
constexpr size_t kIniKeySize = 64;

// Type 16 fields.
constexpr size_t kArrayLocation = 4;
constexpr size_t kArrayUse = 5;
constexpr size_t kArrayErrorCorrection = 6;
constexpr size_t kArrayMaxCapacity = 7;
constexpr size_t kArrayErrorHandle = 11;
constexpr size_t kArrayDevices = 13;
constexpr size_t kArrayExtendedMaxCapacity = 0x0F;
// Maximum capacity that means "unknown", or, from SMBIOS 2.7 on, "see the
// extended maximum capacity".
constexpr uint32_t kCapacityInExtendedField = 0x80000000u;

// Type 17 fields.
constexpr size_t kDeviceErrorHandle = 6;
constexpr size_t kDeviceTotalWidth = 8;
constexpr size_t kDeviceDataWidth = 10;
constexpr size_t kDeviceSize = 12;
constexpr size_t kDeviceFormFactor = 14;
constexpr size_t kDeviceSetField = 15;
constexpr size_t kDeviceLocator = 16;
constexpr size_t kBankLocator = 17;
constexpr size_t kDeviceMemoryType = 18;
constexpr size_t kDeviceTypeDetail = 19;
constexpr size_t kDeviceExtendedSize = 0x1C;
// Size that means, from SMBIOS 2.7 on, "see the extended size".
constexpr unsigned kSizeInExtendedField = 0x7FFF;
// Type detail bits 0 to 12 are examined; bit 0 (reserved) counts but shows
// nothing.
constexpr int kLastDetailBit = 12;

// Error-information handles of types 16 and 17.
constexpr unsigned kErrorNotProvided = 0xFFFE;
constexpr unsigned kNoError = 0xFFFF;

// Names of the type-detail bits 1 to 12.
// clang-format off
constexpr unsigned kDetailNameIds[kLastDetailBit + 1] = {
    0, kIdDetailOther, kIdUnknown, kIdDetailFastPaged, kIdDetailStaticColumn,
    kIdDetailPseudoStatic, kIdDetailRambus, kIdDetailSynchronous, kIdDetailCmos, kIdDetailEdo,
    kIdDetailWindowDram, kIdDetailCacheDram, kIdDetailNonVolatile};
// clang-format on

// --- memory array and memory device ---

// Text of an error-information handle of a memory array or device.
void ErrorInformation(unsigned handle, unsigned notProvidedId, unsigned noErrorId,
                      unsigned detectedId, char* szStr) {
  if (handle == kErrorNotProvided) {
    CopyText(szStr, kRowTextSize, lpszLoadString(notProvidedId));
  } else if (handle == kNoError) {
    CopyText(szStr, kRowTextSize, lpszLoadString(noErrorId));
  } else {
    FormatChecked(szStr, kRowTextSize, lpszLoadString(detectedId), "i", handle);
  }
}

// Maximum capacity of a memory array in kB. Arrays of 2 TB and more give
// 0x80000000 here and their capacity in bytes in the extended field (SMBIOS
// 2.7 on); older tables, which lack that field, use the same value for
// "unknown".
void MaximumCapacity(const DmiStructure& s, char* szStr) {
  const uint32_t dwMaximumCapacity = s.buf.U32(kArrayMaxCapacity);
  if (dwMaximumCapacity != kCapacityInExtendedField) {
    snprintf(szStr, kRowTextSize, "%lu kB", static_cast<unsigned long>(dwMaximumCapacity));
  } else if (s.HasField(kArrayExtendedMaxCapacity, 8)) {
    const unsigned long long kiloBytes = s.buf.U64(kArrayExtendedMaxCapacity) / 1024;
    snprintf(szStr, kRowTextSize, "%llu kB", kiloBytes);
  } else {
    CopyText(szStr, kRowTextSize, lpszLoadString(kIdUnknown));
  }
}

// Width in bits, or "Unknown".
void Width(unsigned width, char* szStr) {
  if (width == 0xFFFF) {
    CopyText(szStr, kRowTextSize, lpszLoadString(kIdUnknown));
  } else {
    snprintf(szStr, kRowTextSize, "%u %s", width, lpszLoadString(kIdBits));
  }
}

// Size of a memory device. Bit 15 gives the unit (set: kB, clear: MB) of
// bits 0 to 14. Devices of 32 GB and more give 0x7FFF and their size in MB in
// the extended size (SMBIOS 2.7 on); older tables, which lack that field,
// show 0x7FFF as it stands.
void DeviceSize(const DmiStructure& s, char* szStr) {
  const unsigned wSize = s.buf.U16(kDeviceSize);
  if (wSize == 0) {
    CopyText(szStr, kRowTextSize, lpszLoadString(kIdNotInstalled));
  } else if (wSize == 0xFFFF) {
    CopyText(szStr, kRowTextSize, lpszLoadString(kIdUnknown));
  } else if (wSize == kSizeInExtendedField && s.HasField(kDeviceExtendedSize, 4)) {
    // Bits 0 to 30 are the size in MB; bit 31 is reserved.
    const unsigned long megaBytes = s.buf.U32(kDeviceExtendedSize) & 0x7FFFFFFFu;
    snprintf(szStr, kRowTextSize, "%lu %s", megaBytes, lpszLoadString(kIdMB));
  } else {
    snprintf(szStr, kRowTextSize, "%u %s", wSize & 0x7FFF,
             lpszLoadString(wSize & 0x8000 ? kIdKB : kIdMB));
  }
}

// The type-detail list: one row per set bit from 1 to 12, numbered from 1 in
// the caption and from 0 in the key. A set bit 0 takes a number without a
// row of its own.
void TypeDetails(unsigned wTypeDetail, int device) {
  int iMemDetailNum = 0;
  for (int bit = 0; bit <= kLastDetailBit; ++bit) {
    if (!(wTypeDetail & (1u << bit))) continue;
    if (bit > 0) {
      char szIniKey[kIniKeySize];
      snprintf(szIniKey, sizeof szIniKey, "szMemDev%dDet%d", device, iMemDetailNum);
      char szStr[kRowTextSize];
      CopyText(szStr, sizeof szStr, lpszLoadString(kDetailNameIds[bit]));
      // The caption holds the row's number and leaves a %s for the name.
      char szStr1[kRowTextSize];
      FormatChecked(szStr1, sizeof szStr1, lpszLoadString(kIdDetailRow), "i", iMemDetailNum + 1);
      OutputStringData(szStr1, szStr, szIniKey);
    }
    ++iMemDetailNum;
  }
}

}  // namespace

void DecodePhysicalMemoryArray(const DmiStructure& s) {
  OutputStructNameData(kIdArrayHeading);
  char szStr[kRowTextSize];
  snprintf(szStr, sizeof szStr, "%04XH", static_cast<unsigned>(s.buf.U16(2)));
  OutputStringDataId(kIdArrayHandle, szStr, "szPhysMemArrHandle");
  if (s.HasField(kArrayLocation, 1)) {
    OutputDMIDatData(s.buf.U8(kArrayLocation), "MEMARRLOC", kIdArrayLocation,
                     "szPhysMemArrLocation");
  }
  if (s.HasField(kArrayUse, 1)) {
    OutputDMIDatData(s.buf.U8(kArrayUse), "MEMARRUSE", kIdArrayUse, "szPhysMemArrUse");
  }
  if (s.HasField(kArrayErrorCorrection, 1)) {
    OutputDMIDatData(s.buf.U8(kArrayErrorCorrection), "CACHEECC", kIdArrayErrorCorrection,
                     "szPhysMemArrErrCorr");
  }
  if (s.HasField(kArrayMaxCapacity, 4)) {
    MaximumCapacity(s, szStr);
    OutputStringDataId(kIdArrayMaxCapacity, szStr, "szPhysMemArrMaxCap");
  }
  if (s.HasField(kArrayErrorHandle, 2)) {
    ErrorInformation(s.buf.U16(kArrayErrorHandle), kIdArrayErrorNotProvided, kIdArrayNoError,
                     kIdArrayErrorDetected, szStr);
    OutputStringDataId(kIdArrayErrorInformation, szStr, "szPhysMemArrErrInf");
  }
  if (s.HasField(kArrayDevices, 2)) {
    snprintf(szStr, sizeof szStr, "%u", static_cast<unsigned>(s.buf.U16(kArrayDevices)));
    OutputStringDataId(kIdArrayDevices, szStr, "szPhysMemArrNumDev");
  }
  EndStructure();
}

void DecodeMemoryDevice(const DmiStructure& s, DmiDumpState& state) {
  const int device = state.memoryDevices;
  char szIniKey[kIniKeySize];
  char szStr[kRowTextSize];
  OutputStructNameData(kIdDeviceHeading);

  snprintf(szIniKey, sizeof szIniKey, "szMemDev%dHandle", device);
  snprintf(szStr, sizeof szStr, "%04XH", static_cast<unsigned>(s.buf.U16(2)));
  OutputStringDataId(kIdDeviceHandle, szStr, szIniKey);

  if (s.HasField(kDeviceErrorHandle, 2)) {
    snprintf(szIniKey, sizeof szIniKey, "szMemDev%dErrInf", device);
    ErrorInformation(s.buf.U16(kDeviceErrorHandle), kIdDeviceErrorNotProvided, kIdDeviceNoError,
                     kIdDeviceErrorDetected, szStr);
    OutputStringDataId(kIdDeviceErrorInformation, szStr, szIniKey);
  }
  if (s.HasField(kDeviceTotalWidth, 2)) {
    snprintf(szIniKey, sizeof szIniKey, "szMemDev%dTotWidth", device);
    Width(s.buf.U16(kDeviceTotalWidth), szStr);
    OutputStringDataId(kIdTotalWidth, szStr, szIniKey);
  }
  if (s.HasField(kDeviceDataWidth, 2)) {
    snprintf(szIniKey, sizeof szIniKey, "szMemDev%dDataWidth", device);
    Width(s.buf.U16(kDeviceDataWidth), szStr);
    OutputStringDataId(kIdDataWidth, szStr, szIniKey);
  }
  if (s.HasField(kDeviceSize, 2)) {
    snprintf(szIniKey, sizeof szIniKey, "szMemDev%dSize", device);
    DeviceSize(s, szStr);
    OutputStringDataId(kIdSize, szStr, szIniKey);
  }
  if (s.HasField(kDeviceFormFactor, 1)) {
    snprintf(szIniKey, sizeof szIniKey, "szMemDev%dFormFact", device);
    OutputDMIDatData(s.buf.U8(kDeviceFormFactor), "MEMDEVFF", kIdFormFactor, szIniKey);
  }
  if (s.HasField(kDeviceSetField, 1)) {
    snprintf(szIniKey, sizeof szIniKey, "szMemDev%dDevSet", device);
    const unsigned bDeviceSet = s.buf.U8(kDeviceSetField);
    if (bDeviceSet == 0) {
      CopyText(szStr, sizeof szStr, lpszLoadString(kIdNotApplicable));
    } else if (bDeviceSet == 0xFF) {
      CopyText(szStr, sizeof szStr, lpszLoadString(kIdUnknown));
    } else {
      snprintf(szStr, sizeof szStr, "%02XH", bDeviceSet);
    }
    OutputStringDataId(kIdDeviceSet, szStr, szIniKey);
  }
  snprintf(szIniKey, sizeof szIniKey, "szMemDev%dDevLoc", device);
  StringRow(s, kIdDeviceLocation, kDeviceLocator, szIniKey, RowForm::kLine);
  snprintf(szIniKey, sizeof szIniKey, "szMemDev%dBankLoc", device);
  StringRow(s, kIdBankLocation, kBankLocator, szIniKey, RowForm::kLine);
  if (s.HasField(kDeviceMemoryType, 1)) {
    snprintf(szIniKey, sizeof szIniKey, "szMemDev%dMemType", device);
    OutputDMIDatData(s.buf.U8(kDeviceMemoryType), "MEMDEVTYPE", kIdMemoryType, szIniKey);
  }
  if (s.HasField(kDeviceTypeDetail, 2)) {
    OutputStringDataId(kIdDetails, nullptr, nullptr);
    TypeDetails(s.buf.U16(kDeviceTypeDetail), device);
  }
  EndStructure();
  ++state.memoryDevices;
}
