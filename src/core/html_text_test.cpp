#include "html_text.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char* name;
  std::string in;
  std::string out;
};

TEST(HtmlEscapedText, EscapesMarkupAndReplacesWhatHtmlForbids) {
  const std::string R = "\xEF\xBF\xBD";
  const Case cases[] = {
      {"mark-up characters", "<script>&\"'", "&lt;script&gt;&amp;&quot;'"},
      {"allowed whitespace", "a\tb\nc\fd\re", "a\tb\nc\fd\re"},
      {"C0 controls, DEL", "\x01x\x0By\x1B[1m\x7F", " x y [1m "},
      {"C1 controls", "\xC2\x80\xC2\x85\xC2\x9B\xC2\xA0", "   \xC2\xA0"},
      {"noncharacters", "\xEF\xB7\x90\xEF\xB7\xAF\xEF\xBF\xBE\xF4\x8F\xBF\xBF\xEF\xB7\xB0",
       R + R + R + R + "\xEF\xB7\xB0"},
      {"invalid UTF-8", "\xFF<\xC0\x80", R + "&lt;" + R + R},
      {"well-formed text kept",
       "Gr\xC3\xB6\xC3\x9F"
       "e \xE2\x82\xAC",
       "Gr\xC3\xB6\xC3\x9F"
       "e \xE2\x82\xAC"},
  };
  for (const Case& c : cases) EXPECT_EQ(HtmlEscapedText(c.in), c.out) << c.name;
}

}  // namespace
