// Decoding of the structure types 9 to 13, 16 and 17: system slots, on-board
// devices, OEM strings, system configuration options, BIOS language,
// physical memory array and memory device.
//
// As everywhere in the decoder, a field is read only when the structure's
// formatted length covers it. A row whose field lies beyond it is left out
// together with its property; in the slot table such a cell stays empty, so
// the columns keep their places.
#include "dmi_types_9_17.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "format_checked.h"
#include "int_str.h"
#include "string_ids.h"

namespace {

// Type 9 fields.
constexpr size_t kSlotDesignation = 4;
constexpr size_t kSlotType = 5;
constexpr size_t kSlotBusWidth = 6;
constexpr size_t kSlotCurrentUsage = 7;
constexpr size_t kSlotLength = 8;
constexpr size_t kSlotId = 9;
constexpr size_t kSlotCharacteristics = 11;

// Size of a numbered property key.
constexpr size_t kIniKeySize = 64;

// The slot table's separator line under the column header.
constexpr size_t kSlotSeparatorWidth = 239;
// Size of the slot table line.
constexpr size_t kSlotLineSize = 1000;

// Type 10: the device entries follow the header, two bytes each.
constexpr size_t kFirstDevice = 4;
constexpr size_t kDeviceEntrySize = 2;

// Types 11 and 12.
constexpr size_t kStringCount = 4;

// Type 13 fields.
constexpr size_t kInstallableLanguages = 4;
constexpr size_t kCurrentLanguage = 21;
// findstring uses only the low seven bits of a string number, so a set can
// name no more than 127 strings.
constexpr int kMaxStringNumber = 127;

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
constexpr unsigned kDetailNameIds[kLastDetailBit + 1] = {
    0, kIdDetailOther, kIdUnknown, kIdDetailFastPaged, kIdDetailStaticColumn,
    kIdDetailPseudoStatic, kIdDetailRambus, kIdDetailSynchronous, kIdDetailCmos, kIdDetailEdo,
    kIdDetailWindowDram, kIdDetailCacheDram, kIdDetailNonVolatile};

// Appends text to the line of size bytes, cut to fit.
void Append(char* line, size_t size, const char* text) {
  const size_t used = strlen(line);
  if (used + 1 >= size) return;
  CopyText(line + used, size - used, text);
}

// --- system slots ---

// One name cell of the slot line: the DMI.DAT name cut to width characters,
// or an empty cell (and no property) when the field is missing or the table
// names nothing. The key pattern takes the slot's number.
void SlotNameCell(const DmiStructure& s, size_t offset, const char* szSectionName, size_t width,
                  const char* szKeyPattern, int slot, char* szLine) {
  char szName[kRowTextSize] = "";
  const bool named = s.HasField(offset, 1) && LookupName(szSectionName, s.buf.U8(offset), szName);
  szName[std::min(strlen(szName), width)] = '\0';
  char szCell[kRowTextSize];
  if (snprintf(szCell, sizeof szCell, "\t%s", named ? szName : sEmpty) < 0) szCell[0] = '\0';
  Append(szLine, kSlotLineSize, szCell);
  if (named) {
    char szIniKey[kIniKeySize];
    snprintf(szIniKey, sizeof szIniKey, szKeyPattern, slot);
    EmitProperty(szIniKey, szName);
  }
}

// --- OEM strings and configuration options ---

// Rows of the bCount strings of an OEM-strings or configuration-options
// structure. The strings are read one after the other from the string set;
// the walk ends at the end of the set or of the structure buffer, so a count
// larger than the set shows only the strings that exist. A string longer
// than a row holds is cut. With trim, trailing blanks are removed from the
// shown string; the next string is still found by the length as stored.
void CountedStrings(const DmiStructure& s, const char* szKeyPattern, bool trim) {
  if (!s.HasField(kStringCount, 1)) return;
  const int bCount = s.buf.U8(kStringCount);
  const char* szRowFormat = lpszLoadString(kIdStringRow);
  size_t p = s.bLength;
  for (int n = 1; n <= bCount; ++n) {
    // A NUL right after a string's NUL closes the set; at the start of the
    // set, a NUL is an empty first string unless a second NUL follows.
    if (!s.buf.Has(p, 1)) break;
    if (s.buf.U8(p) == 0 && (p != s.bLength || s.buf.U8(p + 1) == 0)) break;
    size_t length = 0;
    while (s.buf.Has(p + length, 1) && s.buf.U8(p + length) != 0) ++length;
    // A string that runs into the end of the buffer is not a string.
    if (!s.buf.Has(p + length, 1)) break;
    char szValue[kRowTextSize];
    const size_t shown = std::min(length, sizeof szValue - 1);
    s.buf.Copy(p, szValue, shown);
    szValue[shown] = '\0';
    BlankStringControls(szValue);
    if (trim) StripTrailingSpaces(szValue);
    const unsigned number = static_cast<unsigned>(n);
    char szStr[kRowTextSize];
    FormatChecked(szStr, sizeof szStr, szRowFormat, "is", number, szValue);
    char szIniKey[kIniKeySize];
    snprintf(szIniKey, sizeof szIniKey, szKeyPattern, number);
    EmitProperty(szIniKey, szValue);
    EmitRow(szStr, RowForm::kClassic);
    p += length + 1;
  }
}

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

void DecodeSystemSlots(const DmiStructure& s, DmiDumpState& state) {
  if (!state.slotTableOpen) {
    // A table still open before the heading is closed first.
    OpenTable(kIdSlotsHeading, kIdSlotsColumns, 0, kSlotSeparatorWidth, true);
    state.slotTableOpen = true;
  }
  const int slot = state.keys->slots;
  char szStr2[kSlotLineSize] = "";
  char szStr[kRowTextSize];
  char szIniKey[kIniKeySize];

  // Designation: an empty cell when the string is missing.
  const int iString_Head =
      s.HasField(kSlotDesignation, 1) ? findstring(s.buf, s.buf.U8(kSlotDesignation), s.bLength) : 0;
  char szDesignation[kRowTextSize] = "";
  CopyStructureString(s.buf, iString_Head, szDesignation, sizeof szDesignation);
  Append(szStr2, sizeof szStr2, szDesignation);
  if (iString_Head) {
    snprintf(szIniKey, sizeof szIniKey, "szSysSlot%i_Designtn", slot);
    EmitProperty(szIniKey, szDesignation);
  }

  if (s.HasField(kSlotId, 2)) {
    const unsigned wSlotID = s.buf.U16(kSlotId);
    snprintf(szStr, sizeof szStr, "\t%i", static_cast<int>(wSlotID));
    Append(szStr2, sizeof szStr2, szStr);
    snprintf(szIniKey, sizeof szIniKey, "dwSysSlot%i_ID", slot);
    EmitPropertyDword(szIniKey, wSlotID);
  } else {
    Append(szStr2, sizeof szStr2, "\t");
  }

  SlotNameCell(s, kSlotType, "DMISLOTTYPE", 9, "szSysSlot%i_Type", slot, szStr2);
  SlotNameCell(s, kSlotBusWidth, "DMISLOTDATABUSWIDTH", 9, "szSysSlot%i_BusWidth", slot, szStr2);
  SlotNameCell(s, kSlotCurrentUsage, "DMICURRENTUSAGE", 13, "szSysSlot%i_CurrUsage", slot, szStr2);
  SlotNameCell(s, kSlotLength, "DMISLOTLEN", 9, "szSysSlot%i_Len", slot, szStr2);

  // Voltage: 5 V (bit 1) wins over 3.3 V (bit 2); without either there is no
  // cell at all.
  if (s.HasField(kSlotCharacteristics, 1)) {
    const int characteristics = s.buf.U8(kSlotCharacteristics) & 7;
    const char* szVoltage = characteristics & 2 ? "5V" : characteristics & 4 ? "3.3V" : nullptr;
    if (szVoltage) {
      snprintf(szStr, sizeof szStr, "\t%s", szVoltage);
      Append(szStr2, sizeof szStr2, szStr);
      snprintf(szIniKey, sizeof szIniKey, "szSysSlot%i_Vltg", slot);
      EmitProperty(szIniKey, szVoltage);
    }
  }

  EmitRow(szStr2, RowForm::kLine);
  ++state.keys->slots;
}

void DecodeOnBoardDevices(const DmiStructure& s) {
  EndStructure();
  bool bOnBoardDevInfo = false;
  // As many whole entries as the formatted area holds.
  const int devices = s.bLength > kFirstDevice
                          ? static_cast<int>((s.bLength - kFirstDevice) / kDeviceEntrySize)
                          : 0;
  for (int i = 0; i < devices; ++i) {
    const size_t entry = kFirstDevice + kDeviceEntrySize * static_cast<size_t>(i);
    if (!s.HasField(entry, kDeviceEntrySize)) break;
    const int bDeviceType = s.buf.U8(entry);
    // A device whose type has no name is left out entirely.
    char szStr1[kRowTextSize];
    if (!LookupName("DMIONBOARDDEVTYPES", bDeviceType & 0x7F, szStr1)) continue;
    if (!bOnBoardDevInfo) {
      OutputStructNameData(kIdOnBoardHeading);
      bOnBoardDevInfo = true;
    }
    char szStr[kRowTextSize];
    FormatChecked(szStr, sizeof szStr, lpszLoadString(kIdDeviceType), "s", szStr1);
    const bool enabled = (bDeviceType & 0x80) != 0;
    char szLine[kRowTextSize];
    snprintf(szLine, sizeof szLine, "%s%s", szStr,
             lpszLoadString(enabled ? kIdDeviceEnabled : kIdDeviceDisabled));
    char szIniKey[kIniKeySize];
    snprintf(szIniKey, sizeof szIniKey, "szOnBrdDevInf%i_DevType", i);
    EmitProperty(szIniKey, szStr1);
    snprintf(szIniKey, sizeof szIniKey, "bOnBrdDevInf%i_Enbld", i);
    EmitPropertyDword(szIniKey, enabled ? 1 : 0);
    EmitRow(szLine, RowForm::kClassic);
    const int iString_Head = findstring(s.buf, s.buf.U8(entry + 1), s.bLength);
    char szDescription[kRowTextSize] = "";
    CopyStructureString(s.buf, iString_Head, szDescription, sizeof szDescription);
    if (iString_Head && szDescription[0] != '\0') {
      FormatChecked(szStr, sizeof szStr, lpszLoadString(kIdDeviceDescription), "s", szDescription);
      EmitRow(szStr, RowForm::kClassic);
      snprintf(szIniKey, sizeof szIniKey, "szOnBrdDevInf%i_Desc", i);
      EmitProperty(szIniKey, szDescription);
    }
  }
  EndStructure();
}

void DecodeOemStrings(const DmiStructure& s) {
  OutputStructNameData(kIdOemHeading);
  CountedStrings(s, "szOEMString%-4u", true);
  EndStructure();
}

void DecodeSystemConfigOptions(const DmiStructure& s) {
  OutputStructNameData(kIdConfigHeading);
  CountedStrings(s, "szSysConfigOptns_String%-4u", false);
  EndStructure();
}

void DecodeBiosLanguage(const DmiStructure& s) {
  OutputStructNameData(kIdLanguageHeading);
  char szValue[kRowTextSize];
  char szStr[kRowTextSize];
  if (s.HasField(kCurrentLanguage, 1)) {
    const int iString_Head = findstring(s.buf, s.buf.U8(kCurrentLanguage), s.bLength);
    CopyStructureString(s.buf, iString_Head, szValue, sizeof szValue);
    if (iString_Head && szValue[0] != '\0') {
      FormatChecked(szStr, sizeof szStr, lpszLoadString(kIdCurrentLanguage), "s", szValue);
      EmitRow(szStr, RowForm::kClassic);
      EmitProperty("szBIOSLangInf_CurrLang", szValue);
    }
  }
  if (s.HasField(kInstallableLanguages, 1)) {
    const int bInstallableLang = s.buf.U8(kInstallableLanguages);
    FormatChecked(szStr, sizeof szStr, lpszLoadString(kIdInstallableLanguages), "i",
                  bInstallableLang);
    EmitRow(szStr, RowForm::kClassic);
    EmitPropertyDword("dwBIOSLangInf_InstlbleLang", static_cast<uint32_t>(bInstallableLang));
    // Missing and empty strings are skipped; the rows keep the string numbers.
    const int last = std::min(bInstallableLang, kMaxStringNumber);
    for (int n = 1; n <= last; ++n) {
      const int iString_Head = findstring(s.buf, n, s.bLength);
      CopyStructureString(s.buf, iString_Head, szValue, sizeof szValue);
      if (!iString_Head || szValue[0] == '\0') continue;
      const unsigned number = static_cast<unsigned>(n);
      FormatChecked(szStr, sizeof szStr, lpszLoadString(kIdLanguageRow), "is", number, szValue);
      EmitRow(szStr, RowForm::kClassic);
      char szIniKey[kIniKeySize];
      snprintf(szIniKey, sizeof szIniKey, "szBIOSLangInf_Lang%-4u", number);
      EmitProperty(szIniKey, szValue);
    }
  }
  EndStructure();
}

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
