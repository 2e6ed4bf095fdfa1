// Decoding of the structure types 7 and 8: cache and port connector.
//
// As for the other types, a field is read only when the structure's
// formatted length covers it; a row whose field lies beyond it is left out
// together with its property. SMBIOS 2.x structures of these types are long
// enough for every row, so this only matters for truncated or malformed
// tables.
#include "dmi_types_7_8.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "format_checked.h"
#include "int_str.h"
#include "readdat.h"
#include "string_ids.h"

namespace {

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

// Row of a caption with one %s and a chosen text; the property is the text.
void ValueTextRow(unsigned iCaptionId, unsigned iTextId, const char* szIniKey) {
  const Caption text(iTextId);
  char szStr[kRowTextSize];
  FormatChecked(szStr, sizeof szStr, lpszLoadString(iCaptionId), "s", text.text);
  EmitProperty(szIniKey, text.text);
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
        CopyText(szStr, sizeof szStr,
                 lpszLoadString(current ? kIdErrCorrOther : kIdSramOtherInList));
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
  AppendText(szLine, sizeof szLine, "\t");
  AppendText(szLine, sizeof szLine, szCell);
}

}  // namespace

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
