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
#include "qmrkw32.h"
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

// Decimal text of 2 to the power n. Sizes given as a power of two reach far
// beyond 32 bits for large codes (a module size code goes up to 124, the
// controller's maximum up to 255); they are computed in 64 bits while they
// fit and beyond that by doubling a decimal digit string, so every code
// shows its true size.
void PowerOfTwoText(int n, char* out, size_t size) {
  if (size == 0) return;
  if (n < 0) n = 0;
  // Digits, least significant first; 2 to the power 255 has 77.
  unsigned char digits[80];
  size_t count = 0;
  if (n < 64) {
    uint64_t value = uint64_t{1} << n;
    do {
      digits[count++] = static_cast<unsigned char>(value % 10);
      value /= 10;
    } while (value != 0);
  } else {
    digits[count++] = 1;
    for (int i = 0; i < n; ++i) {
      int carry = 0;
      for (size_t d = 0; d < count; ++d) {
        const int v = digits[d] * 2 + carry;
        digits[d] = static_cast<unsigned char>(v % 10);
        carry = v / 10;
      }
      if (carry && count < sizeof digits) digits[count++] = static_cast<unsigned char>(carry);
    }
  }
  size_t o = 0;
  for (size_t d = count; d > 0 && o + 1 < size; --d) out[o++] = static_cast<char>('0' + digits[d - 1]);
  out[o] = '\0';
}

// Formats a caption whose one conversion is an integer with a number given
// as decimal text: the conversion becomes %s (its flags and width dropped).
// A caption of another shape is copied as it stands, as FormatChecked does.
void FormatNumberText(char* out, size_t size, const char* caption, const char* digits) {
  char kinds[4];
  if (!FormatKinds(caption, kinds, sizeof kinds) || strcmp(kinds, "i") != 0) {
    CopyText(out, size, caption);
    return;
  }
  char format[kRowTextSize];
  size_t o = 0;
  for (const char* p = caption; *p && o + 3 < sizeof format; ++p) {
    if (*p != '%') {
      format[o++] = *p;
    } else if (p[1] == '%') {
      format[o++] = '%';
      format[o++] = '%';
      ++p;
    } else {
      // FormatKinds has checked the conversion: flags, width, precision
      // and length letters up to one of these.
      while (p[1] && !strchr("diuxXoc", p[1])) ++p;
      if (!p[1]) break;
      ++p;
      format[o++] = '%';
      format[o++] = 's';
    }
  }
  format[o] = '\0';
  FormatChecked(out, size, format, "s", digits);
}

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
  EmitRow(szStr);
  if (bData && szIniKey) {
    if (n < 32) {
      WritePropertyDword(szIniKey, 1U << n);
    } else {
      WritePropertyString(szIniKey, digits);
    }
  }
}

// Row of a caption with one %s and a chosen text; the property is the text.
void ValueTextRow(unsigned iCaptionId, unsigned iTextId, const char* szIniKey) {
  const Caption text(iTextId);
  char szStr[kRowTextSize];
  FormatChecked(szStr, sizeof szStr, lpszLoadString(iCaptionId), "s", text.text);
  if (bData && szIniKey) WritePropertyString(szIniKey, text.text);
  EmitRow(szStr);
}

