// Decoding of the structure types 9 to 13: system slots, on-board devices,
// OEM strings, system configuration options and BIOS language.
//
// As everywhere in the decoder, a field is read only when the structure's
// formatted length covers it. A row whose field lies beyond it is left out
// together with its property; in the slot table such a cell stays empty, so
// the columns keep their places.
#include "dmi_types_9_13.h"

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
  AppendText(szLine, kSlotLineSize, szCell);
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
  const int iString_Head = s.HasField(kSlotDesignation, 1)
                               ? findstring(s.buf, s.buf.U8(kSlotDesignation), s.bLength)
                               : 0;
  char szDesignation[kRowTextSize] = "";
  CopyStructureString(s.buf, iString_Head, szDesignation, sizeof szDesignation);
  AppendText(szStr2, sizeof szStr2, szDesignation);
  if (iString_Head) {
    snprintf(szIniKey, sizeof szIniKey, "szSysSlot%i_Designtn", slot);
    EmitProperty(szIniKey, szDesignation);
  }

  if (s.HasField(kSlotId, 2)) {
    const unsigned wSlotID = s.buf.U16(kSlotId);
    snprintf(szStr, sizeof szStr, "\t%i", static_cast<int>(wSlotID));
    AppendText(szStr2, sizeof szStr2, szStr);
    snprintf(szIniKey, sizeof szIniKey, "dwSysSlot%i_ID", slot);
    EmitPropertyDword(szIniKey, wSlotID);
  } else {
    AppendText(szStr2, sizeof szStr2, "\t");
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
      AppendText(szStr2, sizeof szStr2, szStr);
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
