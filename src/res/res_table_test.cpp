// Checks the generated POSIX string table: lookups by binary search need it
// sorted, and the texts must come out byte for byte as written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "res_table.h"

namespace {

const ResString* Find(unsigned id) {
  for (size_t i = 0; i < kResStringCount; ++i)
    if (kResStrings[i].id == id) return &kResStrings[i];
  return nullptr;
}

std::string Text(unsigned id) {
  const ResString* s = Find(id);
  return s ? std::string(ResText(*s), s->length) : std::string("<missing>");
}

TEST(ResTable, SortedUniqueAndTerminated) {
  ASSERT_GT(kResStringCount, 0u);
  for (size_t i = 0; i < kResStringCount; ++i) {
    const ResString& s = kResStrings[i];
    if (i > 0) {
      EXPECT_LT(kResStrings[i - 1].id, s.id) << "at index " << i;
    }
    EXPECT_GT(s.length, 0u) << s.id;
    EXPECT_EQ(ResText(s)[s.length], '\0') << s.id;
    EXPECT_LE(std::strlen(ResText(s)), s.length) << s.id;
  }
  for (size_t i = 1; i < kResOtherCount; ++i) EXPECT_LE(kResOthers[i - 1].id, kResOthers[i].id);
}

TEST(ResTable, EnglishTextsAsWritten) {
  struct Case {
    unsigned id;
    const char* text;
  } cases[] = {
      {3, "SYSLENS.HLP"},
      {4, "SYSLENS"},
      {6, "425"},
      {3000, "This module is part of Quillmark For Windows.\nIt can not be executed by itself."},
      {3002, "\r\nDesktop Management Information BIOS (DMIBIOS)\r\n\r\n"},
      {3003, " DMI BIOS\t: Detected\r\n"},
      {3009, "\r\n  BIOS Start Segm.\t: %04X:0000\r\n"},
      {3032, "INT 13H 5.25\"/360 kB Floppy Services are supported"},
      {3130, "\t Other\r\n"},
      {3146, "  Description \t: %s"},
      {3186, "Detail %d\t: %%s"},
      {3377, "\r\n\r\n Automatic System Reset Information \r\n\r\n"},
      {3955, "\r\n\r\nQuillmark For Windows\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(c.id), c.text) << c.id;
}

TEST(ResTable, SaveFilterKeepsItsNuls) {
  const ResString* s = Find(3956);
  ASSERT_NE(s, nullptr);
  // Description, NUL, pattern, NUL; the terminator makes the double NUL the
  // save dialog needs.
  const char expected[] = "Log Files\0*.log;*.txt\0";
  ASSERT_EQ(s->length, sizeof expected - 1);
  EXPECT_EQ(std::memcmp(ResText(*s), expected, sizeof expected), 0);
}

TEST(ResTable, WindowMessagesAndAboutTextPresent) {
  // 3950 is unused; 3951..3960 are the report window's.
  EXPECT_EQ(Find(3950), nullptr);
  for (unsigned id = 3951; id <= 3960; ++id) EXPECT_NE(Find(id), nullptr) << id;
  std::string about = Text(3958);
  EXPECT_EQ(about.rfind("Quillmark For Windows\n", 0), 0u) << about;
  EXPECT_EQ(std::count(about.begin(), about.end(), '\n'), 2) << about;
}

}  // namespace