// Type 5, error correcting capabilities: one entry per capability, in HTML
// a table of its own under the caption as column header.
void ErrorCorrectionList(int bCapability) {
  const Caption caption(kIdErrCorrCapability);
  if (bEdit) QMRKAddText(&wnd_data, caption.text);
  if (bHTML) {
    QMRKEndTable(&wnd_data);
    QMRKBeginTableTabbedTwoLine(&wnd_data, caption.text, "");
  }
  iCounter = 0;
  for (int bit = 0; bit <= 5; ++bit) {
    if (!(bCapability & (1 << bit))) continue;
    snprintf(szTemp, sizeof szTemp, "szMemCtrlInf_ErrCorrCap%i", iCounter);
    // "Other" only stands alone; next to real capabilities it says nothing.
    if (bit == 0 && bCapability != 1) continue;
    const Caption text(kIdErrCorrOther + static_cast<unsigned>(bit));
    if (bData) WritePropertyString(szTemp, text.text);
    ++iCounter;
    if (bEdit) {
      QMRKAddText(&wnd_data, "\t\t:");
      QMRKAddText(&wnd_data, text.text);
      QMRKAddText(&wnd_data, "\r\n");
    }
    if (bHTML) QMRKAddTabbedTableEntry(&wnd_data, text.text);
  }
  if (bHTML) {
    QMRKEndTable(&wnd_data);
    QMRKBeginTable2(&wnd_data, 0, nullptr);
  }
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
  szTemp[0] = '\0';
  for (int bit = 0; bit <= 4; ++bit) {
    if (!(wSpeeds & (1U << bit))) continue;
    const char* text = ExclusiveBitText(kIdSpeedOther, bit, wSpeeds);
    if (!text) continue;
    Append(szStr, sizeof szStr, text);
    if (bData) Append(szTemp, sizeof szTemp, text);
  }
  char szStr1[kRowTextSize];
  FormatChecked(szStr1, sizeof szStr1, lpszLoadString(kIdSupportedSpeeds), "s", szStr);
  EmitRow(szStr1);
  if (bData) WritePropertyString("szMemCtrlInf_SuppSpd", szTemp);
}

// Type 5, supported memory types: the caption and the texts of the set bits.
void SupportedMemoryTypes(unsigned wTypes) {
  const Caption caption(kIdSupportedMemType);
  if (bEdit) QMRKAddText(&wnd_data, caption.text);
  char szStr[kRowTextSize] = "";
  for (int bit = 0; bit <= 10; ++bit) {
    if (!(wTypes & (1U << bit))) continue;
    const char* text = ExclusiveBitText(kIdMemTypeOther, bit, wTypes);
    if (text) Append(szStr, sizeof szStr, text);
  }
  if (bEdit) QMRKAddText(&wnd_data, szStr);
  if (bHTML) {
    char szStr1[kRowTextSize];
    // Caption and list are each a row long: the joined row is cut.
    if (snprintf(szStr1, sizeof szStr1, "%s%s", caption.text, szStr) < 0) szStr1[0] = '\0';
    QMRKAddTabbedTableEntry(&wnd_data, szStr1);
  }
  if (bData) WritePropertyString("szMemCtrlInf_SuppMemType", szStr);
}

// Type 5, module voltages: bit 0 5 V, bit 1 3.3 V, bit 2 2.9 V. Report text
// lists them after the caption, HTML gives one entry each, and the property
// is written once per voltage (so the last one stays), with a trailing blank.
void ModuleVoltages(int v) {
  static const char* const kVoltages[3] = {"5V", "3.3V", "2.9V"};
  const Caption caption(kIdSupportedVoltage);
  if (bEdit) QMRKAddText(&wnd_data, caption.text);
  char szStr[kRowTextSize];
  for (int bit = 0; bit < 3; ++bit) {
    if (!(v & (1 << bit))) continue;
    if (bEdit) {
      snprintf(szStr, sizeof szStr, "%s ", kVoltages[bit]);
      QMRKAddText(&wnd_data, szStr);
    }
    if (bHTML) {
      snprintf(szStr, sizeof szStr, "%s%s", caption.text, kVoltages[bit]);
      QMRKAddTabbedTableEntry(&wnd_data, szStr);
    }
    if (bData) {
      snprintf(szStr, sizeof szStr, "%s ", kVoltages[bit]);
      WritePropertyString("szMemCtrlInf_SuppVltg", szStr);
    }
  }
}

// Type 6, current module type: of the set bits 2 to 10 the highest one is
// shown; bits 0 and 1 (other, unknown) give nothing.
void ModuleType(unsigned wType, const char* szIniKey) {
  char szStr[kRowTextSize] = "";
  for (int bit = 2; bit <= 10; ++bit) {
    if (!(wType & (1U << bit))) continue;
    CopyText(szStr, sizeof szStr, lpszLoadString(kIdMemTypeOther + static_cast<unsigned>(bit)));
    if (bData) WritePropertyString(szIniKey, szStr);
  }
  if (szStr[0] == '\0') return;
  char szStr1[kRowTextSize];
  FormatChecked(szStr1, sizeof szStr1, lpszLoadString(kIdModuleType), "s", szStr);
  EmitRow(szStr1);
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
  EmitRow(szStr);
}

