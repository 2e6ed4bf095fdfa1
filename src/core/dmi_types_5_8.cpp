// Decoding of the structure types 5 to 8: memory controller, memory module,
// cache and port connector.
//
// As for the other types, a field is read only when the structure's
// formatted length covers it; a row whose field lies beyond it is left out
// together with its property. SMBIOS 2.x structures of these types are long
// enough for every row, so this only matters for truncated or malformed
// tables.
#include "dmi_types_5_8.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "format_checked.h"
#include "int_str.h"
#include "power_of_two_text.h"
#include "readdat.h"
#include "sink_state.h"
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

// Type 7 fields.
constexpr size_t kCacheSocket = 4;
constexpr size_t kCacheConfig = 5;
constexpr size_t kCacheInstalledSize = 9;
constexpr size_t kCacheSupportedSram = 11;
constexpr size_t kCacheCurrentSram = 13;

// Type 8 fields.
constexpr size_t kPortInternalRef = 4;
constexpr size_t kPortExternalRef = 6;
constexpr size_t kPortExternalConnType = 7;
constexpr size_t kPortType = 8;

// Connector and port type names are cut to the width of their column.
constexpr size_t kPortNameMax = 13;
// Width of the line under the port-connector table's column header.
constexpr size_t kPortSeparatorWidth = 139;
// One line of the port-connector table.
constexpr size_t kPortLineSize = 1000;
// Size of a numbered property key.
constexpr size_t kIniKeySize = 64;

// Appends text to the NUL-terminated buffer of the given size, cut to fit.
void Append(char* buffer, size_t size, const char* text) {
  const size_t used = strlen(buffer);
  if (used + 1 < size) CopyText(buffer + used, size - used, text);
}

// Copy of a loaded caption, so that it survives the further loads of a list
// (the loader's result buffers rotate).
struct Caption {
  explicit Caption(unsigned id) { snprintf(text, sizeof text, "%s", lpszLoadString(id)); }
  char text[kRowTextSize];
};

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

// Row of a caption with one %s and a chosen text; the property is the text.
void ValueTextRow(unsigned iCaptionId, unsigned iTextId, const char* szIniKey) {
  const Caption text(iTextId);
  char szStr[kRowTextSize];
  FormatChecked(szStr, sizeof szStr, lpszLoadString(iCaptionId), "s", text.text);
  EmitProperty(szIniKey, text.text);
  EmitRow(szStr, RowForm::kClassic);
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
    if (text) Append(szStr, sizeof szStr, text);
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
    if (text) Append(szStr, sizeof szStr, text);
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
    default:
      PowerOfTwoRow(kIdInstalledSize, code, szIniKey);
      return;
  }
  // The code texts go into the module type's caption.
  const Caption text(iTextId);
  char szStr[kRowTextSize];
  FormatChecked(szStr, sizeof szStr, lpszLoadString(kIdModuleType), "s", text.text);
  EmitRow(szStr, RowForm::kClassic);
}

// Type 7, SRAM type list. The supported list shows "Other" (only alone) with
// a text of its own, the current list with the plain one. The property of
// bit 0 is written whenever the bit is set, shown or not, so the numbering
// of the keys counts it.
void SramList(unsigned wSram, bool current, int k) {
  const Caption caption(current ? kIdCurrentSram : kIdSupportedSram);
  OpenList(caption.text, false);
  int number = 0;
  for (int bit = 0; bit <= 6; ++bit) {
    if (!(wSram & (1U << bit))) continue;
    char szStr[kRowTextSize] = "";
    bool shown = true;
    if (bit == 0) {
      shown = wSram == 1;
      if (shown) {
        CopyText(szStr, sizeof szStr, lpszLoadString(current ? kIdErrCorrOther : kIdSramOtherInList));
      }
    } else if (bit == 1) {
      CopyText(szStr, sizeof szStr, lpszLoadString(kIdErrCorrUnknown));
    } else {
      CopyText(szStr, sizeof szStr, lpszLoadString(kIdNonBurst + static_cast<unsigned>(bit - 2)));
    }
    char szIniKey[kIniKeySize];
    snprintf(szIniKey, sizeof szIniKey,
             current ? "szCacheInf%i_CurrSRAMType%i" : "szCacheInf%i_SuppSRAMType%i", k, number++);
    EmitProperty(szIniKey, bit == 0 ? lpszLoadString(kIdErrCorrOther) : szStr);
    if (shown) ListRow("", szStr);
  }
  CloseList(false);
}

// String of a port connector into value (81 bytes); false when the field or
// the string is missing.
bool PortString(const DmiStructure& s, size_t offset, char (&value)[81]) {
  value[0] = '\0';
  if (!s.HasField(offset, 1)) return false;
  const int iString_Head = findstring(s.buf, s.buf.U8(offset), s.bLength);
  if (!iString_Head) return false;
  CopyStructureString(s.buf, iString_Head, value, sizeof value);
  return true;
}

