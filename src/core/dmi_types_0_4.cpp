// Decoding of the structure types 0 to 4: BIOS, system, base board, system
// enclosure or chassis, and processor.
//
// Every field is read only when the structure's formatted length covers it;
// a row whose field lies beyond it is left out together with its property.
// SMBIOS 2.x structures of these types are long enough for every row, so
// this only matters for truncated or malformed tables.
#include "dmi_types_0_4.h"

#include <climits>
#include <cstdio>

#include "format_checked.h"
#include "int_str.h"
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

// In property output the characteristics are properties (numbered from 0),
// elsewhere rows; a characteristic without text is no row.
void CharacteristicsList(uint32_t dwCharacteristics) {
  int number = 0;
  for (int bit = 0; bit < 32; ++bit) {
    if (!(dwCharacteristics & (1u << bit))) continue;
    const char* szText = CharacteristicText(bit);
    if (!szText) continue;
    char szIniKey[32];
    snprintf(szIniKey, sizeof szIniKey, "szBIOSCharacNo%i", number++);
    EmitProperty(szIniKey, szText);
    if (szText[0] != '\0') ListRow("\t", szText);
  }
}

void SupportedVoltage(int v) {
  const char* szCaption = lpszLoadString(kIdSupportedVoltage);
  if (v & 0x80) {
    // Bits 0 to 6 are the voltage in tenths of a volt.
    const int tenths = v & 0x7F;
    char szVoltage[16];
    snprintf(szVoltage, sizeof szVoltage, "%i.%iV", tenths / 10, tenths % 10);
    const char* const items[] = {szVoltage};
    ItemsRow(szCaption, items, 1, "szProcInf_SuppVltg", true);
    return;
  }
  // Otherwise bits 0 to 2 flag the supported legacy voltages.
  static const char* const kVoltages[3] = {"5V", "3.3V", "2.9V"};
  const char* items[3];
  size_t count = 0;
  for (int bit = 0; bit < 3; ++bit) {
    if (v & (1 << bit)) items[count++] = kVoltages[bit];
  }
  ItemsRow(szCaption, items, count, "szProcInf_SuppVltg", false);
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
  EmitProperty("szProcInf_Status", szState);
  EmitRow(szStr, RowForm::kLine);
}

}  // namespace

void DecodeBiosInformation(const DmiStructure& s) {
  OutputStructNameData(kIdBiosHeading);
  StringRow(s, kIdBiosVendor, kBiosVendor, "szBIOSVendor", RowForm::kClassic);
  StringRow(s, kIdBiosVersion, kBiosVersion, "szBIOSVersion", RowForm::kClassic);
  char szStr[kRowTextSize];
  if (s.HasField(kBiosStartSegment, 2)) {
    const unsigned segment = s.buf.U16(kBiosStartSegment);
    FormatChecked(szStr, sizeof szStr, lpszLoadString(kIdBiosStartSegment), "i", segment);
    EmitRow(szStr, RowForm::kClassic);
    char szValue[16];
    snprintf(szValue, sizeof szValue, "%04X:0000", segment);
    EmitProperty("szBIOSStartSegm", szValue);
  }
  StringRow(s, kIdBiosReleaseDate, kBiosReleaseDate, "szBIOSRelDate", RowForm::kClassic);
  // The ROM size row opens the characteristics: in HTML they get a table of
  // their own under a sub-heading. Without the characteristics field there is
  // no sub-heading either.
  const bool hasCharacteristics = s.HasField(kBiosCharacteristics, 4);
  if (s.HasField(kBiosRomSize, 1)) {
    const int sizeK = BiosRomSizeK(s);
    FormatChecked(szStr, sizeof szStr, lpszLoadString(kIdBiosRomSize), "i", sizeK);
    EmitRow(szStr, RowForm::kClassic);
    if (hasCharacteristics) SubHeading(kIdBiosCharacteristics);
    EmitPropertyDword("dwBIOSROMSzK", static_cast<uint32_t>(sizeK));
  }
  if (hasCharacteristics) CharacteristicsList(s.buf.U32(kBiosCharacteristics));
  EndStructure();
}

void DecodeSystemInformation(const DmiStructure& s) {
  OutputStructNameData(kIdSystemHeading);
  StringRow(s, kIdManufacturer, 4, "szSysInf_Manuf", RowForm::kClassic);
  StringRow(s, kIdSystemProductName, 5, "szSysInf_ProdNm", RowForm::kClassic);
  StringRow(s, kIdVersion, 6, "szSysInf_Version", RowForm::kClassic);
  StringRow(s, kIdSerialNumber, 7, "szSysInf_SrlNo", RowForm::kClassic);
  EndStructure();
}

