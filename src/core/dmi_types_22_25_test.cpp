// Decoding of battery, reset, security and power control structures in the
// three sinks: window text, HTML table entries and properties.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode_late_test.h"
#include "dump_builder.h"

namespace {

using namespace decode_late;

TEST_F(DecodeLate, BatteryRevisionRules) {
  struct Case {
    const char* name;
    uint8_t revision;
    BatteryFields b;
    const char *date, *serial, *chemistry, *capacity;
    // clang-format off
  } cases[] = {
      {"2.2 uses the SBDS fields and the multiplier", 0x22, {}, "1/1/2001", "1234H (4660)",
       "LION", "44000 mWh"},
      {"2.1 has no SBDS fields", 0x21, {}, "<none>", "<none>", "Unknown", "4400 mWh"},
      {"strings win over SBDS fields", 0x30,
       [] { BatteryFields b; b.date = 6; b.serial = 7; b.chemistry = 6; return b; }(),
       "04/02/99", "B-77", "Lithium-ion", "44000 mWh"},
      {"strings at 2.1", 0x21,
       [] { BatteryFields b; b.date = 6; b.serial = 7; b.chemistry = 6; return b; }(),
       "04/02/99", "B-77", "Lithium-ion", "4400 mWh"},
      {"multiplier 0 gives Unknown", 0x22,
       [] { BatteryFields b; b.multiplier = 0; return b; }(), "1/1/2001", "1234H (4660)",
       "LION", "Unknown"},
      {"capacity 0 gives Unknown", 0x21,
       [] { BatteryFields b; b.capacity = 0; return b; }(), "<none>", "<none>", "Unknown",
       "Unknown"},
      {"largest capacity does not wrap", 0x22,
       [] { BatteryFields b; b.capacity = 0xFFFF; b.multiplier = 0xFF; return b; }(),
       "1/1/2001", "1234H (4660)", "LION", "16711425 mWh"},
      {"missing SBDS chemistry string leaves the row out", 0x22,
       [] { BatteryFields b; b.sbdsChemistry = 0; return b; }(), "1/1/2001", "1234H (4660)",
       "<none>", "44000 mWh"},
      {"packed date extremes", 0x22,
       [] { BatteryFields b; b.sbdsDate = 0xFFFF; b.sbdsSerial = 0; return b; }(),
       "15/31/2107", "0000H (0)", "LION", "44000 mWh"},
  };
  // clang-format on
  for (const Case& c : cases) {
    g_bDMIBIOSRevision = c.revision;
    Ini({Battery(c.b)});
    EXPECT_EQ(Property("szBattManufDate"), c.date) << c.name;
    EXPECT_EQ(Property("szBattSerialNo"), c.serial) << c.name;
    EXPECT_EQ(Property("szBattDevChem"), c.chemistry) << c.name;
    EXPECT_EQ(Property("szBattCap"), c.capacity) << c.name;
  }
}

TEST_F(DecodeLate, BatteryValues) {
  struct Case {
    uint16_t voltage;
    uint8_t maxError;
    uint32_t oem;
    const char *voltageText, *maxErrorText, *oemText;
  } cases[] = {
      {0, 0xFF, 0, "Unknown", "Unknown", "00000000H"},
      {1, 0, 0xFFFFFFFF, "1 mV", "0 %", "FFFFFFFFH"},
      {0xFFFF, 0xFE, 0x1A, "65535 mV", "254 %", "0000001AH"},
  };
  for (const Case& c : cases) {
    BatteryFields b;
    b.voltage = c.voltage;
    b.maxError = c.maxError;
    b.oem = c.oem;
    Ini({Battery(b)});
    EXPECT_EQ(Property("szBattVolt"), c.voltageText);
    EXPECT_EQ(Property("szBattMaxDataErr"), c.maxErrorText);
    EXPECT_EQ(Property("szBattOEMCustomNo"), c.oemText);
  }
}

TEST_F(DecodeLate, ShortBatteryIsReadByTheOldRules) {
  // An SMBIOS 2.1 battery (16 bytes) in a table that claims 2.3: its string
  // set lies where the longer layout has its SBDS fields and OEM number, so
  // reading them would change the number the longer battery before it left.
  BatteryFields b;
  b.length = 16;
  BatteryFields longer;
  longer.oem = 0x11111111;
  Ini({Battery(longer), Battery(b)});
  EXPECT_EQ(Property("szBattOEMCustomNo"), "11111111H");  // from the first battery only
  Ini({Battery(b)});
  EXPECT_EQ(Property("szBattOEMCustomNo"), "<none>");
  EXPECT_EQ(Property("szBattManufDate"), "<none>");
  EXPECT_EQ(Property("szBattSerialNo"), "<none>");
  EXPECT_EQ(Property("szBattDevChem"), "Unknown");
  EXPECT_EQ(Property("szBattCap"), "4400 mWh");
  EXPECT_EQ(Property("szBattMaxDataErr"), "0 %");
  EXPECT_EQ(Property("szBattSBDSVer"), "1.1");
}

TEST_F(DecodeLate, SystemReset) {
  struct Case {
    uint8_t capabilities;
    const char *automatic, *bootOption, *onLimit, *watchdog;
  } cases[] = {
      {0x25, "Enabled", "system utilities", "reserved", "present"},
      {0x00, "Disabled", "reserved", "reserved", "not present"},
      {0x1A, "Disabled", "operating system", "do not reboot", "not present"},
      // Bits 6 and 7 are not shown and change nothing.
      {0xDF, "Enabled", "do not reboot", "do not reboot", "not present"},
  };
  for (const Case& c : cases) {
    Ini({Reset(c.capabilities, 0, 0, 0, 0)});
    EXPECT_EQ(Property("szSysResetCapAuto"), c.automatic) << int(c.capabilities);
    EXPECT_EQ(Property("szSysResetBootOpt"), c.bootOption) << int(c.capabilities);
    EXPECT_EQ(Property("szSysResetBootOptOnLim"), c.onLimit) << int(c.capabilities);
    EXPECT_EQ(Property("szSysResetWatchdog"), c.watchdog) << int(c.capabilities);
  }
  struct Counts {
    uint16_t value;
    const char *number, *minutes;
  } counts[] = {
      {0, "0", "0 minutes"},          {1, "1", "1 minute"},
      {5, "5", "5 minutes"},          {0xFFFE, "65534", "65534 minutes"},
      {0xFFFF, "Unknown", "Unknown"},
  };
  for (const Counts& c : counts) {
    Ini({Reset(0, c.value, c.value, c.value, c.value)});
    EXPECT_EQ(Property("szSysResetCount"), c.number) << c.value;
    EXPECT_EQ(Property("szSysResetLimit"), c.number) << c.value;
    EXPECT_EQ(Property("szSysResetTimerInter"), c.minutes) << c.value;
    EXPECT_EQ(Property("szSysResetTimeout"), c.minutes) << c.value;
  }
}

TEST_F(DecodeLate, HardwareSecurity) {
  struct Case {
    uint8_t settings;
    const char *frontPanel, *admin, *keyboard, *powerOn;
  } cases[] = {
      {0xE4, "Disabled", "Enabled", "Not Implemented", "Unknown"},
      {0x1B, "Unknown", "Not Implemented", "Enabled", "Disabled"},
      {0x00, "Disabled", "Disabled", "Disabled", "Disabled"},
  };
  for (const Case& c : cases) {
    Ini({Security(c.settings)});
    EXPECT_EQ(Property("szHardSecFrntPanReset"), c.frontPanel) << int(c.settings);
    EXPECT_EQ(Property("szHardSecAdminPswdStat"), c.admin) << int(c.settings);
    EXPECT_EQ(Property("szHardSecKybrdPswdStat"), c.keyboard) << int(c.settings);
    EXPECT_EQ(Property("szHardSecPwrOnPswdStat"), c.powerOn) << int(c.settings);
  }
}

TEST_F(DecodeLate, PowerOnTime) {
  struct Case {
    uint8_t month, day, hour, minute, second;
    const char* expected;
  } cases[] = {
      {0x12, 0x31, 0x23, 0x59, 0x59, "12/31 23:59:59"},
      {0x01, 0x01, 0x00, 0x00, 0x00, "01/01 00:00:00"},
      {0x00, 0x00, 0x24, 0x60, 0x60, "?\?/?\? ?\?:?\?:?\?"},
      {0x13, 0x32, 0x23, 0x59, 0x00, "?\?/?\? 23:59:00"},
      {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, "?\?/?\? ?\?:?\?:?\?"},
      // Within the ranges, but not two decimal digits.
      {0x0A, 0x1F, 0x1A, 0x0F, 0x2B, "?\?/?\? ?\?:?\?:?\?"},
  };
  for (const Case& c : cases) {
    Ini({Power(c.month, c.day, c.hour, c.minute, c.second)});
    EXPECT_EQ(Property("szSchedPwrOnTime"), c.expected);
  }
}

}  // namespace