// Name of a port connector's code into name, cut to the column; false when
// the field is missing or the table names nothing.
bool PortName(const DmiStructure& s, size_t offset, const char* szSectionName,
              char (&name)[kDmiDatLineMax + 1]) {
  name[0] = '\0';
  if (!s.HasField(offset, 1)) return false;
  if (!lookup_type(DmiDatFile(), szSectionName, s.buf.U8(offset), name)) {
    return false;
  }
  if (strlen(name) > kPortNameMax) name[kPortNameMax] = '\0';
  return true;
}

// Appends a cell after the first to a port line, behind a tab.
void PortCell(char (&szLine)[kPortLineSize], const char* szCell) {
  Append(szLine, sizeof szLine, "\t");
  Append(szLine, sizeof szLine, szCell);
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

void DecodeCacheInformation(const DmiStructure& s, DmiDumpState& state) {
  const int k = state.keys->caches;
  char szIniKey[kIniKeySize];
  OutputStructNameData(kIdCacheHeading);
  // In HTML the size row ends the structure's table; the SRAM lists have
  // tables of their own.
  bool tableOpen = true;
  snprintf(szIniKey, sizeof szIniKey, "szCacheInf%i_SocTyp", k);
  StringRow(s, kIdSocketType, kCacheSocket, szIniKey, RowForm::kClassic);
  if (s.HasField(kCacheConfig, 2)) {
    const unsigned c = s.buf.U16(kCacheConfig);
    snprintf(szIniKey, sizeof szIniKey, "szCacheInf%i_Config", k);
    ValueTextRow(kIdConfiguration, c & 0x0008 ? kIdSocketed : kIdNotSocketed, szIniKey);
    // Location, bits 5 and 6: 0 internal, 1 external; 2 (reserved) and 3
    // (unknown) give no row.
    const unsigned location = (c >> 5) & 3;
    if (location < 2) {
      snprintf(szIniKey, sizeof szIniKey, "szCacheInf%i_Type", k);
      ValueTextRow(kIdCacheType, location == 0 ? kIdInternal : kIdExternal, szIniKey);
    }
    snprintf(szIniKey, sizeof szIniKey, "szCacheInf%i_Status", k);
    ValueTextRow(kIdCacheStatus, c & 0x0080 ? kIdEnabledAtBoot : kIdDisabledAtBoot, szIniKey);
    snprintf(szIniKey, sizeof szIniKey, "szCacheInf%i_OpMode", k);
    ValueTextRow(kIdCacheMode, kIdWriteThrough + ((c >> 8) & 3), szIniKey);
  }
  if (s.HasField(kCacheInstalledSize, 2)) {
    // Bit 15 gives the unit: 64 kB when set, 1 kB when clear.
    const unsigned w = s.buf.U16(kCacheInstalledSize);
    const int sizeK = static_cast<int>(w & 0x8000 ? (w & 0x7FFF) * 64 : w);
    snprintf(szIniKey, sizeof szIniKey, "dwCacheInf%i_CacheSzKB", k);
    ValueRow(kIdCacheSize, sizeK, szIniKey);
    EndStructure();
    tableOpen = false;
  }
  if (s.HasField(kCacheSupportedSram, 2)) SramList(s.buf.U16(kCacheSupportedSram), false, k);
  if (s.HasField(kCacheCurrentSram, 2)) SramList(s.buf.U16(kCacheCurrentSram), true, k);
  if (tableOpen) EndStructure();
  ++state.keys->caches;
}

void DecodePortConnectorInformation(const DmiStructure& s, DmiDumpState& state) {
  const int k = state.keys->portConnectors;
  if (!state.portTableOpen) {
    OpenTable(kIdPortHeading, kIdPortColumns1, kIdPortColumns2, kPortSeparatorWidth, false);
    state.portTableOpen = true;
  }
  char szLine[kPortLineSize];
  char szIniKey[kIniKeySize];
  char value[81];
  char name[kDmiDatLineMax + 1];
  // External designator; "-" marks a missing one.
  if (PortString(s, kPortExternalRef, value)) {
    CopyText(szLine, sizeof szLine, value);
    snprintf(szIniKey, sizeof szIniKey, "szPortConnInf%i_ExtrnDesigntr", k);
    EmitProperty(szIniKey, value);
  } else {
    CopyText(szLine, sizeof szLine, "-");
  }
  // The other columns are left empty when missing: external connector type,
  // internal designator, port type.
  const bool named = PortName(s, kPortExternalConnType, "DMICONNTYPES", name);
  PortCell(szLine, named ? name : sEmpty);
  if (named) {
    snprintf(szIniKey, sizeof szIniKey, "szPortConnInf%i_ExtrnConnTyp", k);
    EmitProperty(szIniKey, name);
  }
  const bool designated = PortString(s, kPortInternalRef, value);
  PortCell(szLine, designated ? value : sEmpty);
  if (designated) {
    snprintf(szIniKey, sizeof szIniKey, "szPortConnInf%i_IntrnDesigntr", k);
    EmitProperty(szIniKey, value);
  }
  const bool typed = PortName(s, kPortType, "DMIPORTTYPES", name);
  PortCell(szLine, typed ? name : sEmpty);
  if (typed) {
    snprintf(szIniKey, sizeof szIniKey, "szPortConnInf%i_PortType", k);
    EmitProperty(szIniKey, name);
  }
  EmitRow(szLine, RowForm::kLine);
  ++state.keys->portConnectors;
}
