// Decoding of the structure types 5 and 6: memory controller and memory
// module.
//
// As for the other types, a field is read only when the structure's
// formatted length covers it; a row whose field lies beyond it is left out
// together with its property. SMBIOS 2.x structures of these types are long
// enough for every row, so this only matters for truncated or malformed
// tables.
#include "dmi_types_5_6.h"

#include <cstdint>
#include <cstdio>

#include "format_checked.h"
#include "int_str.h"
#include "power_of_two_text.h"
#include "string_ids.h"

namespace {

// Type 5 fields.
constexpr size_t kCtrlErrDetect = 4;
constexpr size_t kCtrlErrCorrect = 5;
constexpr size_t kCtrlSupportedInterleave = 6;
constexpr size_t kCtrlCurrentInterleave = 7;
constexpr size_t kCtrlMaxModuleSize = 8;
constexpr size_t kCtrlSupportedSpeeds = 9;
constexpr size_t kCtrlSupportedMemType = 11;
constexpr size_t kCtrlVoltage = 13;

// Type 6 fields.
constexpr size_t kModSocket = 4;
constexpr size_t kModSpeed = 6;
constexpr size_t kModType = 7;
constexpr size_t kModInstalledSize = 9;
constexpr size_t kModEnabledSize = 10;

// Size codes of a memory module (bits 0 to 6; bit 7 flags a double-bank
// connection and is not shown).
constexpr int kSizeCodeMask = 0x7F;
constexpr int kSizeNotDeterminable = 0x7D;
constexpr int kSizeNotEnabled = 0x7E;
constexpr int kSizeNotInstalled = 0x7F;

// Size of a numbered property key.
constexpr size_t kIniKeySize = 64;

// Value row whose value is 2 to the power n. A value that fits the caption's
// int is formatted as usual; from 2 to the power 31 on it goes in as text,
// in full. The property holds the same number (as text from 2 to the power
// 32 on, where a dword no longer holds it).
void PowerOfTwoRow(unsigned iCaptionId, int n, const char* szIniKey) {
  if (n < 31) {
    ValueRow(iCaptionId, 1 << n, szIniKey);
    return;
  }
  char digits[100];
  PowerOfTwoText(n, digits, sizeof digits);
  char szStr[kRowTextSize];
  FormatNumberText(szStr, sizeof szStr, lpszLoadString(iCaptionId), digits);
  EmitRow(szStr, RowForm::kClassic);
  if (n < 32) {
    EmitPropertyDword(szIniKey, 1U << n);
  } else {
    EmitProperty(szIniKey, digits);
  }
}

// Type 5, error correcting capabilities: one entry per capability, in HTML
// a table of its own under the caption as column header.
void ErrorCorrectionList(int bCapability) {
  const Caption caption(kIdErrCorrCapability);
  OpenList(caption.text, true);
  int number = 0;
  for (int bit = 0; bit <= 5; ++bit) {
    if (!(bCapability & (1 << bit))) continue;
    // "Other" only stands alone; next to real capabilities it says nothing.
    if (bit == 0 && bCapability != 1) continue;
    const Caption text(kIdErrCorrOther + static_cast<unsigned>(bit));
    char szIniKey[kIniKeySize];
    snprintf(szIniKey, sizeof szIniKey, "szMemCtrlInf_ErrCorrCap%i", number++);
    EmitProperty(szIniKey, text.text);
    ListRow("\t\t:", text.text);
  }
  CloseList(true);
}

// Text of bit of a list where bit 0 ("other") and bit 1 ("unknown") count
// only when they are the whole field; null when the bit gives nothing.
const char* ExclusiveBitText(unsigned iFirstId, int bit, unsigned field) {
  if (bit == 0 && field != 1) return nullptr;
  if (bit == 1 && field != 2) return nullptr;
  return lpszLoadString(iFirstId + static_cast<unsigned>(bit));
}

// Type 5, supported speeds: one row, even when no bit gives a text.
void SupportedSpeeds(unsigned wSpeeds) {
  char szStr[kRowTextSize] = "";
  for (int bit = 0; bit <= 4; ++bit) {
    if (!(wSpeeds & (1U << bit))) continue;
    const char* text = ExclusiveBitText(kIdSpeedOther, bit, wSpeeds);
    if (text) AppendText(szStr, sizeof szStr, text);
  }
  char szRow[kRowTextSize];
  FormatChecked(szRow, sizeof szRow, lpszLoadString(kIdSupportedSpeeds), "s", szStr);
  EmitRow(szRow, RowForm::kClassic);
  EmitProperty("szMemCtrlInf_SuppSpd", szStr);
}

// Type 5, supported memory types: the caption and the texts of the set bits.
void SupportedMemoryTypes(unsigned wTypes) {
  char szStr[kRowTextSize] = "";
  for (int bit = 0; bit <= 10; ++bit) {
    if (!(wTypes & (1U << bit))) continue;
    const char* text = ExclusiveBitText(kIdMemTypeOther, bit, wTypes);
    if (text) AppendText(szStr, sizeof szStr, text);
  }
  // Caption and list are each a row long: in HTML the joined row is cut.
  JoinedRow(kIdSupportedMemType, szStr, "szMemCtrlInf_SuppMemType", RowForm::kClassic);
}

// Type 5, module voltages: bit 0 5 V, bit 1 3.3 V, bit 2 2.9 V; the property
// keeps a blank after the voltage.
void ModuleVoltages(int v) {
  static const char* const kVoltages[3] = {"5V", "3.3V", "2.9V"};
  const char* items[3];
  size_t count = 0;
  for (int bit = 0; bit < 3; ++bit) {
    if (v & (1 << bit)) items[count++] = kVoltages[bit];
  }
  const Caption caption(kIdSupportedVoltage);
  ItemsRow(caption.text, items, count, "szMemCtrlInf_SuppVltg", true);
}

// Type 6, current module type: of the set bits 2 to 10 the highest one is
// shown; bits 0 and 1 (other, unknown) give nothing.
void ModuleType(unsigned wType, const char* szIniKey) {
  char szStr[kRowTextSize] = "";
  for (int bit = 2; bit <= 10; ++bit) {
    if (!(wType & (1U << bit))) continue;
    CopyText(szStr, sizeof szStr, lpszLoadString(kIdMemTypeOther + static_cast<unsigned>(bit)));
    EmitProperty(szIniKey, szStr);
  }
  if (szStr[0] == '\0') return;
  char szStr1[kRowTextSize];
  FormatChecked(szStr1, sizeof szStr1, lpszLoadString(kIdModuleType), "s", szStr);
  EmitRow(szStr1, RowForm::kClassic);
}

// Type 6, installed size: a size code's text, without property, or the size.
void InstalledSize(int code, const char* szIniKey) {
  unsigned iTextId = 0;
  switch (code) {
    case kSizeNotDeterminable: iTextId = kIdSizeNotDeterminable; break;
    case kSizeNotEnabled: iTextId = kIdSizeNotEnabled; break;
    case kSizeNotInstalled: iTextId = kIdSizeNotInstalled; break;
    default: PowerOfTwoRow(kIdInstalledSize, code, szIniKey); return;
  }
  // The code texts go into the module type's caption.
  const Caption text(iTextId);
  char szStr[kRowTextSize];
  FormatChecked(szStr, sizeof szStr, lpszLoadString(kIdModuleType), "s", text.text);
  EmitRow(szStr, RowForm::kClassic);
}

}  // namespace

