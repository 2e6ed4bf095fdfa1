// String lookups by language, with the rotating result buffers.
#include "int_str.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

// The ids a translated set lacks come in English, in that language too.
TEST_F(Strings, IdsASetLacksFallBackToEnglish) {
  const struct {
    int language;
    unsigned id;
  } cases[] = {{15, 3172}, {15, 3176}, {15, 3188}, {15, 3955}, {2, 3951}, {24, 3960}};
  for (const auto& c : cases) {
    InitLanguagesEx(nullptr, 0);
    const std::string english = lpszLoadString(c.id);
    InitLanguagesEx(nullptr, c.language);
    EXPECT_FALSE(english.empty()) << c.id;
    EXPECT_EQ(GetStringId(c.id), static_cast<int>(c.id)) << c.language << " " << c.id;
    EXPECT_EQ(lpszLoadString(c.id), english) << c.language << " " << c.id;
  }
  InitLanguagesEx(nullptr, 15);
  EXPECT_NE(GetStringId(3001), 3001);  // the set itself is there
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

// ---- The override module and safe captions --------------------------------

// Stands in for the override module: records each call and answers with
// `answer` (null: the module reports no text) or, when `missing`, behaves as
// if no module were installed.
struct ModuleCall {
  std::string program;
  int id;
  unsigned langId;
  uint32_t size;
};
std::vector<ModuleCall> moduleCalls;
const char* moduleAnswer = nullptr;
bool moduleMissing = false;
bool moduleFillsBuffer = false;

bool FakeOverrideModule(const char* programName, int stringId, unsigned langId, char* buffer,
                        uint32_t size, uint32_t* result) {
  moduleCalls.push_back({programName ? programName : "(null)", stringId, langId, size});
  if (moduleMissing) return false;
  if (moduleFillsBuffer) {
    memset(buffer, 'x', size);  // no terminator at all
    *result = 0;
  } else if (moduleAnswer) {
    snprintf(buffer, size, "%s", moduleAnswer);
    *result = 0;
  } else {
    snprintf(buffer, size, "%s", "left over %s %n");  // must not show through
    *result = 1168;
  }
  return true;
}

class Override : public Strings {
 protected:
  void SetUp() override {
    Strings::SetUp();
    moduleCalls.clear();
    moduleAnswer = nullptr;
    moduleMissing = false;
    moduleFillsBuffer = false;
    previous = SetOverrideModuleCall(FakeOverrideModule);
  }
  void TearDown() override {
    SetOverrideModuleCall(previous);
    Strings::TearDown();
  }
  OverrideModuleCall previous = nullptr;
};

const char kEnglish3004[] = " DMIBIOS Revision\t: %i.%i\r\n";

TEST_F(Override, AnswersEnglishLookupsFirstWithBaseIdAndLanguageId) {
  moduleAnswer = " Site revision\t: %i.%i\r\n";
  EXPECT_STREQ(lpszLoadString(3004), moduleAnswer);
  ASSERT_EQ(moduleCalls.size(), 1u);
  EXPECT_EQ(moduleCalls[0].id, 3004);
  EXPECT_EQ(moduleCalls[0].langId, 0x0409u);
  EXPECT_EQ(moduleCalls[0].size, static_cast<uint32_t>(kLoadedStringSize));
  // The program's own file name, without directory and extension.
  EXPECT_EQ(moduleCalls[0].program, "core_test");
}

TEST_F(Override, ReceivesTheBaseIdInEveryLanguage) {
  const struct {
    int language;
    unsigned langId;
  } kCases[] = {{8, 0x0407}, {15, 0x0411}, {24, 0x0404}, {1, 0x0401}};
  moduleAnswer = " Site revision\t: %i.%i\r\n";
  for (const auto& c : kCases) {
    InitLanguagesEx(nullptr, c.language);
    moduleCalls.clear();
    EXPECT_STREQ(lpszLoadString(3004), moduleAnswer) << c.language;
    ASSERT_EQ(moduleCalls.size(), 1u) << c.language;
    EXPECT_EQ(moduleCalls[0].id, 3004) << c.language;
    EXPECT_EQ(moduleCalls[0].langId, c.langId) << c.language;
  }
}

TEST_F(Override, IdsBelow3000NeverAskTheModule) {
  moduleAnswer = "from the module";
  InitLanguagesEx(nullptr, 7);
  EXPECT_EQ(GetStringId(4), 704);  // offset 100 per language below 3000
  EXPECT_STREQ(lpszLoadString(4), "SYSLENS");
  EXPECT_STREQ(lpszLoadString(2999), "");
  EXPECT_TRUE(moduleCalls.empty());
}

TEST_F(Override, NoTextOrNoModuleLeavesTheResources) {
  for (bool missing : {false, true}) {
    moduleMissing = missing;
    EXPECT_STREQ(lpszLoadString(3004), kEnglish3004) << missing;
    InitLanguagesEx(nullptr, 8);
    char translated[kLoadedStringSize] = "";
    PlatLoadString(hResourceInstance, static_cast<unsigned>(GetStringId(3004)), translated,
                   sizeof translated);
    EXPECT_STREQ(lpszLoadString(3004), translated) << missing;
    InitLanguagesEx(nullptr, 0);
  }
  EXPECT_EQ(moduleCalls.size(), 4u);
}

// A replaced caption that asks for other arguments than the English one
// would make the caller's formatting read what it never passed.
TEST_F(Override, CaptionWithOtherConversionsFallsBackToEnglish) {
  const struct {
    const char* answer;
    bool kept;
  } kCases[] = {
      {" Site\t: %i.%i\r\n", true},
      {" Site\t: %u.%02x\r\n", true},        // other letters, same kinds of argument
      {" Site\t: %i.%i (100%%)\r\n", true},  // a literal percent sign
      {" Site\t: %s.%i\r\n", false},         // a text where a number is passed
      {" Site\t: %i\r\n", false},            // one fewer
      {" Site\t: %i.%i.%i\r\n", false},      // one more
      {" Site\t: %li.%i\r\n", false},        // wider argument
      {" Site\t: %n%i\r\n", false},          // writes through an argument
      {" Site\t: %*i.%i\r\n", false},        // width taken from an argument
      {" Site\t: %f.%i\r\n", false},         // floating point
      {" Site\t: %i.%i %", false},           // cut-off conversion
      {" Site\t: no values\r\n", false},
  };
  for (int language : {0, 8}) {
    InitLanguagesEx(nullptr, language);
    for (const auto& c : kCases) {
      moduleAnswer = c.answer;
      // Falls back to the English caption, not to a translation.
      EXPECT_STREQ(lpszLoadString(3004), c.kept ? c.answer : kEnglish3004)
          << c.answer << " language " << language;
    }
  }
}

TEST_F(Override, CaptionWithoutConversionsMayNotGainOne) {
  moduleAnswer = "Site title %s";
  EXPECT_STREQ(lpszLoadString(3001), "DMI Information");
  moduleAnswer = "Site title";
  EXPECT_STREQ(lpszLoadString(3001), "Site title");
}

TEST_F(Override, TextFillingTheBufferIsCutTo499) {
  moduleFillsBuffer = true;
  const char* text = lpszLoadString(3001);
  EXPECT_EQ(strlen(text), static_cast<size_t>(kLoadedStringSize - 1));
  EXPECT_EQ(text[0], 'x');
}

TEST_F(Override, RestOfTheBufferIsClearedAfterTheModulesText) {
  // Leave text in every buffer, then let the module answer a short text:
  // whoever reads on past the first NUL (the save dialog's filter) meets
  // NULs, not the old text.
  for (int i = 0; i < kLoadedStringCount; ++i) lpszLoadString(3000);
  moduleAnswer = "Logs";
  const char* text = lpszLoadString(3956);
  EXPECT_STREQ(text, "Logs");
  for (int i = 4; i < kLoadedStringSize; ++i) ASSERT_EQ(text[i], '\0') << i;
}

TEST(SafeCaptions, KeepsEnglishConversions) {
  InitLanguagesEx(PlatProgramModule(), 0);
  const struct {
    unsigned id;
    const char* text;
    bool kept;
  } kCases[] = {
      {3004, "%i.%i", true},
      {3004, "%d %X", true},
      {3004, "%i", false},
      {3004, "%s %s", false},
      {3007, "  Hersteller\t: %s", true},  // "  Vendor\t: %s"
      {3007, "  Hersteller\t: %i", false},
      {3007, "  Hersteller\t:", false},
      {3001, "Titel", true},
      {3001, "Titel %%", true},
      {3001, "Titel %", false},
      {2999, "missing English: no conversions", true},  // English is the empty text
      {2999, "missing English: %s", false},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(KeepsEnglishConversions(c.id, c.text), c.kept) << c.id << " " << c.text;
  }
  EXPECT_FALSE(KeepsEnglishConversions(3004, nullptr));
}

// Translations that keep the English conversions are used as they are.
TEST_F(Strings, ValidTranslationsAreKept) {
  for (int language : {2, 4, 7, 8, 14, 15, 18, 20, 24}) {
    InitLanguagesEx(nullptr, language);
    for (unsigned id : {3003u, 3004u, 3007u}) {
      const unsigned translated = static_cast<unsigned>(GetStringId(id));
      if (translated == id) continue;  // this set lacks the id
      char text[kLoadedStringSize] = "";
      PlatLoadString(hResourceInstance, translated, text, sizeof text);
      if (!KeepsEnglishConversions(id, text)) continue;
      EXPECT_STREQ(lpszLoadString(id), text) << language << " " << id;
    }
  }
}

}  // namespace