void DecodeBaseBoardInformation(const DmiStructure& s) {
  OutputStructNameData(kIdBoardHeading);
  StringRow(s, kIdBoardManufacturer, 4, "szBsBrdInf_Manuf", RowForm::kClassic);
  StringRow(s, kIdBoardProductName, 5, "szBsBrdInf_ProdNm", RowForm::kClassic);
  StringRow(s, kIdVersion, 6, "szBsBrdInf_Version", RowForm::kClassic);
  StringRow(s, kIdSerialNumber, 7, "szBsBrdInf_SrlNo", RowForm::kClassic);
  EndStructure();
}

void DecodeSystemEnclosure(const DmiStructure& s) {
  OutputStructNameData(kIdEnclosureHeading);
  StringRow(s, kIdManufacturer, kChassisManufacturer, "szSysEnclOrChass_Manuf", RowForm::kClassic);
  if (s.HasField(kChassisType, 1)) {
    // Bit 7 flags a chassis lock; the type is in bits 0 to 6.
    char szStr1[kRowTextSize];
    if (LookupName("DMICHASSISTYPE", s.buf.U8(kChassisType) & 0x7F, szStr1)) {
      JoinedRow(kIdChassisType, szStr1, "szSysEnclOrChass_ChassType", RowForm::kClassic);
    }
  }
  // Enclosures often carry empty strings here; those rows are left out.
  StringRow(s, kIdVersion, kChassisVersion, "szSysEnclOrChass_Version", RowForm::kClassic, true);
  StringRow(s, kIdSerialNumber, kChassisSerialNumber, "szSysEnclOrChass_SrlNo", RowForm::kClassic,
            true);
  StringRow(s, kIdAssetTag, kChassisAssetTag, "szSysEnclOrChass_AssetTgNo", RowForm::kClassic,
            true);
  EndStructure();
}

void DecodeProcessorInformation(const DmiStructure& s) {
  OutputStructNameData(kIdProcessorHeading);
  StringRow(s, kIdSocketType, kProcSocket, "szProcInf_SocTyp", RowForm::kClassic);
  const bool hasStatus = s.HasField(kProcStatus, 1);
  const int bStatus = s.buf.U8(kProcStatus);
  if (hasStatus) {
    JoinedRow(kIdStatus, lpszLoadString(bStatus & 0x40 ? kIdSocketPopulated : kIdSocketUnpopulated),
              "szProcInf_SocStatus", RowForm::kLine);
  }
  NameRow(s, kIdProcessorType, kProcType, "DMIPROCESSORTYPE", "szProcInf_ProcType",
          RowForm::kClassic);
  if (s.HasField(kProcFamily, 1)) {
    int family = s.buf.U8(kProcFamily);
    // Families beyond the byte's range are given in Processor Family 2, with
    // the old field set to 0xFE; the table lists the two-byte codes too.
    if (family == kFamilyInFamily2 && s.HasField(kProcFamily2, 2)) family = s.buf.U16(kProcFamily2);
    NameRow(kIdProcessorFamily, "DMIPROCESSORFAMILY", family, "szProcInf_ProcFamily",
            RowForm::kClassic);
  }
  // The family row ends without a line break and this caption starts without
  // one, so report text gets it here; it belongs to the row and goes with it.
  StringRow(s, kIdManufacturer, kProcManufacturer, "szProcInf_Manuf", RowForm::kClassic, false,
            "\r\n");
  if (s.HasField(kProcId, 8)) {
    const unsigned long dwLow = s.buf.U32(kProcId);
    const unsigned long dwHigh = s.buf.U32(kProcId + 4);
    char szStr[kRowTextSize];
    FormatChecked(szStr, sizeof szStr, lpszLoadString(kIdProcessorId), "ll", dwLow, dwHigh);
    EmitRow(szStr, RowForm::kClassic);
    char szValue[32];
    snprintf(szValue, sizeof szValue, "%08lXH %08lXH", dwLow, dwHigh);
    EmitProperty("szProcInf_ProcID", szValue);
  }
  StringRow(s, kIdVersion, kProcVersion, "szProcInf_Version", RowForm::kClassic);
  if (s.HasField(kProcVoltage, 1)) SupportedVoltage(s.buf.U8(kProcVoltage));
  SpeedRow(s, kProcExternalClock, kIdExternalClock, "dwProcInf_ExtrnClckMHz");
  SpeedRow(s, kProcMaxSpeed, kIdMaxSpeed, "dwProcInf_MaxSpdMHz");
  SpeedRow(s, kProcCurrentSpeed, kIdCurrentSpeed, "dwProcInf_CurrSpdMHz");
  if (hasStatus) CpuStatus(bStatus);
  NameRow(s, kIdCpuUpgrade, kProcUpgrade, "DMIPROCESSORUPGRADE", "szProcInf_CPUUpgrade",
          RowForm::kClassic);
  EndStructure();
}
