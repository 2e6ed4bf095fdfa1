// Decoding of the structure types 0 to 4: BIOS, system, base board, system
// enclosure or chassis, and processor.
//
// Every field is read only when the structure's formatted length covers it;
// a row whose field lies beyond it is left out together with its property.
// SMBIOS 2.x structures of these types are long enough for every row, so
// this only matters for truncated or malformed tables.
#include <climits>
#include <cstdio>

#include "dmi_rows.h"
#include "format_checked.h"
#include "int_str.h"
#include "qmrkw32.h"
#include "sink_state.h"
#include "string_ids.h"

namespace {

// Type 0 fields.
constexpr size_t kBiosVendor = 4;
constexpr size_t kBiosVersion = 5;
constexpr size_t kBiosStartSegment = 6;
constexpr size_t kBiosReleaseDate = 8;
constexpr size_t kBiosRomSize = 9;
constexpr size_t kBiosCharacteristics = 10;
constexpr size_t kBiosExtendedRomSize = 0x18;

// Type 3 fields.
constexpr size_t kChassisManufacturer = 4;
constexpr size_t kChassisType = 5;
constexpr size_t kChassisVersion = 6;
constexpr size_t kChassisSerialNumber = 7;
constexpr size_t kChassisAssetTag = 8;

// Type 4 fields.
constexpr size_t kProcSocket = 4;
constexpr size_t kProcType = 5;
constexpr size_t kProcFamily = 6;
constexpr size_t kProcManufacturer = 7;
constexpr size_t kProcId = 8;
constexpr size_t kProcVersion = 16;
constexpr size_t kProcVoltage = 17;
constexpr size_t kProcExternalClock = 18;
constexpr size_t kProcMaxSpeed = 20;
constexpr size_t kProcCurrentSpeed = 22;
constexpr size_t kProcStatus = 24;
constexpr size_t kProcUpgrade = 25;
constexpr size_t kProcFamily2 = 0x28;

// Family code telling that the family is in the 16-bit Processor Family 2
// field.
constexpr int kFamilyInFamily2 = 0xFE;

// ROM size in K. Firmware with a ROM of 16 MB or more sets the one-byte size
// to 0xFF and gives the real size in the Extended BIOS ROM Size field (bits
// 0 to 13 the size, bits 14 and 15 its unit: 0 MB, 1 GB). Structures too short
// for that field, reserved units and sizes that do not fit the row's number
// keep the classic (n + 1) x 64K.
int BiosRomSizeK(const DmiStructure& s) {
  const int romSize = s.buf.U8(kBiosRomSize);
  const int classic = (romSize + 1) * 64;
  if (romSize != 0xFF || !s.HasField(kBiosExtendedRomSize, 2)) return classic;
  const unsigned extended = s.buf.U16(kBiosExtendedRomSize);
  const long long size = extended & 0x3FFF;
  long long sizeK;
  switch (extended >> 14) {
    case 0: sizeK = size * 1024; break;
    case 1: sizeK = size * 1024 * 1024; break;
    default: return classic;
  }
  return sizeK <= INT_MAX ? static_cast<int>(sizeK) : classic;
}

// Text of characteristic bit i of the low 32 bits, or null when the bit has
// none: bits 0 and 1 are reserved, and ISA (bit 4) and PCI (bit 7), which
// every machine of this kind has, are not listed.
const char* CharacteristicText(int bit) {
  if (bit == 0 || bit == 1 || bit == 4 || bit == 7) return nullptr;
  // The texts are consecutive ids for bits 2 and 3, 5 and 6, and 8 on.
  if (bit < 4) return lpszLoadString(kIdBiosCharUnknown + (bit - 2));
  if (bit < 7) return lpszLoadString(kIdBiosCharMca + (bit - 5));
  return lpszLoadString(kIdBiosCharPcmcia + (bit - 8));
}

void CharacteristicsList(uint32_t dwCharacteristics) {
  iCounter = 0;
  for (int bit = 0; bit < 32; ++bit) {
    if (!(dwCharacteristics & (1u << bit))) continue;
    const char* szText = CharacteristicText(bit);
    if (!szText) continue;
    if (bData) {
      // In property output the characteristics are properties, not rows.
      snprintf(szTemp, sizeof szTemp, "szBIOSCharacNo%i", iCounter);
      ++iCounter;
      WritePropertyString(szTemp, szText);
      continue;
    }
    if (szText[0] == '\0') continue;
    if (bEdit) {
      QMRKAddText(&wnd_data, "\t");
      QMRKAddText(&wnd_data, szText);
      QMRKAddText(&wnd_data, "\r\n");
    }
    if (bHTML) QMRKAddTabbedTableEntry(&wnd_data, szText);
  }
}

void SupportedVoltage(int v) {
  const char* szCaption = lpszLoadString(kIdSupportedVoltage);
  char szStr[kRowTextSize];
  if (v & 0x80) {
    // Bits 0 to 6 are the voltage in tenths of a volt.
    const int tenths = v & 0x7F;
    if (bEdit) {
      QMRKAddText(&wnd_data, szCaption);
      snprintf(szStr, sizeof szStr, "%i.%iV ", tenths / 10, tenths % 10);
      QMRKAddText(&wnd_data, szStr);
    }
    if (bHTML) {
      snprintf(szStr, sizeof szStr, "%s%i.%iV", szCaption, tenths / 10, tenths % 10);
      QMRKAddTabbedTableEntry(&wnd_data, szStr);
    }
    if (bData) {
      snprintf(szTemp, sizeof szTemp, "%i.%iV ", tenths / 10, tenths % 10);
      WritePropertyString("szProcInf_SuppVltg", szTemp);
    }
    return;
  }
  // Otherwise bits 0 to 2 flag the supported legacy voltages.
  static const char* const kVoltages[3] = {"5V", "3.3V", "2.9V"};
  if (bEdit) QMRKAddText(&wnd_data, szCaption);
  for (int bit = 0; bit < 3; ++bit) {
    if (!(v & (1 << bit))) continue;
    if (bEdit) {
      snprintf(szStr, sizeof szStr, "%s ", kVoltages[bit]);
      QMRKAddText(&wnd_data, szStr);
    }
    if (bHTML) {
      snprintf(szStr, sizeof szStr, "%s%s", szCaption, kVoltages[bit]);
      QMRKAddTabbedTableEntry(&wnd_data, szStr);
    }
    if (bData) WritePropertyString("szProcInf_SuppVltg", kVoltages[bit]);
  }
}

void SpeedRow(const DmiStructure& s, size_t offset, unsigned iCaptionId, const char* szIniKey) {
  if (!s.HasField(offset, 2)) return;
  const int mhz = s.buf.U16(offset);
  if (mhz != 0) ValueRow(iCaptionId, mhz, szIniKey);
}

void CpuStatus(int bStatus) {
  // 1 to 4 have texts 3067 to 3070; 0 and 5 to 7 are "unknown".
  const int state = bStatus & 7;
  const char* szState =
      lpszLoadString(state >= 1 && state <= 4 ? kIdCpuStatusUnknown + state : kIdCpuStatusUnknown);
  char szStr[kRowTextSize];
  snprintf(szStr, sizeof szStr, "%s%s", lpszLoadString(kIdStatus), szState);
  if (bData) WritePropertyString("szProcInf_Status", szState);
  if (bEdit) {
    QMRKAddText(&wnd_data, szStr);
    QMRKAddText(&wnd_data, "\r\n");
  }
  if (bHTML) QMRKAddTabbedTableEntry(&wnd_data, szStr);
}

}  // namespace

