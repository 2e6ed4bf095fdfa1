// Tests of the resource generator's parsing, checks and its writers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resgen.h"

namespace resgen {
namespace {

const char kHeader[] = "language 0\ncodepage 1252\n";

LangFile MustParse(const std::string& content, const char* path = "t.txt") {
  LangFile f;
  std::string error;
  EXPECT_TRUE(ParseLangFile(path, content, &f, &error)) << error;
  return f;
}

TEST(ResgenParse, EscapesDecodeToExactBytes) {
  struct Case {
    const char* source;
    std::string bytes;
  } cases[] = {
      {R"("  Vendor\t: %s")", "  Vendor\t: %s"},
      {R"("\r\n\r\nX \r\n")", "\r\n\r\nX \r\n"},
      {R"("INT 13H 5.25\"/360 kB")", "INT 13H 5.25\"/360 kB"},
      {R"("a\\b")", "a\\b"},
      {R"("Log Files\0*.log;*.txt\0")", std::string("Log Files\0*.log;*.txt\0", 22)},
      {R"("\x41\x7a")", "Az"},
      {R"("\xC3\xA9")", "\xC3\xA9"},
      {"\"Gr\xC3\xB6\xC3\x9F"
       "e\"",
       "Gr\xC3\xB6\xC3\x9F"
       "e"},
      {R"(" lead and trail  ")", " lead and trail  "},
      {R"("\01")", std::string("\0"
                               "1",
                               2)},
  };
  for (const Case& c : cases) {
    LangFile f = MustParse(std::string(kHeader) + "3000 " + c.source + "\n");
    ASSERT_EQ(f.entries.size(), 1u) << c.source;
    EXPECT_EQ(f.entries[0].text, c.bytes) << c.source;
  }
}

TEST(ResgenParse, AcceptsCommentsBlankLinesCrLfAndBom) {
  LangFile f = MustParse(
      "\xEF\xBB\xBF# comment\r\n\r\nlanguage 8\r\ncodepage 1252\r\n"
      "  # indented comment\r\n4 \"SYSLENS\"\r\n3001\t\"DMI\"  \r\n");
  EXPECT_EQ(f.language, 8);
  EXPECT_EQ(f.codepage, 1252);
  ASSERT_EQ(f.entries.size(), 2u);
  EXPECT_EQ(f.entries[0].baseId, 4u);
  EXPECT_EQ(f.entries[0].text, "SYSLENS");
  EXPECT_EQ(f.entries[1].baseId, 3001u);
  EXPECT_EQ(f.entries[1].line, 7);
}

TEST(ResgenParse, RefusesBadInputWithLineAndReason) {
  struct Case {
    std::string content;
    const char* message;  // expected part of the error
  } cases[] = {
      {std::string(kHeader) + "3000 \"a\"\n3000 \"b\"\n",
       "t.txt:4: duplicate id 3000 (first on line 3)"},
      {std::string(kHeader) + "3000 \"a\\qb\"\n", "t.txt:3: unknown escape \\q"},
      {std::string(kHeader) + "3000 \"abc\n", "t.txt:3: unterminated"},
      {std::string(kHeader) + "3000 \"abc\\\"\n", "unterminated"},
      {std::string(kHeader) + "3000 \"a\\x4\"\n", "two hexadecimal digits"},
      {std::string(kHeader) + "0 \"a\"\n", "id 0 out of range"},
      {std::string(kHeader) + "100 \"a\"\n", "id 100 out of range"},
      {std::string(kHeader) + "2999 \"a\"\n", "id 2999 out of range"},
      {std::string(kHeader) + "4000 \"a\"\n", "id 4000 out of range"},
      {std::string(kHeader) + "99999999999 \"a\"\n", "out of range"},
      {std::string(kHeader) + "3000 \"\"\n", "empty text"},
      {std::string(kHeader) + "3000 \"a\" b\n", "after the closing quote"},
      {std::string(kHeader) + "3000\"a\"\n", "blank after the id"},
      {std::string(kHeader) + "3000 a\n", "double-quoted"},
      {std::string(kHeader) + "3000 \"\xC3\"\n", "not valid UTF-8"},
      {std::string(kHeader) + "3000 \"\\xC0\\x80\"\n", "not valid UTF-8"},  // overlong NUL
      {std::string(kHeader) + "3000 \"" + std::string(kMaxTextBytes + 1, 'a') + "\"\n",
       "longer than"},
      {"codepage 1252\n3000 \"a\"\n", "t.txt:2: entry before"},
      {"language 0\n", "missing 'language' or 'codepage'"},
      {"language 25\ncodepage 1252\n", "language 25 out of range"},
      {"language 0\nlanguage 1\n", "second 'language'"},
      {"language 0\ncodepage 9999\n", "unknown code page 9999"},
      {std::string(kHeader) + "3000 \"a\"\nlanguage 3\n", "before the first entry"},
      {std::string(kHeader) + "strings \"a\"\n", "expected 'language N'"},
  };
  for (const Case& c : cases) {
    LangFile f;
    std::string error;
    EXPECT_FALSE(ParseLangFile("t.txt", c.content, &f, &error)) << c.content;
    EXPECT_NE(error.find(c.message), std::string::npos)
        << "error: " << error << "\nexpected: " << c.message;
  }
}

TEST(ResgenIds, LanguageShiftAndRange) {
  struct Case {
    unsigned base;
    int language;
    unsigned id;
  } cases[] = {{4, 7, 704},     {1, 0, 1},       {6, 24, 2406},    {99, 24, 2499},
               {3000, 2, 5000}, {3957, 2, 5957}, {3960, 24, 27960}};
  for (const Case& c : cases) EXPECT_EQ(TranslatedId(c.base, c.language), c.id);
  for (unsigned ok : {1u, 99u, 3000u, 3999u}) EXPECT_TRUE(IsValidBaseId(ok)) << ok;
  for (unsigned bad : {0u, 100u, 2999u, 4000u}) EXPECT_FALSE(IsValidBaseId(bad)) << bad;
}

TEST(ResgenCodePage, TextMustFitTheLanguagesCodePage) {
  struct Case {
    int codepage;
    const char* text;  // UTF-8
    bool fits;
  } cases[] = {
      {1252,
       "Gr\xC3\xB6\xC3\x9F"
       "e \xE2\x82\xAC",
       true},                                   // Größe €
      {1252, "\xE4\xB8\xAD", false},            // 中
      {936, "\xE4\xB8\xAD\xE6\x96\x87", true},  // 中文
      {932, "\xE3\x82\xBD\xE8\xA1\xA8", true},  // ソ表: trail byte 0x5C
      {950, "\xE8\xA8\xB1", true},              // 許: trail byte 0x5C
      {932, "\xD0\x96", true},                  // Cyrillic Ж is in 932
      {1252, "\xD0\x96", false},
  };
  for (const Case& c : cases) {
    LangFile f;
    f.path = "x.txt";
    f.language = 2;
    f.codepage = c.codepage;
    f.entries.push_back({3000, c.text, 5});
    std::string error;
    EXPECT_EQ(CheckCodePage(f, &error), c.fits) << c.codepage << " " << error;
    if (!c.fits) {
      EXPECT_NE(error.find("x.txt:5:"), std::string::npos) << error;
    }
  }
}

TEST(ResgenEncoding, Utf8ToUtf16) {
  EXPECT_EQ(Utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
  EXPECT_EQ(Utf8ToUtf16("\xC3\xA9\xE4\xB8\xAD"), u"\u00E9\u4E2D");
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\xD83D\xDE00");
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));          // truncated
}

