// Decoding of the structure types 22 to 25: portable battery, system reset,
// hardware security and system power controls.
//
// Each structure gives its heading and then one row per field through the
// shared row helpers (report text with a line break, an HTML table entry, or
// a property holding the bare value). A field is read only when the
// structure's formatted length covers it; a row whose field lies beyond it is
// left out together with its property. That is how the older, shorter
// layouts come out: an SMBIOS 2.1 battery (16 bytes) shows no OEM number.
#include "dmi_types_22_25.h"

#include <cstdint>
#include <cstdio>

#include "dump_reader.h"
#include "int_str.h"
#include "string_ids.h"

namespace {

// A byte field that means "unknown".
constexpr uint8_t kByteUnknown = 0xFF;

// Type 22 fields; those from kBatterySbdsSerial on came with SMBIOS 2.2.
constexpr size_t kBatteryLocation = 4;
constexpr size_t kBatteryManufacturer = 5;
constexpr size_t kBatteryDate = 6;
constexpr size_t kBatterySerial = 7;
constexpr size_t kBatteryDeviceName = 8;
constexpr size_t kBatteryChemistry = 9;
constexpr size_t kBatteryCapacity = 10;
constexpr size_t kBatteryVoltage = 12;
constexpr size_t kBatterySbdsVersion = 14;
constexpr size_t kBatteryMaxError = 15;
constexpr size_t kBatterySbdsSerial = 16;
constexpr size_t kBatterySbdsDate = 18;
constexpr size_t kBatterySbdsChemistry = 20;
constexpr size_t kBatteryCapacityMultiplier = 21;
constexpr size_t kBatteryOemSpecific = 22;
// Chemistry code telling that the SBDS chemistry string names it.
constexpr int kChemistryUnknown = 2;
// First SMBIOS version with the SBDS fields and the capacity multiplier.
constexpr uint8_t kSbdsRevision = 0x22;

// Type 23 fields.
constexpr size_t kResetCapabilities = 4;
constexpr size_t kResetCount = 5;
constexpr size_t kResetLimit = 7;
constexpr size_t kResetTimerInterval = 9;
constexpr size_t kResetTimeout = 11;
constexpr unsigned kWordUnknown = 0xFFFF;

// Type 24 field: four 2-bit statuses.
constexpr size_t kSecuritySettings = 4;

// Type 25 fields: month, day, hour, minute and second, BCD.
constexpr size_t kPowerOnMonth = 4;
constexpr size_t kPowerOnFields = 5;

// A row whose value is the "Unknown" text.
void UnknownRow(unsigned iCaptionId, const char* szIniKey) {
  OutputStringDataId(iCaptionId, lpszLoadString(kIdUnknown), szIniKey);
}

// Reset count or limit, or in minutes the timer interval or timeout: 0xFFFF
// unknown.
void ResetWordRow(const DmiStructure& s, size_t offset, unsigned iCaptionId, bool minutes,
                  const char* szIniKey) {
  if (!s.HasField(offset, 2)) return;
  const unsigned value = s.buf.U16(offset);
  if (value == kWordUnknown) {
    UnknownRow(iCaptionId, szIniKey);
    return;
  }
  char szStr[kRowTextSize];
  if (minutes) {
    snprintf(szStr, sizeof szStr, "%u %s", value,
             lpszLoadString(value == 1 ? kIdMinute : kIdMinutes));
  } else {
    snprintf(szStr, sizeof szStr, "%u", value);
  }
  OutputStringDataId(iCaptionId, szStr, szIniKey);
}

// Two BCD digits of a power-on field into a 3-character text, or "??" when
// the value lies outside [low, high] or a digit is not decimal.
void BcdField(uint8_t value, unsigned low, unsigned high, char (&text)[3]) {
  snprintf(text, sizeof text, "??");
  if ((value >> 4) > 9 || (value & 0x0F) > 9) return;
  if (value < low || value > high) return;
  snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value));
}

}  // namespace