void DecodeMemoryControllerInformation(const DmiStructure& s) {
  OutputStructNameData(kIdMemCtrlHeading);
  NameRow(s, kIdErrDetectMethod, kCtrlErrDetect, "DMIMEMCTRLEDM", "szMemCtrlInf_ErrDetMeth",
          RowForm::kClassic);
  if (s.HasField(kCtrlErrCorrect, 1)) ErrorCorrectionList(s.buf.U8(kCtrlErrCorrect));
  NameRow(s, kIdSupportedInterleave, kCtrlSupportedInterleave, "DMIINTERLEAVESUP",
          "szMemCtrlInf_SuppIntrlv", RowForm::kClassic);
  NameRow(s, kIdCurrentInterleave, kCtrlCurrentInterleave, "DMIINTERLEAVESUP",
          "szMemCtrlInf_CurrIntrlv", RowForm::kClassic);
  if (s.HasField(kCtrlMaxModuleSize, 1)) {
    PowerOfTwoRow(kIdMaxModuleSize, s.buf.U8(kCtrlMaxModuleSize), "dwMemCtrlInf_MaxModSzMB");
  }
  if (s.HasField(kCtrlSupportedSpeeds, 2)) SupportedSpeeds(s.buf.U16(kCtrlSupportedSpeeds));
  if (s.HasField(kCtrlSupportedMemType, 2)) SupportedMemoryTypes(s.buf.U16(kCtrlSupportedMemType));
  if (s.HasField(kCtrlVoltage, 1)) ModuleVoltages(s.buf.U8(kCtrlVoltage));
  EndStructure();
}

void DecodeMemoryModuleInformation(const DmiStructure& s, DmiDumpState& state) {
  const int k = state.keys->modules;
  char szIniKey[kIniKeySize];
  OutputStructNameData(kIdModuleHeading);
  snprintf(szIniKey, sizeof szIniKey, "szMemModInf%i_SocTyp", k);
  StringRow(s, kIdSocketType, kModSocket, szIniKey, RowForm::kClassic);
  if (s.HasField(kModSpeed, 1)) {
    const int ns = s.buf.U8(kModSpeed);
    if (ns != 0) {
      snprintf(szIniKey, sizeof szIniKey, "dwMemModInf%i_CurrSpdInns", k);
      ValueRow(kIdModuleSpeed, ns, szIniKey);
    }
  }
  if (s.HasField(kModType, 2)) {
    snprintf(szIniKey, sizeof szIniKey, "szMemModInf%i_CurrModType", k);
    ModuleType(s.buf.U16(kModType), szIniKey);
  }
  if (s.HasField(kModInstalledSize, 1)) {
    const int installed = s.buf.U8(kModInstalledSize) & kSizeCodeMask;
    snprintf(szIniKey, sizeof szIniKey, "dwMemModInf%i_InstldSzMB", k);
    InstalledSize(installed, szIniKey);
    // No enabled size for a module that is not there, nor for the codes
    // that are no size.
    if (installed != kSizeNotInstalled && s.HasField(kModEnabledSize, 1)) {
      const int enabled = s.buf.U8(kModEnabledSize) & kSizeCodeMask;
      if (enabled < kSizeNotDeterminable) {
        snprintf(szIniKey, sizeof szIniKey, "dwMemModInf%i_EnbldSzMB", k);
        PowerOfTwoRow(kIdEnabledSize, enabled, szIniKey);
      }
    }
  }
  EndStructure();
  ++state.keys->modules;
}
