#include "utf8.h"

#include <gtest/gtest.h>

namespace {

const std::string R(kUtf8Replacement);

struct Case {
  const char* name;
  std::string in;
  std::string out;
};

TEST(ValidUtf8, KeepsWellFormedAndReplacesEachBadByte) {
  const Case cases[] = {
      {"ascii and controls", std::string("a\0\x7F\x01", 4), std::string("a\0\x7F\x01", 4)},
      {"boundaries of each length",
       "\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
       "\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
      {"last before and first after the surrogates", "\xED\x9F\xBF\xEE\x80\x80",
       "\xED\x9F\xBF\xEE\x80\x80"},
      {"byte FF",
       "a\xFF"
       "b",
       "a" + R + "b"},
      {"lone continuation", "\x80", R},
      {"overlong NUL", "\xC0\x80", R + R},
      {"overlong three bytes", "\xE0\x80\xAF", R + R + R},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", R + R + R + R},
      {"surrogate", "\xED\xA0\x80", R + R + R},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", R + R + R + R},
      {"lead bytes F5 and up", "\xF5\x80", R + R},
      {"cut at the end", "x\xE2\x82", "x" + R + R},
      {"cut by an ASCII byte", "\xE2\x82z", R + R + "z"},
      {"two-byte lead before a lead", "\xC3\xC3\xA9", R + "\xC3\xA9"},
  };
  for (const Case& c : cases) EXPECT_EQ(ValidUtf8(c.in), c.out) << c.name;
}

TEST(DecodeUtf8, GivesCodePointAndLength) {
  uint32_t c = 0;
  EXPECT_EQ(DecodeUtf8("\xC2\x85", &c), 2u);
  EXPECT_EQ(c, 0x85u);
  EXPECT_EQ(DecodeUtf8("\xEF\xB7\x90", &c), 3u);
  EXPECT_EQ(c, 0xFDD0u);
  EXPECT_EQ(DecodeUtf8("\xF4\x8F\xBF\xBF", &c), 4u);
  EXPECT_EQ(c, 0x10FFFFu);
  EXPECT_EQ(DecodeUtf8("", &c), 0u);
}

}  // namespace