void DecodeBiosInformation(const DmiStructure& s) {
  OutputStructNameData(kIdBiosHeading);
  StringRow(s, kIdBiosVendor, kBiosVendor, "szBIOSVendor");
  StringRow(s, kIdBiosVersion, kBiosVersion, "szBIOSVersion");
  char szStr[kRowTextSize];
  if (s.HasField(kBiosStartSegment, 2)) {
    const unsigned segment = s.buf.U16(kBiosStartSegment);
    FormatChecked(szStr, sizeof szStr, lpszLoadString(kIdBiosStartSegment), "i", segment);
    EmitRow(szStr);
    if (bData) {
      snprintf(szTemp, sizeof szTemp, "%04X:0000", segment);
      WritePropertyString("szBIOSStartSegm", szTemp);
    }
  }
  StringRow(s, kIdBiosReleaseDate, kBiosReleaseDate, "szBIOSRelDate");
  // The ROM size row opens the characteristics: in HTML they get a table of
  // their own under a sub-heading. Without the characteristics field there is
  // no sub-heading either.
  const bool hasCharacteristics = s.HasField(kBiosCharacteristics, 4);
  if (s.HasField(kBiosRomSize, 1)) {
    const int sizeK = BiosRomSizeK(s);
    FormatChecked(szStr, sizeof szStr, lpszLoadString(kIdBiosRomSize), "i", sizeK);
    if (bEdit) {
      QMRKAddText(&wnd_data, szStr);
      if (hasCharacteristics) QMRKAddText(&wnd_data, lpszLoadString(kIdBiosCharacteristics));
    }
    if (bHTML) {
      QMRKAddTabbedTableEntry(&wnd_data, szStr);
      if (hasCharacteristics) {
        QMRKEndTable(&wnd_data);
        QMRKAddHeader2(&wnd_data, lpszLoadString(kIdBiosCharacteristics), 3);
        QMRKBeginTable(&wnd_data, 0, nullptr);
      }
    }
    if (bData) WritePropertyDword("dwBIOSROMSzK", static_cast<uint32_t>(sizeK));
  }
  if (hasCharacteristics) CharacteristicsList(s.buf.U32(kBiosCharacteristics));
  EndStructure();
}