// Type 7, SRAM type list. The supported list shows "Other" (only alone) with
// a text of its own, the current list with the plain one. The property of
// bit 0 is written whenever the bit is set, shown or not, so the numbering
// of the keys counts it.
void SramList(unsigned wSram, bool current, int k) {
  const Caption caption(current ? kIdCurrentSram : kIdSupportedSram);
  if (bEdit) QMRKAddText(&wnd_data, caption.text);
  if (bHTML) QMRKBeginTableTabbedTwoLine(&wnd_data, caption.text, "");
  iCounter = 0;
  for (int bit = 0; bit <= 6; ++bit) {
    if (!(wSram & (1U << bit))) continue;
    char szStr[kRowTextSize] = "";
    bool shown = true;
    if (bit == 0) {
      shown = wSram == 1;
      if (shown) CopyText(szStr, sizeof szStr, lpszLoadString(current ? kIdErrCorrOther : kIdSramOtherInList));
    } else if (bit == 1) {
      CopyText(szStr, sizeof szStr, lpszLoadString(kIdErrCorrUnknown));
    } else {
      CopyText(szStr, sizeof szStr, lpszLoadString(kIdNonBurst + static_cast<unsigned>(bit - 2)));
    }
    if (bData) {
      if (current) {
        snprintf(szTemp, sizeof szTemp, "szCacheInf%i_CurrSRAMType%i", k, iCounter);
      } else {
        snprintf(szTemp, sizeof szTemp, "szCacheInf%i_SuppSRAMType%i", k, iCounter);
      }
      WritePropertyString(szTemp, bit == 0 ? lpszLoadString(kIdErrCorrOther) : szStr);
      ++iCounter;
    }
    if (!shown) continue;
    if (bEdit) {
      QMRKAddText(&wnd_data, szStr);
      QMRKAddText(&wnd_data, "\r\n");
    }
    if (bHTML) QMRKAddTabbedTableEntry(&wnd_data, szStr);
  }
  if (bHTML) QMRKEndTable(&wnd_data);
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

void PortTableHeading() {
  if (bEdit) {
    QMRKAddText(&wnd_data, lpszLoadString(kIdPortHeading));
    QMRKAddText(&wnd_data, lpszLoadString(kIdPortColumns1));
    QMRKAddText(&wnd_data, lpszLoadString(kIdPortColumns2));
    char szSeparator[kPortSeparatorWidth + 3];
    memset(szSeparator, '-', kPortSeparatorWidth);
    snprintf(szSeparator + kPortSeparatorWidth, 3, "\r\n");
    QMRKAddText(&wnd_data, szSeparator);
  }
  if (bHTML) {
    QMRKAddHeader2(&wnd_data, lpszLoadString(kIdPortHeading), 2);
    const Caption line1(kIdPortColumns1);
    const Caption line2(kIdPortColumns2);
    QMRKBeginTableTabbedTwoLine(&wnd_data, line1.text, line2.text);
  }
}

}  // namespace