// The SBDS fields and the capacity multiplier count from SMBIOS 2.2 on, and
// only where the structure holds them: a structure in the shorter 2.1 layout
// is read by the 2.1 rules whatever version the table claims (a capacity
// without multiplier is in plain milliwatt-hours, a chemistry code 2 is named
// from the table, a date or serial number without string has no row).
void DecodePortableBattery(const DmiStructure& s) {
  const bool sbds = g_bDMIBIOSRevision >= kSbdsRevision;
  char szStr[kRowTextSize];
  OutputStructNameData(kIdBatteryHeading);
  StringRow(s, kIdBatteryLocation, kBatteryLocation, "szBattLoc", RowForm::kLine);
  StringRow(s, kIdBatteryManufacturer, kBatteryManufacturer, "szBattManuf", RowForm::kLine);
  if (s.HasField(kBatteryDate, 1)) {
    if (s.buf.U8(kBatteryDate) == 0 && sbds && s.HasField(kBatterySbdsDate, 2)) {
      // Packed date: bits 0 to 4 day, 5 to 8 month, 9 to 15 years since 1980.
      const unsigned date = s.buf.U16(kBatterySbdsDate);
      snprintf(szStr, sizeof szStr, "%u/%u/%u", (date >> 5) & 0x0F, date & 0x1F,
               (date >> 9) + 1980);
      OutputStringDataId(kIdBatteryDate, szStr, "szBattManufDate");
    } else {
      StringRow(s, kIdBatteryDate, kBatteryDate, "szBattManufDate", RowForm::kLine);
    }
  }
  if (s.HasField(kBatterySerial, 1)) {
    if (s.buf.U8(kBatterySerial) == 0 && sbds && s.HasField(kBatterySbdsSerial, 2)) {
      const unsigned serial = s.buf.U16(kBatterySbdsSerial);
      snprintf(szStr, sizeof szStr, "%04XH (%u)", serial, serial);
      OutputStringDataId(kIdBatterySerial, szStr, "szBattSerialNo");
    } else {
      StringRow(s, kIdBatterySerial, kBatterySerial, "szBattSerialNo", RowForm::kLine);
    }
  }
  StringRow(s, kIdBatteryDeviceName, kBatteryDeviceName, "szBattDevName", RowForm::kLine);
  if (s.HasField(kBatteryChemistry, 1)) {
    const int chemistry = s.buf.U8(kBatteryChemistry);
    if (chemistry == kChemistryUnknown && sbds && s.HasField(kBatterySbdsChemistry, 1)) {
      StringRow(s, kIdBatteryChemistry, kBatterySbdsChemistry, "szBattDevChem", RowForm::kLine);
    } else {
      OutputDMIDatData(chemistry, "BATTYP", kIdBatteryChemistry, "szBattDevChem");
    }
  }
  if (s.HasField(kBatteryCapacity, 2)) {
    // 16 bits times 8 bits: the product fits in 32 bits.
    uint32_t capacity = s.buf.U16(kBatteryCapacity);
    if (capacity != 0 && sbds && s.HasField(kBatteryCapacityMultiplier, 1)) {
      capacity *= s.buf.U8(kBatteryCapacityMultiplier);
    }
    if (capacity == 0) {
      UnknownRow(kIdBatteryCapacity, "szBattCap");
    } else {
      snprintf(szStr, sizeof szStr, "%lu mWh", static_cast<unsigned long>(capacity));
      OutputStringDataId(kIdBatteryCapacity, szStr, "szBattCap");
    }
  }
  if (s.HasField(kBatteryVoltage, 2)) {
    const unsigned long voltage = s.buf.U16(kBatteryVoltage);
    if (voltage == 0) {
      UnknownRow(kIdBatteryVoltage, "szBattVolt");
    } else {
      snprintf(szStr, sizeof szStr, "%lu mV", voltage);
      OutputStringDataId(kIdBatteryVoltage, szStr, "szBattVolt");
    }
  }
  StringRow(s, kIdBatterySbdsVersion, kBatterySbdsVersion, "szBattSBDSVer", RowForm::kLine);
  if (s.HasField(kBatteryMaxError, 1)) {
    const unsigned maxError = s.buf.U8(kBatteryMaxError);
    if (maxError == kByteUnknown) {
      UnknownRow(kIdBatteryMaxError, "szBattMaxDataErr");
    } else {
      snprintf(szStr, sizeof szStr, "%u %%", maxError);
      OutputStringDataId(kIdBatteryMaxError, szStr, "szBattMaxDataErr");
    }
  }
  if (s.HasField(kBatteryOemSpecific, 4)) {
    snprintf(szStr, sizeof szStr, "%08lXH",
             static_cast<unsigned long>(s.buf.U32(kBatteryOemSpecific)));
    OutputStringDataId(kIdBatteryOemNumber, szStr, "szBattOEMCustomNo");
  }
  EndStructure();
}

