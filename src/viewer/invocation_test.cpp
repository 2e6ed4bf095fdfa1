#include <gtest/gtest.h>

#include <string>

#include "invocation.h"

namespace {

TEST(ScanParameterString, FieldsCountedAsScanned) {
  struct Case {
    const char* text;
    int fields;
  } cases[] = {
      {"", -1},
      {"tulip", 0},
      {"W=00000000", 1},
      {"W=00000000 X=0001 Y=0002 X2=0003 Y2=0004 A=1", 6},
      {"W=00000000 X=0001 Y=0002 X2=0003 Y2=0004 A=1 F=40000000", 7},
      {"W=00000000 X=0001 Y=0002 X2=0003 Y2=0004 A=1 F=40000000 FN=c:\\r.htm", 8},
      {"W=0 X=1 Y=2 X2=3 Y2=4 A=0 F=20000000 FN=x", 8},       // fewer digits are fine
      {"W=00000000  X=0001\tY=0002 X2=0003 Y2=0004 A=1", 6},  // any run of white space
      {"W=00000000 X=0001 Y=0002 X=0003", 3},                 // labels must match
  };
  for (const Case& c : cases) {
    ParameterFields fields;
    EXPECT_EQ(ScanParameterString(c.text, &fields), c.fields) << c.text;
  }
}

TEST(ScanParameterString, ValuesAndOverlongFileName) {
  ParameterFields fields;
  const std::string name(300, 'n');
  const std::string text =
      "W=0000ABCD X=0010 Y=0020 X2=0030 Y2=0040 A=7 F=C0000000 FN=" + name + " extra";
  ASSERT_EQ(ScanParameterString(text.c_str(), &fields), 8);
  EXPECT_EQ(fields.W, 0xABCDu);
  EXPECT_EQ(fields.X2, 0x30u);
  EXPECT_EQ(fields.A, 7);
  EXPECT_EQ(fields.F, 0xC0000000u);
  EXPECT_EQ(std::string(fields.FN), name.substr(0, 259));
}

}  // namespace