void DecodeMemoryControllerInformation(const DmiStructure& s) {
  OutputStructNameData(kIdMemCtrlHeading);
  if (s.HasField(kCtrlErrDetect, 1)) {
    NameRow(kIdErrDetectMethod, "DMIMEMCTRLEDM", s.buf.U8(kCtrlErrDetect), "szMemCtrlInf_ErrDetMeth");
  }
  if (s.HasField(kCtrlErrCorrect, 1)) ErrorCorrectionList(s.buf.U8(kCtrlErrCorrect));
  if (s.HasField(kCtrlSupportedInterleave, 1)) {
    NameRow(kIdSupportedInterleave, "DMIINTERLEAVESUP", s.buf.U8(kCtrlSupportedInterleave),
            "szMemCtrlInf_SuppIntrlv");
  }
  if (s.HasField(kCtrlCurrentInterleave, 1)) {
    NameRow(kIdCurrentInterleave, "DMIINTERLEAVESUP", s.buf.U8(kCtrlCurrentInterleave),
            "szMemCtrlInf_CurrIntrlv");
  }
  if (s.HasField(kCtrlMaxModuleSize, 1)) {
    PowerOfTwoRow(kIdMaxModuleSize, s.buf.U8(kCtrlMaxModuleSize), "dwMemCtrlInf_MaxModSzMB");
  }
  if (s.HasField(kCtrlSupportedSpeeds, 2)) SupportedSpeeds(s.buf.U16(kCtrlSupportedSpeeds));
  if (s.HasField(kCtrlSupportedMemType, 2)) SupportedMemoryTypes(s.buf.U16(kCtrlSupportedMemType));
  if (s.HasField(kCtrlVoltage, 1)) ModuleVoltages(s.buf.U8(kCtrlVoltage));
  szTemp[0] = '\0';
  EndStructure();
}

void DecodeMemoryModuleInformation(const DmiStructure& s) {
  const int k = iCounterForModInfo;
  OutputStructNameData(kIdModuleHeading);
  snprintf(szTemp, sizeof szTemp, "szMemModInf%i_SocTyp", k);
  StringRow(s, kIdSocketType, kModSocket, szTemp);
  if (s.HasField(kModSpeed, 1)) {
    const int ns = s.buf.U8(kModSpeed);
    if (ns != 0) {
      snprintf(szTemp, sizeof szTemp, "dwMemModInf%i_CurrSpdInns", k);
      ValueRow(kIdModuleSpeed, ns, szTemp);
    }
  }
  if (s.HasField(kModType, 2)) {
    snprintf(szTemp, sizeof szTemp, "szMemModInf%i_CurrModType", k);
    ModuleType(s.buf.U16(kModType), szTemp);
  }
  if (s.HasField(kModInstalledSize, 1)) {
    const int installed = s.buf.U8(kModInstalledSize) & kSizeCodeMask;
    snprintf(szTemp, sizeof szTemp, "dwMemModInf%i_InstldSzMB", k);
    InstalledSize(installed, szTemp);
    // No enabled size for a module that is not there, nor for the codes
    // that are no size.
    if (installed != kSizeNotInstalled && s.HasField(kModEnabledSize, 1)) {
      const int enabled = s.buf.U8(kModEnabledSize) & kSizeCodeMask;
      if (enabled < kSizeNotDeterminable) {
        snprintf(szTemp, sizeof szTemp, "dwMemModInf%i_EnbldSzMB", k);
        PowerOfTwoRow(kIdEnabledSize, enabled, szTemp);
      }
    }
  }
  EndStructure();
  ++iCounterForModInfo;
}

