// The override module's text file: which entry answers, and how malformed
// or oversized input is refused.
#include "override_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Lookup {
  const char* name;
  const char* file;
  const char* program;
  uint32_t id;
  uint32_t langId;
  uint32_t result;
  const char* text;  // expected on kOverrideOk
};

uint32_t Find(const std::string& file, const char* program, uint32_t id, uint32_t langId, char* out,
              uint32_t size) {
  return FindOverrideText(file.data(), file.size(), program, id, langId, out, size);
}

const Lookup kLookups[] = {
    {"plain entry", "3001 \"Site\"\n", "SYSLENS", 3001, 0x0409, kOverrideOk, "Site"},
    {"other id", "3001 \"Site\"\n", "SYSLENS", 3002, 0x0409, kOverrideNotFound, nullptr},
    {"id is whole number", "30011 \"Site\"\n", "SYSLENS", 3001, 0x0409, kOverrideNotFound, nullptr},
    {"exact language beats any, whatever the order", "3001 \"Any\"\n3001 0x0407 \"German\"\n",
     "SYSLENS", 3001, 0x0407, kOverrideOk, "German"},
    {"other language falls to any", "3001 0x0407 \"German\"\n3001 * \"Any\"\n", "SYSLENS", 3001,
     0x0409, kOverrideOk, "Any"},
    {"only another language", "3001 0x0407 \"German\"\n", "SYSLENS", 3001, 0x0409,
     kOverrideNotFound, nullptr},
    {"first of equals wins", "3001 \"One\"\n3001 \"Two\"\n", "SYSLENS", 3001, 0x0409, kOverrideOk,
     "One"},
    {"hex digits in either case", "3001 0X040c \"French\"\n", "SYSLENS", 3001, 0x040C, kOverrideOk,
     "French"},
    {"escapes", "3004 \" Rev\\t: %i.%i\\r\\n\\\\ \\\"q\\\" \\x41\"\n", "SYSLENS", 3004, 0x0409,
     kOverrideOk, " Rev\t: %i.%i\r\n\\ \"q\" A"},
    {"blanks kept inside quotes, CRLF lines", "  3001\t\"  padded  \"  \r\n", "SYSLENS", 3001,
     0x0409, kOverrideOk, "  padded  "},
    {"byte-order mark",
     "\xEF\xBB\xBF"
     "3001 \"Marked\"\n",
     "SYSLENS", 3001, 0x0409, kOverrideOk, "Marked"},
    {"last line without newline", "# c\n3001 \"End\"", "SYSLENS", 3001, 0x0409, kOverrideOk, "End"},
    {"comments are skipped", "# 3001 \"No\"\n; 3001 \"No\"\n3001 \"Yes\"\n", "SYSLENS", 3001,
     0x0409, kOverrideOk, "Yes"},
    {"section of the program, any case", "[syslens]\n3001 \"Mine\"\n", "SYSLENS", 3001, 0x0409,
     kOverrideOk, "Mine"},
    {"section of another program", "[OTHER]\n3001 \"Theirs\"\n", "SYSLENS", 3001, 0x0409,
     kOverrideNotFound, nullptr},
    {"star section applies again", "[OTHER]\n3001 \"Theirs\"\n[*]\n3001 \"All\"\n", "SYSLENS", 3001,
     0x0409, kOverrideOk, "All"},
    {"broken section line closes the section", "[SYSLENS\n3001 \"Lost\"\n", "SYSLENS", 3001, 0x0409,
     kOverrideNotFound, nullptr},
    {"null program name matches no named section", "[SYSLENS]\n3001 \"Mine\"\n", nullptr, 3001,
     0x0409, kOverrideNotFound, nullptr},
    {"empty text is a text", "3001 \"\"\n", "SYSLENS", 3001, 0x0409, kOverrideOk, ""},
};

TEST(OverrideText, LookupTable) {
  for (const Lookup& c : kLookups) {
    char out[64] = "unchanged";
    const uint32_t result = Find(c.file, c.program, c.id, c.langId, out, sizeof out);
    EXPECT_EQ(result, c.result) << c.name;
    if (c.result == kOverrideOk) {
      EXPECT_STREQ(out, c.text) << c.name;
    } else {
      EXPECT_STREQ(out, "unchanged") << c.name;
    }
  }
}