void DecodeSystemReset(const DmiStructure& s) {
  OutputStructNameData(kIdResetHeading);
  if (s.HasField(kResetCapabilities, 1)) {
    const unsigned caps = s.buf.U8(kResetCapabilities);
    OutputStringDataId(kIdResetAuto, lpszLoadString(caps & 0x01 ? kIdEnabled : kIdDisabled),
                       "szSysResetCapAuto");
    OutputStringDataId(kIdResetBootOption, lpszLoadString(kIdBootOptionFirst + ((caps >> 1) & 3)),
                       "szSysResetBootOpt");
    OutputStringDataId(kIdResetBootOptionOnLimit,
                       lpszLoadString(kIdBootOptionFirst + ((caps >> 3) & 3)),
                       "szSysResetBootOptOnLim");
    OutputStringDataId(kIdResetWatchdog, lpszLoadString(caps & 0x20 ? kIdPresent : kIdNotPresent),
                       "szSysResetWatchdog");
  }
  ResetWordRow(s, kResetCount, kIdResetCount, false, "szSysResetCount");
  ResetWordRow(s, kResetLimit, kIdResetLimit, false, "szSysResetLimit");
  ResetWordRow(s, kResetTimerInterval, kIdResetTimerInterval, true, "szSysResetTimerInter");
  ResetWordRow(s, kResetTimeout, kIdResetTimeout, true, "szSysResetTimeout");
  EndStructure();
}

void DecodeHardwareSecurity(const DmiStructure& s) {
  OutputStructNameData(kIdSecurityHeading);
  if (s.HasField(kSecuritySettings, 1)) {
    const unsigned settings = s.buf.U8(kSecuritySettings);
    OutputStringDataId(kIdSecurityFrontPanel, GetSecurityStatus(settings & 3),
                       "szHardSecFrntPanReset");
    OutputStringDataId(kIdSecurityAdmin, GetSecurityStatus((settings >> 2) & 3),
                       "szHardSecAdminPswdStat");
    OutputStringDataId(kIdSecurityKeyboard, GetSecurityStatus((settings >> 4) & 3),
                       "szHardSecKybrdPswdStat");
    OutputStringDataId(kIdSecurityPowerOn, GetSecurityStatus((settings >> 6) & 3),
                       "szHardSecPwrOnPswdStat");
  }
  EndStructure();
}

void DecodeSystemPowerControls(const DmiStructure& s) {
  OutputStructNameData(kIdPowerHeading);
  // The time is one row of five fields; it needs all of them.
  if (s.HasField(kPowerOnMonth, kPowerOnFields)) {
    char szMonth[3], szDay[3], szHour[3], szMinute[3], szSecond[3];
    BcdField(s.buf.U8(kPowerOnMonth), 0x01, 0x12, szMonth);
    BcdField(s.buf.U8(kPowerOnMonth + 1), 0x01, 0x31, szDay);
    BcdField(s.buf.U8(kPowerOnMonth + 2), 0x00, 0x23, szHour);
    BcdField(s.buf.U8(kPowerOnMonth + 3), 0x00, 0x59, szMinute);
    BcdField(s.buf.U8(kPowerOnMonth + 4), 0x00, 0x59, szSecond);
    char szStr[kRowTextSize];
    snprintf(szStr, sizeof szStr, "%s/%s %s:%s:%s", szMonth, szDay, szHour, szMinute, szSecond);
    OutputStringDataId(kIdPowerOnTime, szStr, "szSchedPwrOnTime");
  }
  EndStructure();
}
