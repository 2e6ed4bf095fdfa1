// Property output: values in section "Settings" of the output file.
#include <gtest/gtest.h>

#include <string>

#include "dump_builder.h"
#include "platform.h"
#include "qmrkw32.h"
#include "test_env.h"

namespace {

class Properties : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetReportState();
    snprintf(wnd_data.szOutputFile, sizeof wnd_data.szOutputFile, "%s", dir.File("p.ini").c_str());
  }
  void TearDown() override { ResetReportState(); }
  std::string Get(const char* section, const char* key) {
    CloseReportFiles();
    char value[64];
    PlatGetPrivateProfileString(section, key, "<none>", value, sizeof value,
                                wnd_data.szOutputFile);
    return value;
  }
  TempDir dir;
};

TEST_F(Properties, NumbersInDecimal) {
  EXPECT_NE(WritePropertyDword("dwMax", 4294967295u), 0);
  EXPECT_NE(WritePropertyDword("dwZero", 0), 0);
  EXPECT_EQ(Get("Settings", "dwMax"), "4294967295");
  EXPECT_EQ(Get("Settings", "dwZero"), "0");
}

TEST_F(Properties, ControlCharactersCannotForgeKeysOrSections) {
  WritePropertyString("szVendor", "Acme\r\n[Evil]\r\nbBIOSDetected=0\tx");
  EXPECT_EQ(Get("Evil", "bBIOSDetected"), "<none>");
  EXPECT_EQ(Get("Settings", "bBIOSDetected"), "<none>");
  EXPECT_EQ(Get("Settings", "szVendor"), "Acme  [Evil]  bBIOSDetected=0 x");
}

TEST_F(Properties, BlanksAroundKeysAndValuesAreTrimmed) {
  WritePropertyString("szOEMString1   ", "  padded value ");
  WritePropertyString("szBlank", "   ");
  CloseReportFiles();
  EXPECT_EQ(ReadText(wnd_data.szOutputFile), "[Settings]\r\nszOEMString1=padded value\r\nszBlank=\r\n");
}

TEST_F(Properties, ReplacesKeysAndKeepsOtherSections) {
  PlatWritePrivateProfileString("Other", "keep", "yes", wnd_data.szOutputFile);
  WritePropertyString("szA", "1");
  WritePropertyString("szA", "2");
  EXPECT_EQ(Get("Settings", "szA"), "2");
  EXPECT_EQ(Get("Other", "keep"), "yes");
  EXPECT_EQ(ReadText(wnd_data.szOutputFile).find("szA=1"), std::string::npos);
}

}  // namespace