// Each malformed line is skipped; a good entry after it still answers.
TEST(OverrideText, MalformedLinesAreSkipped) {
  const char* const kBadLines[] = {
      "3001 Site",               // no quotes
      "3001 \"Site",             // unterminated
      "3001 \"Si\"te\"",         // bare quote inside
      "3001\"Site\"",            // no blank after the id
      "3001 0x0409\"Site\"",     // no blank after the language
      "3001 0x \"Site\"",        // language without digits
      "3001 0x12345 \"Site\"",   // language wider than 16 bits
      "3001 409 \"Site\"",       // language not in hex notation
      "3001 \"Site\\q\"",        // unknown escape
      "3001 \"Site\\x4\"",       // short hex escape
      "3001 \"Site\\x00\"",      // escaped NUL
      "3001 \"Site\\\"",         // escape swallows the closing quote
      "3001 \"Site\" trailing",  // text after the closing quote
      "99999999999 \"Site\"",    // id of 11 digits
      "4294967297 \"Site\"",     // id above 32 bits
      "-3001 \"Site\"",          // sign
      "0x0BB9 \"Site\"",         // id in hex
  };
  for (const char* bad : kBadLines) {
    char out[64] = "";
    std::string file = std::string(bad) + "\n";
    EXPECT_EQ(Find(file, "SYSLENS", 3001, 0x0409, out, sizeof out), kOverrideNotFound) << bad;
    file += "3001 \"Good\"\n";
    EXPECT_EQ(Find(file, "SYSLENS", 3001, 0x0409, out, sizeof out), kOverrideOk) << bad;
    EXPECT_STREQ(out, "Good") << bad;
  }
}

TEST(OverrideText, RawNulInTextIsRefused) {
  const std::string file("3001 \"Si\0te\"\n", 14);
  char out[16] = "unchanged";
  EXPECT_EQ(Find(file, "SYSLENS", 3001, 0x0409, out, sizeof out), kOverrideNotFound);
  EXPECT_STREQ(out, "unchanged");
}

TEST(OverrideText, BufferBounds) {
  const std::string file = "3001 \"abcd\"\n";
  char out[8];
  memset(out, 'z', sizeof out);
  // Four characters and the NUL need five bytes.
  EXPECT_EQ(Find(file, "SYSLENS", 3001, 0x0409, out, 4), kOverrideBufferTooSmall);
  EXPECT_EQ(out[0], 'z');
  EXPECT_EQ(Find(file, "SYSLENS", 3001, 0x0409, out, 5), kOverrideOk);
  EXPECT_STREQ(out, "abcd");
  EXPECT_EQ(out[5], 'z');
  EXPECT_EQ(Find(file, "SYSLENS", 3001, 0x0409, out, 0), kOverrideBadParameter);
  EXPECT_EQ(Find(file, "SYSLENS", 3001, 0x0409, nullptr, 5), kOverrideBadParameter);
  EXPECT_EQ(FindOverrideText(nullptr, 0, "SYSLENS", 3001, 0x0409, out, 5), kOverrideBadParameter);
}

// The text is not NUL-terminated: a length that stops inside an entry must
// not let the parser read on.
TEST(OverrideText, LengthBoundsTheText) {
  const std::string file = "3001 \"abcd\"\n3002 \"efgh\"\n";
  char out[16] = "";
  EXPECT_EQ(FindOverrideText(file.data(), 12, "SYSLENS", 3002, 0x0409, out, sizeof out),
            kOverrideNotFound);
  EXPECT_EQ(FindOverrideText(file.data(), 10, "SYSLENS", 3001, 0x0409, out, sizeof out),
            kOverrideNotFound);  // the closing quote lies past the length
}

class OverrideFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path = ::testing::TempDir() + "override_text_test_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
  }
  void TearDown() override { remove(path.c_str()); }
  void Write(const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
  }
  std::string path;
};

TEST_F(OverrideFile, AnswersFromTheFile) {
  Write("3001 \"From file\"\n");
  char out[32] = "";
  EXPECT_EQ(AnswerFromFile(path.c_str(), "SYSLENS", 3001, 0x0409, out, sizeof out), kOverrideOk);
  EXPECT_STREQ(out, "From file");
}

TEST_F(OverrideFile, MissingFile) {
  char out[32] = "";
  EXPECT_EQ(AnswerFromFile(path.c_str(), "SYSLENS", 3001, 0x0409, out, sizeof out),
            kOverrideNoFile);
}

TEST_F(OverrideFile, SizeLimit) {
  // An entry at the very end of a file of the largest size still answers;
  // one byte more and the whole file is refused.
  const std::string entry = "3001 \"Last\"\n";
  std::string text(kMaxOverrideFileSize - entry.size(), '#');
  text[text.size() - 1] = '\n';
  Write(text + entry);
  char out[32] = "";
  EXPECT_EQ(AnswerFromFile(path.c_str(), "SYSLENS", 3001, 0x0409, out, sizeof out), kOverrideOk);
  Write("#" + text + entry);
  EXPECT_EQ(AnswerFromFile(path.c_str(), "SYSLENS", 3001, 0x0409, out, sizeof out),
            kOverrideFileTooLarge);
}

}  // namespace