TEST(ResgenSet, OneFilePerLanguageAndTranslationsNeedEnglish) {
  LangFile en = MustParse(std::string(kHeader) + "3000 \"a\"\n3001 \"b\"\n", "en.txt");
  LangFile de = MustParse("language 8\ncodepage 1252\n3001 \"B\"\n", "de.txt");
  LangFile de2 = MustParse("language 8\ncodepage 1252\n3000 \"A\"\n", "de2.txt");
  LangFile fr = MustParse("language 7\ncodepage 1252\n3002 \"C\"\n", "fr.txt");
  std::string error;
  EXPECT_TRUE(CheckLanguageSet({en, de}, &error)) << error;
  EXPECT_FALSE(CheckLanguageSet({en, de, de2}, &error));
  EXPECT_NE(error.find("language 8 already given by de.txt"), std::string::npos) << error;
  EXPECT_FALSE(CheckLanguageSet({en, fr}, &error));
  EXPECT_NE(error.find("fr.txt:3: id 3002 has no English string"), std::string::npos) << error;
}

TEST(ResgenOthers, ParsesKindsAndRefusesBadLines) {
  std::vector<OtherRes> others;
  std::string error;
  ASSERT_TRUE(ParseOthersFile("o.txt", "# x\nmenu 10\nicon 1\naccelerator 10\nmenu 8010\n", &others,
                              &error))
      << error;
  ASSERT_EQ(others.size(), 4u);
  EXPECT_EQ(others[0].kind, kKindMenu);
  EXPECT_EQ(others[2].kind, kKindAccelerator);
  EXPECT_EQ(others[3].id, 8010u);
  struct Case {
    const char* content;
    const char* message;
  } bad[] = {{"cursor 1\n", "unknown kind 'cursor'"},
             {"menu\n", "expected an id"},
             {"menu 0\n", "expected an id"},
             {"menu 70000\n", "expected an id"},
             {"menu 10\nmenu 10\n", "o.txt:2: duplicate menu 10"}};
  for (const Case& c : bad) {
    EXPECT_FALSE(ParseOthersFile("o.txt", c.content, &others, &error)) << c.content;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(ResgenRc, WritesShiftedIdsAsPlainAsciiWideLiterals) {
  LangFile en = MustParse(std::string(kHeader) +
                              "3956 \"Log Files\\0*.log;*.txt\\0\"\n"
                              "3003 \" DMI BIOS\\t: Detected\\r\\n\"\n"
                              "4 \"a\\\"b\\\\c ok?? \\xC3\\xA9\"\n",
                          "en.txt");
  LangFile ja =
      MustParse("language 15\ncodepage 932\n3001 \"\xE3\x82\xBD\xE8\xA1\xA8\"\n", "ja.txt");
  std::string rc = WriteRc({ja, en});
  for (unsigned char c : rc) ASSERT_LT(c, 0x80) << rc;
  const char* expected[] = {
      "  3956, L\"Log Files\\x0000*.log;*.txt\\x0000\"\n",
      "  3003, L\" DMI BIOS\\t: Detected\\r\\n\"\n",
      "  4, L\"a\"\"b\\\\c ok\\x003F? \\x00E9\"\n",
      "  18001, L\"\\x30BD\\x8868\"\n",
  };
  for (const char* line : expected)
    EXPECT_NE(rc.find(line), std::string::npos) << line << "\n" << rc;
  // English block first, each block sorted by id.
  EXPECT_LT(rc.find("Language 0,"), rc.find("Language 15,"));
  EXPECT_LT(rc.find("  4, "), rc.find("  3003, "));
  EXPECT_LT(rc.find("  3003, "), rc.find("  3956, "));
}

TEST(ResgenTable, SortedAcrossLanguagesWithByteLengths) {
  LangFile en = MustParse(std::string(kHeader) +
                              "3956 \"Log Files\\0*.log;*.txt\\0\"\n3000 \"q?\\\"\\\\\"\n"
                              "4 \"SYSLENS\"\n",
                          "en.txt");
  LangFile zh = MustParse("language 24\ncodepage 950\n4 \"\xE8\xA8\xB1\"\n", "tw.txt");
  std::vector<OtherRes> others = {{10, kKindAccelerator, 1}, {10, kKindMenu, 2}, {1, kKindIcon, 3}};
  std::string cpp = WriteTable({en, zh}, others);
  const char* expected[] = {
      // Each text with its NUL, in id order; the table holds its offset.
      "const char kResText[] =\n"
      "    \"SYSLENS\\000\"\n"
      "    \"\\350\\250\\261\\000\"\n"
      "    \"q\\077\\042\\134\\000\"\n"
      "    \"Log Files\\000*.log;*.txt\\000\\000\"\n",
      "    {4, 0, 7},\n"
      "    {2404, 8, 3},\n"
      "    {3000, 12, 4},\n"
      "    {3956, 17, 22},\n"
      "};\nconst size_t kResStringCount = 4;\n",
      "    {1, kResIcon},\n    {10, kResMenu},\n    {10, kResAccelerator},\n"
      "};\nconst size_t kResOtherCount = 3;\n",
  };
  for (const char* part : expected)
    EXPECT_NE(cpp.find(part), std::string::npos) << part << "\n" << cpp;
}

TEST(ResgenTable, EmptyOthersStillDefinesAnArray) {
  LangFile en = MustParse(std::string(kHeader) + "1 \"x\"\n");
  std::string cpp = WriteTable({en}, {});
  EXPECT_NE(cpp.find("const ResOther kResOthers[] = {\n    {0, 0},\n};\n"
                     "const size_t kResOtherCount = 0;"),
            std::string::npos)
      << cpp;
}

TEST(ResgenIdsHeader, NamesAreUniqueIdentifiersOfTheEnglishFileOnly) {
  LangFile en = MustParse(std::string(kHeader) +
                              "3007 kIdBiosVendor \"v\"\n"
                              "4\tkIdModuleName\t\"SYSLENS\"\n",
                          "en.txt");
  EXPECT_EQ(en.entries[0].name, "kIdBiosVendor");
  std::string header, error;
  ASSERT_TRUE(WriteIds(en, &header, &error)) << error;
  EXPECT_NE(header.find("constexpr unsigned kIdModuleName = 4;\n"
                        "constexpr unsigned kIdBiosVendor = 3007;\n"),
            std::string::npos)
      << header;
  struct Case {
    std::string content;
    const char* message;
  } bad[] = {
      {std::string(kHeader) + "3000 kIdA \"a\"\n3001 kIdA \"b\"\n",
       "t.txt:4: duplicate name kIdA (first on line 3)"},
      {std::string(kHeader) + "3000 kId \"a\"\n", "expected a name"},
      {std::string(kHeader) + "3000 Vendor \"a\"\n", "expected a name"},
      {std::string(kHeader) + "3000 kId_A \"a\"\n", "expected a name"},
      {std::string(kHeader) + "3000 kIdA\"a\"\n", "expected a name"},
      {"language 8\ncodepage 1252\n3000 kIdA \"a\"\n", "t.txt:3: names are given in the English"},
  };
  for (const Case& c : bad) {
    LangFile f;
    EXPECT_FALSE(ParseLangFile("t.txt", c.content, &f, &error)) << c.content;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
  // Parsing allows a nameless entry; the header refuses it.
  LangFile unnamed = MustParse(std::string(kHeader) + "3000 kIdA \"a\"\n3001 \"b\"\n", "en.txt");
  EXPECT_FALSE(WriteIds(unnamed, &header, &error));
  EXPECT_NE(error.find("en.txt:4: id 3001 has no name"), std::string::npos) << error;
}

}  // namespace
}  // namespace resgen
