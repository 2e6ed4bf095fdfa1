#include "power_of_two_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PowerOfTwoText, ExactBeyondEveryMachineWord) {
  struct Case {
    int n;
    const char* text;
  } cases[] = {
      {-3, "1"},
      {0, "1"},
      {31, "2147483648"},
      {63, "9223372036854775808"},
      {64, "18446744073709551616"},
      {124, "21267647932558653966460912964485513216"},
      {255, "57896044618658097711785492504343953926634992332820282019728792003956564819968"},
  };
  for (const Case& c : cases) {
    char text[100];
    PowerOfTwoText(c.n, text, sizeof text);
    EXPECT_STREQ(text, c.text) << c.n;
  }
  char small[5];
  PowerOfTwoText(64, small, sizeof small);
  EXPECT_STREQ(small, "1844");
}

TEST(FormatNumberText, TheIntegerConversionTakesTheDigits) {
  struct Case {
    const char* caption;
    const char* row;
  } cases[] = {
      {"Size\t: %-6i MB", "Size\t: 18446744073709551616 MB"},
      {"100%% of %i", "100% of 18446744073709551616"},
      {"no number", "no number"},
      {"two %i %i", "two %i %i"},
  };
  for (const Case& c : cases) {
    char row[200];
    FormatNumberText(row, sizeof row, c.caption, "18446744073709551616");
    EXPECT_STREQ(row, c.row) << c.caption;
  }
}

}  // namespace
