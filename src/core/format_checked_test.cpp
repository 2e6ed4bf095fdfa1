#include "format_checked.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
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

// Byte for byte what snprintf with "%s" leaves in the buffer, the bytes
// after the text included.
TEST(CopyText, WritesWhatSnprintfWrites) {
  const char* const texts[] = {"", "abc", "exactly7", "a text longer than the buffer", nullptr};
  for (const char* text : texts) {
    for (size_t size : {0, 1, 4, 8, 9, 16}) {
      char copied[16], printed[16];
      memset(copied, 'z', sizeof copied);
      memset(printed, 'z', sizeof printed);
      CopyText(copied, size, text);
      snprintf(printed, size, "%s", text);
      EXPECT_EQ(std::string(copied, sizeof copied), std::string(printed, sizeof printed))
          << (text ? text : "null") << " into " << size;
    }
  }
}

// Appending cuts to the buffer and never touches a buffer that is already full.
TEST(AppendText, CutsToTheBuffer) {
  const struct {
    const char* before;
    const char* text;
    size_t size;
    const char* after;
  } cases[] = {{"", "abc", 8, "abc"},          {"ab", "cdefgh", 8, "abcdefg"},
               {"abcdefg", "h", 8, "abcdefg"}, {"ab", "", 8, "ab"},
               {"ab", "cd", 3, "ab"},          {"ab", "cd", 4, "abc"}};
  for (const auto& c : cases) {
    char buffer[8] = {};
    snprintf(buffer, sizeof buffer, "%s", c.before);
    AppendText(buffer, c.size, c.text);
    EXPECT_STREQ(buffer, c.after) << c.before << " + " << c.text << " in " << c.size;
  }
}