void DecodeCacheInformation(const DmiStructure& s) {
  const int k = iCounterForCacheInfo;
  OutputStructNameData(kIdCacheHeading);
  // In HTML the size row ends the structure's table; the SRAM lists have
  // tables of their own.
  bool tableOpen = true;
  snprintf(szTemp, sizeof szTemp, "szCacheInf%i_SocTyp", k);
  StringRow(s, kIdSocketType, kCacheSocket, szTemp);
  if (s.HasField(kCacheConfig, 2)) {
    const unsigned c = s.buf.U16(kCacheConfig);
    snprintf(szTemp, sizeof szTemp, "szCacheInf%i_Config", k);
    ValueTextRow(kIdConfiguration, c & 0x0008 ? kIdSocketed : kIdNotSocketed, szTemp);
    // Location, bits 5 and 6: 0 internal, 1 external; 2 (reserved) and 3
    // (unknown) give no row.
    const unsigned location = (c >> 5) & 3;
    if (location < 2) {
      snprintf(szTemp, sizeof szTemp, "szCacheInf%i_Type", k);
      ValueTextRow(kIdCacheType, location == 0 ? kIdInternal : kIdExternal, szTemp);
    }
    snprintf(szTemp, sizeof szTemp, "szCacheInf%i_Status", k);
    ValueTextRow(kIdCacheStatus, c & 0x0080 ? kIdEnabledAtBoot : kIdDisabledAtBoot, szTemp);
    snprintf(szTemp, sizeof szTemp, "szCacheInf%i_OpMode", k);
    ValueTextRow(kIdCacheMode, kIdWriteThrough + ((c >> 8) & 3), szTemp);
  }
  if (s.HasField(kCacheInstalledSize, 2)) {
    // Bit 15 gives the unit: 64 kB when set, 1 kB when clear.
    const unsigned w = s.buf.U16(kCacheInstalledSize);
    const int sizeK = static_cast<int>(w & 0x8000 ? (w & 0x7FFF) * 64 : w);
    snprintf(szTemp, sizeof szTemp, "dwCacheInf%i_CacheSzKB", k);
    ValueRow(kIdCacheSize, sizeK, szTemp);
    if (bHTML) QMRKEndTable(&wnd_data);
    tableOpen = false;
  }
  if (s.HasField(kCacheSupportedSram, 2)) SramList(s.buf.U16(kCacheSupportedSram), false, k);
  if (s.HasField(kCacheCurrentSram, 2)) SramList(s.buf.U16(kCacheCurrentSram), true, k);
  if (tableOpen) EndStructure();
  ++iCounterForCacheInfo;
}

void DecodePortConnectorInformation(const DmiStructure& s,
                                    int* pbProcessingPortConnInfoStructs) {
  const int k = iCounterForPortConnInfo;
  if (pbProcessingPortConnInfoStructs && *pbProcessingPortConnInfoStructs == 0) {
    PortTableHeading();
    *pbProcessingPortConnInfoStructs = 1;
  }
  char szStr2[kPortLineSize];
  char szStr[kRowTextSize];
  char value[81];
  char name[kDmiDatLineMax + 1];
  // External designator; "-" marks a missing one.
  if (PortString(s, kPortExternalRef, value)) {
    CopyText(szStr, sizeof szStr, value);
    snprintf(szTemp, sizeof szTemp, "szPortConnInf%i_ExtrnDesigntr", k);
    if (bData) WritePropertyString(szTemp, value);
  } else {
    snprintf(szStr, sizeof szStr, "-");
  }
  CopyText(szStr2, sizeof szStr2, szStr);
  // External connector type; the other columns are left empty when missing.
  if (PortName(s, kPortExternalConnType, "DMICONNTYPES", name)) {
    snprintf(szStr, sizeof szStr, "\t%s", name);
    snprintf(szTemp, sizeof szTemp, "szPortConnInf%i_ExtrnConnTyp", k);
    if (bData) WritePropertyString(szTemp, name);
  } else {
    snprintf(szStr, sizeof szStr, "\t%s", sEmpty);
  }
  Append(szStr2, sizeof szStr2, szStr);
  // Internal designator.
  if (PortString(s, kPortInternalRef, value)) {
    snprintf(szStr, sizeof szStr, "\t%s", value);
    snprintf(szTemp, sizeof szTemp, "szPortConnInf%i_IntrnDesigntr", k);
    if (bData) WritePropertyString(szTemp, value);
  } else {
    snprintf(szStr, sizeof szStr, "\t%s", sEmpty);
  }
  Append(szStr2, sizeof szStr2, szStr);
  // Port type.
  if (PortName(s, kPortType, "DMIPORTTYPES", name)) {
    snprintf(szStr, sizeof szStr, "\t%s", name);
    snprintf(szTemp, sizeof szTemp, "szPortConnInf%i_PortType", k);
    if (bData) WritePropertyString(szTemp, name);
  } else {
    snprintf(szStr, sizeof szStr, "\t%s", sEmpty);
  }
  Append(szStr2, sizeof szStr2, szStr);
  if (bEdit) {
    QMRKAddText(&wnd_data, szStr2);
    QMRKAddText(&wnd_data, "\r\n");
  }
  if (bHTML) QMRKAddTabbedTableEntry(&wnd_data, szStr2);
  ++iCounterForPortConnInfo;
}
