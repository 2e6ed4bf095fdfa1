// Dates and times follow the "Intl" settings of the user profile.
#include "internat.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "addpath.h"
#include "int_str.h"
#include "platform.h"
#include "test_env.h"

namespace {

const char* const kIntlKeys[] = {"iTime", "sTime", "s1159", "s2359", "iTLZero", "iDate", "sDate"};

class IntlFormat : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef _WIN32
    setenv("QMRK_WIN_INI", dir.File("win.ini").c_str(), 1);
#endif
    Clear();
  }
  void TearDown() override {
    Clear();
    InitLanguagesEx(nullptr, 0);
#ifndef _WIN32
    unsetenv("QMRK_WIN_INI");
#endif
  }
  void Clear() {
    for (const char* key : kIntlKeys) PlatWriteProfileString("Intl", key, nullptr);
  }
  void Set(const char* key, const char* value) { PlatWriteProfileString("Intl", key, value); }
  std::string Print(int day, int month, int year, int min, int hour, int secs, int flags) {
    char buf[84];
    PrintInternationalDateTime(buf, day, month, year, min, hour, secs, flags);
    return buf;
  }
  TempDir dir;
};

TEST_F(IntlFormat, Defaults) {
  EXPECT_EQ(Print(3, 4, 1999, 5, 9, 7, kIntlTime | kIntlSeconds), "09:05:07 :");
  EXPECT_EQ(Print(3, 4, 1999, 0, 0, 0, kIntlDate), "4:3:1999");
}

TEST_F(IntlFormat, TwentyFourHourClockWithoutSuffix) {
  Set("iTime", "1");
  Set("sTime", ":");
  Set("s2359", "");
  EXPECT_EQ(Print(0, 0, 0, 5, 9, 0, kIntlTime), "09:05");
}

TEST_F(IntlFormat, TwelveHourClock) {
  Set("iTime", "0");
  Set("s1159", "AM");
  Set("s2359", "PM");
  struct Case {
    int hour, min;
    const char* text;
  } cases[] = {{0, 30, "12:30 AM"}, {12, 0, "12:00 PM"}, {23, 59, "11:59 PM"}, {9, 1, "09:01 AM"}};
  for (const Case& c : cases) EXPECT_EQ(Print(0, 0, 0, c.min, c.hour, 0, kIntlTime), c.text);
  Set("iTLZero", "0");
  EXPECT_EQ(Print(0, 0, 0, 1, 9, 0, kIntlTime), "9:01 AM");
}

TEST_F(IntlFormat, DateOrders) {
  Set("sDate", ".");
  struct Case {
    const char* iDate;
    int year;
    const char* text;
  } cases[] = {{"1", 1999, "3.4.1999"},
               {"1", 0, "3.4.00"},
               {"2", 99, "99.4.3"},
               {"0", 2024, "4.3.2024"},
               {"7", 2024, "4.3.2024"}};
  for (const Case& c : cases) {
    Set("iDate", c.iDate);
    EXPECT_EQ(Print(3, 4, c.year, 0, 0, 0, kIntlDate), c.text) << c.iDate;
  }
}

TEST_F(IntlFormat, ConnectorFollowsTheLanguage) {
  Set("s2359", "");
  Set("sDate", "/");
  InitLanguagesEx(nullptr, 8);
  EXPECT_EQ(Print(3, 4, 2001, 5, 9, 0, kIntlTime | kIntlDate), "09:05 am 4/3/2001");
  InitLanguagesEx(nullptr, 0);
  EXPECT_EQ(Print(3, 4, 2001, 5, 9, 0, kIntlTime | kIntlDate), "09:05  4/3/2001");
}

TEST(AddPath, FileBesideTheProgram) {
  char program[kMaxPath];
  ASSERT_GT(PlatGetModuleFileName(nullptr, program, sizeof program), 0u);
  std::string directory(program);
  directory.erase(directory.rfind(PlatPathSeparator()) + 1);
  const char* first = AddPath(PlatProgramModule(), "QMRKW32H.INI");
  EXPECT_EQ(std::string(first), directory + "QMRKW32H.INI");
  AddPath(PlatProgramModule(), "PROBEX.EXE");
  EXPECT_EQ(std::string(first), directory + "PROBEX.EXE");  // one shared buffer
}

}  // namespace
