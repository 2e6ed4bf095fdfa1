#include "format_checked.h"

#include <gtest/gtest.h>

#include <string>

TEST(FormatKinds, Cases) {
  struct Case {
    const char* format;
    bool accepted;
    const char* kinds;
  } cases[] = {
      {"plain", true, ""},
      {"100%% sure", true, ""},
      {"  Vendor\t: %s", true, "s"},
      {" DMIBIOS Revision\t: %i.%i\r\n", true, "ii"},
      {"%04X %lu %llu %-10.3s %c", true, "ilLsi"},
      {"%*d", false, ""},
      {"%n", false, ""},
      {"%f", false, ""},
      {"cut off %", false, ""},
  };
  for (const Case& c : cases) {
    char kinds[16] = "?";
    EXPECT_EQ(FormatKinds(c.format, kinds, sizeof kinds), c.accepted) << c.format;
    if (c.accepted) {
      EXPECT_STREQ(kinds, c.kinds) << c.format;
    }
  }
}

TEST(FormatChecked, FormatsMatchingArguments) {
  char out[32];
  EXPECT_TRUE(FormatChecked(out, sizeof out, "v%i.%i", "ii", 2, 3));
  EXPECT_STREQ(out, "v2.3");
}

TEST(FormatChecked, ReplacedTextWithWrongPlaceholderIsShownAsText) {
  char out[32];
  EXPECT_FALSE(FormatChecked(out, sizeof out, "Version %s", "ii", 2, 3));
  EXPECT_STREQ(out, "Version %s");
}

TEST(FormatChecked, CutsToTheBuffer) {
  char out[8];
  FormatChecked(out, sizeof out, "%s", "s", "a long value");
  EXPECT_STREQ(out, "a long ");
}