void DecodeSystemInformation(const DmiStructure& s) {
  OutputStructNameData(kIdSystemHeading);
  StringRow(s, kIdManufacturer, 4, "szSysInf_Manuf");
  StringRow(s, kIdSystemProductName, 5, "szSysInf_ProdNm");
  StringRow(s, kIdVersion, 6, "szSysInf_Version");
  StringRow(s, kIdSerialNumber, 7, "szSysInf_SrlNo");
  EndStructure();
}

void DecodeBaseBoardInformation(const DmiStructure& s) {
  OutputStructNameData(kIdBoardHeading);
  StringRow(s, kIdBoardManufacturer, 4, "szBsBrdInf_Manuf");
  StringRow(s, kIdBoardProductName, 5, "szBsBrdInf_ProdNm");
  StringRow(s, kIdVersion, 6, "szBsBrdInf_Version");
  StringRow(s, kIdSerialNumber, 7, "szBsBrdInf_SrlNo");
  EndStructure();
}

void DecodeSystemEnclosure(const DmiStructure& s) {
  OutputStructNameData(kIdEnclosureHeading);
  StringRow(s, kIdManufacturer, kChassisManufacturer, "szSysEnclOrChass_Manuf");
  if (s.HasField(kChassisType, 1)) {
    // Bit 7 flags a chassis lock; the type is in bits 0 to 6.
    char szStr1[kRowTextSize];
    if (LookupName("DMICHASSISTYPE", s.buf.U8(kChassisType) & 0x7F, szStr1)) {
      JoinedRow(kIdChassisType, szStr1, "szSysEnclOrChass_ChassType", false);
    }
  }
  // Enclosures often carry empty strings here; those rows are left out.
  StringRow(s, kIdVersion, kChassisVersion, "szSysEnclOrChass_Version", true);
  StringRow(s, kIdSerialNumber, kChassisSerialNumber, "szSysEnclOrChass_SrlNo", true);
  StringRow(s, kIdAssetTag, kChassisAssetTag, "szSysEnclOrChass_AssetTgNo", true);
  EndStructure();
}

void DecodeProcessorInformation(const DmiStructure& s) {
  OutputStructNameData(kIdProcessorHeading);
  StringRow(s, kIdSocketType, kProcSocket, "szProcInf_SocTyp");
  const bool hasStatus = s.HasField(kProcStatus, 1);
  const int bStatus = s.buf.U8(kProcStatus);
  if (hasStatus) {
    JoinedRow(kIdStatus, lpszLoadString(bStatus & 0x40 ? kIdSocketPopulated : kIdSocketUnpopulated),
              "szProcInf_SocStatus", true);
  }
  if (s.HasField(kProcType, 1)) {
    NameRow(kIdProcessorType, "DMIPROCESSORTYPE", s.buf.U8(kProcType), "szProcInf_ProcType");
  }
  if (s.HasField(kProcFamily, 1)) {
    int family = s.buf.U8(kProcFamily);
    // Families beyond the byte's range are given in Processor Family 2, with
    // the old field set to 0xFE; the table lists the two-byte codes too.
    if (family == kFamilyInFamily2 && s.HasField(kProcFamily2, 2)) family = s.buf.U16(kProcFamily2);
    NameRow(kIdProcessorFamily, "DMIPROCESSORFAMILY", family, "szProcInf_ProcFamily");
  }
  // The family row ends without a line break and this caption starts without
  // one, so report text gets it here; it belongs to the row and goes with it.
  StringRow(s, kIdManufacturer, kProcManufacturer, "szProcInf_Manuf", false, "\r\n");
  if (s.HasField(kProcId, 8)) {
    const unsigned long dwLow = s.buf.U32(kProcId);
    const unsigned long dwHigh = s.buf.U32(kProcId + 4);
    char szStr[kRowTextSize];
    FormatChecked(szStr, sizeof szStr, lpszLoadString(kIdProcessorId), "ll", dwLow, dwHigh);
    EmitRow(szStr);
    if (bData) {
      snprintf(szTemp, sizeof szTemp, "%08lXH %08lXH", dwLow, dwHigh);
      WritePropertyString("szProcInf_ProcID", szTemp);
    }
  }
  StringRow(s, kIdVersion, kProcVersion, "szProcInf_Version");
  if (s.HasField(kProcVoltage, 1)) SupportedVoltage(s.buf.U8(kProcVoltage));
  SpeedRow(s, kProcExternalClock, kIdExternalClock, "dwProcInf_ExtrnClckMHz");
  SpeedRow(s, kProcMaxSpeed, kIdMaxSpeed, "dwProcInf_MaxSpdMHz");
  SpeedRow(s, kProcCurrentSpeed, kIdCurrentSpeed, "dwProcInf_CurrSpdMHz");
  if (hasStatus) CpuStatus(bStatus);
  if (s.HasField(kProcUpgrade, 1)) {
    NameRow(kIdCpuUpgrade, "DMIPROCESSORUPGRADE", s.buf.U8(kProcUpgrade), "szProcInf_CPUUpgrade");
  }
  EndStructure();
}
