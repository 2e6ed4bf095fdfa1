// String lookups by language, with the rotating result buffers.
#include "int_str.h"

#include <gtest/gtest.h>

#include <string>

#include "platform.h"

namespace {

class Strings : public ::testing::Test {
 protected:
  void SetUp() override { InitLanguagesEx(PlatProgramModule(), 0); }
  void TearDown() override { InitLanguagesEx(PlatProgramModule(), 0); }
};

TEST_F(Strings, EnglishReportStrings) {
  EXPECT_STREQ(lpszLoadString(3001), "DMI Information");
  EXPECT_STREQ(lpszLoadString(3003), " DMI BIOS\t: Detected\r\n");
  EXPECT_STREQ(lpszLoadString(3004), " DMIBIOS Revision\t: %i.%i\r\n");
}

TEST_F(Strings, MissingStringIsEmpty) { EXPECT_STREQ(lpszLoadString(2999), ""); }

TEST_F(Strings, TwentyFirstCallReusesTheFirstBuffer) {
  const char* first = lpszLoadString(3001);
  for (int i = 0; i < 19; ++i) EXPECT_NE(lpszLoadString(3003), first);
  EXPECT_EQ(lpszLoadString(3002), first);
  EXPECT_STRNE(first, "DMI Information");
}

TEST_F(Strings, LanguagesWithoutStringsFallBackToEnglish) {
  for (int language : {1, 3, 23}) {
    InitLanguagesEx(nullptr, language);
    EXPECT_STREQ(lpszLoadString(3001), "DMI Information") << language;
    EXPECT_EQ(GetStringId(3001), 3001) << language;
    EXPECT_EQ(GetIconId(1), 1) << language;
    EXPECT_EQ(GetMenuId(10), 10) << language;
  }
}

TEST_F(Strings, LanguageRangeAndChangeReport) {
  EXPECT_EQ(InitLanguagesEx(nullptr, 24), 1);
  EXPECT_EQ(GetCurrentLanguage(), 24);
  EXPECT_EQ(InitLanguagesEx(nullptr, 24), 0);
  EXPECT_EQ(InitLanguagesEx(nullptr, 25), 1);
  EXPECT_EQ(GetCurrentLanguage(), 0);
  EXPECT_EQ(InitLanguagesEx(nullptr, -1), 0);  // already 0: no change
}

TEST(StringsBeforeInit, NoModuleMeansEmptyText) {
  QHANDLE saved = hResourceInstance;
  hResourceInstance = nullptr;
  EXPECT_STREQ(lpszLoadString(3001), "");
  hResourceInstance = saved;
}

}  // namespace
