// The string-set lookup, the row helpers in each sink, and the frame that
// hands structures to their decodings.
#include "dmi_rows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "decoder_harness.h"
#include "dmi_frame.h"
#include "dump_builder.h"
#include "int_str.h"
#include "platform.h"
#include "qmrkw32.h"

namespace {

int Find(const Bytes& bytes, int num, int strSet) {
  return findstring(ByteView(bytes.data(), bytes.size()), num, strSet);
}

TEST(FindString, NumbersAndLimits) {
  const Bytes two = Structure(1, 0, {1, 2}, {"First", "Second"});  // set at 6
  const Bytes none = Structure(1, 0, {0, 0});                      // "\0\0" at 6
  const Bytes s80 = Structure(1, 0, {1}, {std::string(80, 'x')});
  const Bytes s81 = Structure(1, 0, {1}, {std::string(81, 'x')});
  // With no fields the set starts at 4: string 2 begins at 4 + length + 1.
  const Bytes at2048 = Structure(1, 0, {}, {std::string(2043, 'a'), "b"});
  const Bytes at2049 = Structure(1, 0, {}, {std::string(2044, 'a'), "b"});
  struct Case {
    const char* name;
    const Bytes& bytes;
    int num;
    int expected;
  } cases[] = {
      {"number 0 is no string", two, 0, 0},
      {"first string", two, 1, 6},
      {"second string", two, 2, 12},
      {"only the low seven bits count", two, 129, 6},
      {"128 is number 0", two, 128, 0},
      {"past the last string", two, 3, 0},
      {"empty set: string 1 is the empty text there", none, 1, 6},
      {"empty set: string 2 is missing", none, 2, 0},
      {"80 characters are shown", s80, 1, 5},
      {"81 characters count as missing", s81, 1, 0},
      {"a string may begin at 2048", at2048, 2, 2048},
      {"one beginning at 2049 counts as missing", at2049, 2, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(Find(c.bytes, c.num, c.bytes[1]), c.expected) << c.name;
}

TEST(FindString, StaysInsideTheBuffer) {
  // Formatted area of 4 bytes, then "AB\0CD" with no closing NUL at all.
  const Bytes open = {1, 4, 0, 0, 'A', 'B', 0, 'C', 'D'};
  // "AB\0" and the buffer ends: nothing after the first string's NUL.
  const Bytes cut = {1, 4, 0, 0, 'A', 'B', 0};
  struct Case {
    const char* name;
    const Bytes& bytes;
    int num;
    int strSet;
    int expected;
  } cases[] = {
      {"string ended by a NUL", open, 1, 4, 4},
      {"string running into the end of the buffer", open, 2, 4, 0},
      {"walk past the buffer's end", open, 3, 4, 0},
      {"no byte after the last NUL ends the set", cut, 2, 4, 0},
      {"string set beyond the buffer", cut, 1, 7, 0},
      {"string set far beyond the buffer", cut, 1, 5000, 0},
      {"negative string-set offset", cut, 1, -1, 0},
  };
  for (const Case& c : cases) {
    // A copy of exactly the structure's size, so a read past it is caught by
    // the sanitizers as well.
    const Bytes exact(c.bytes);
    EXPECT_EQ(Find(exact, c.num, c.strSet), c.expected) << c.name;
  }
}

TEST(StripTrailingSpaces, KeepsTheFirstCharacter) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"ab  ", "ab"}, {"   ", " "}, {"a b", "a b"}, {"", ""}, {"x", "x"}, {" a ", " a"},
  };
  for (const Case& c : cases) {
    char buffer[16];
    snprintf(buffer, sizeof buffer, "%s", c.in);
    StripTrailingSpaces(buffer);
    EXPECT_STREQ(buffer, c.out) << '"' << c.in << '"';
  }
}

TEST(GetSecurityStatus, TwoBitStates) {
  InitLanguagesEx(PlatProgramModule(), 0);
  const char* expected[] = {"Disabled", "Enabled", "Not Implemented", "Unknown", ""};
  for (unsigned status = 0; status < 5; ++status) {
    EXPECT_STREQ(GetSecurityStatus(status), expected[status]) << status;
  }
  EXPECT_STREQ(GetSecurityStatus(0x100), "");
}

// Runs a piece of decoder output in one sink and returns what that sink got:
// the window text, the HTML file, or the property file. Each test runs in
// its own directory, where DMI.DAT is read from.
class RowSinks : public ::testing::Test, public DecoderHarness {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Start({"*DMICHASSISTYPE", "03H=Desktop", "!Undefined", "*EMPTY", "*LONGNAMES",
                       "01H=" + std::string(kNameRowMax, 'n') + "-tail"}));
  }
  void TearDown() override { EXPECT_TRUE(Stop()); }
  using DecoderHarness::Run;  // not the framework's own Run
};

TEST_F(RowSinks, StringDataWithAndWithoutValue) {
  auto withValue = [] { OutputStringData("  Location\t: %s", "Rear", "szLoc"); };
  auto withoutValue = [] { OutputStringData("Connections", nullptr, nullptr); };
#ifndef _WIN32
  EXPECT_EQ(Run(Sink::kText, withValue), "  Location\t: Rear\r\n");
  EXPECT_EQ(Run(Sink::kText, withoutValue), "Connections\r\n");
#endif
  // In the structure's table the caption is the line's header cell.
  EXPECT_EQ(Run(Sink::kHtml,
                [&] {
                  QMRKBeginTable2(&wnd_data, 0, nullptr);
                  withValue();
                }),
            "<t>\r\n\r\n<tr>\r\n<lh>Location</lh>\r\n<td>Rear</td>\r\n</tr>\r\n");
  // The property is the bare value, not the row.
  EXPECT_EQ(Run(Sink::kIni, withValue), "[Settings]\r\nszLoc=Rear\r\n");
  EXPECT_EQ(Run(Sink::kIni, withoutValue), "");
}

TEST_F(RowSinks, CaptionFromResources) {
  auto row = [] { OutputStringDataId(3007, "Award", "szV"); };
#ifndef _WIN32
  EXPECT_EQ(Run(Sink::kText, row), "  Vendor\t: Award\r\n");
#endif
  EXPECT_EQ(Run(Sink::kIni, row), "[Settings]\r\nszV=Award\r\n");
}

TEST_F(RowSinks, FirmwareTextIsNeverAFormat) {
  auto row = [] { OutputStringData("  Vendor\t: %s", "%s%n%s", "szV"); };
#ifndef _WIN32
  EXPECT_EQ(Run(Sink::kText, row), "  Vendor\t: %s%n%s\r\n");
#endif
  EXPECT_EQ(Run(Sink::kIni, row), "[Settings]\r\nszV=%s%n%s\r\n");
}

TEST_F(RowSinks, StringTableRowOnlyForAUsableString) {
  const Bytes s = Structure(8, 0, {1, 0, 3}, {"Rear", std::string(81, 'x')});
  const Bytes empty = Structure(8, 0, {1, 0, 3});
  struct Case {
    const Bytes& bytes;
    int num;
    const char* expected;
  } cases[] = {
      {s, 1, "[Settings]\r\nszLoc=Rear\r\n"},
      {s, 0, ""},                              // no string
      {s, 2, ""},                              // too long
      {s, 3, ""},                              // past the set
      {empty, 1, "[Settings]\r\nszLoc=\r\n"},  // string 1 of an empty set is empty
  };
  for (const Case& c : cases) {
    const ByteView view(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(
        Run(Sink::kIni, [&] { OutputStringTableData(view, c.num, c.bytes[1], 3007, "szLoc"); }),
        c.expected)
        << c.num;
  }
#ifndef _WIN32
  const ByteView view(empty.data(), empty.size());
  EXPECT_EQ(Run(Sink::kText, [&] { OutputStringTableData(view, 1, empty[1], 3007, "szLoc"); }),
            "  Vendor\t: \r\n");
#endif
}

TEST_F(RowSinks, DmiDatRowOnlyWhenTheTableNamesTheCode) {
  struct Case {
    const char* section;
    int code;
    const char* expected;
  } cases[] = {
      {"DMICHASSISTYPE", 3, "[Settings]\r\nszCh=Desktop\r\n"},
      {"DMICHASSISTYPE", 0x55, "[Settings]\r\nszCh=Undefined\r\n"},  // section default
      {"EMPTY", 3, ""},                                              // no name, no default
      {"NOSUCHSECTION", 3, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(Sink::kIni, [&] { OutputDMIDatData(c.code, c.section, 3051, "szCh"); }),
              c.expected)
        << c.section << " " << c.code;
  }
  remove("DMI.DAT");
  EXPECT_EQ(Run(Sink::kIni, [] { OutputDMIDatData(3, "DMICHASSISTYPE", 3051, "szCh"); }), "");
}

TEST_F(RowSinks, StructureHeading) {
  auto heading = [] { OutputStructNameData(3006); };
#ifndef _WIN32
  EXPECT_EQ(Run(Sink::kText, heading), "\r\n BIOS Information \r\n\r\n");
#endif
  EXPECT_EQ(Run(Sink::kHtml, heading), "<h2>\r\n BIOS Information \r\n\r\n</h2>\r\n<t>\r\n");
  EXPECT_EQ(Run(Sink::kIni, heading), "");
}

TEST_F(RowSinks, RowFormsEndTheLineAndCutTheNameTheirOwnWay) {
  const std::string cut(kNameRowMax, 'n');
  const std::string whole = cut + "-tail";
  struct Case {
    RowForm form;
    std::string text;
    std::string property;
  } cases[] = {
      {RowForm::kClassic, "  Vendor\t: " + cut, cut},
      {RowForm::kLine, "  Vendor\t: " + whole + "\r\n", whole},
  };
  for (const Case& c : cases) {
    auto row = [&] { NameRow(3007, "LONGNAMES", 1, "szN", c.form); };
#ifndef _WIN32
    EXPECT_EQ(Run(Sink::kText, row), c.text);
#endif
    EXPECT_EQ(Run(Sink::kIni, row), "[Settings]\r\nszN=" + c.property + "\r\n");
  }
}

// The frame: pending tables, filters and dispatch.
class Frame : public RowSinks {
 protected:
  int Print(const Bytes& structure) { return dump_.Print(structure); }
  DumpState dump_;
  // Whether a port connector or slot table is pending; the tests set these.
  bool& portConn = dump_.dmi.portTableOpen;
  bool& slots = dump_.dmi.slotTableOpen;
};

TEST_F(Frame, AnotherTypeEndsAPendingTableEvenWhenNotReported) {
  struct Case {
    const char* name;
    uint8_t type;
    int language;
    bool portConnAfter;
    bool slotsAfter;
    const char* html;
  } cases[] = {
      {"end of table", 127, 0, false, false, "</t>\r\n</t>\r\n"},
      {"OEM type", 200, 0, false, false, "</t>\r\n</t>\r\n"},
      {"type 14", 14, 0, false, false, "</t>\r\n</t>\r\n"},
      {"type 17 in another language", 17, 15, false, false, "</t>\r\n</t>\r\n"},
      {"another port connector", 8, 0, true, false, "</t>\r\n"},
      {"another slot", 9, 0, false, true, "</t>\r\n"},
  };
  for (const Case& c : cases) {
    const std::string html = Run(Sink::kHtml, [&] {
      InitLanguagesEx(PlatProgramModule(), c.language);
      // Two open tables, one for each pending run.
      QMRKBeginTable(&wnd_data, 0, nullptr);
      QMRKBeginTable(&wnd_data, 0, nullptr);
      CloseReportFiles();
      remove(wnd_data.szOutputFile);
      portConn = slots = true;
      EXPECT_EQ(Print(Structure(c.type, 0, {})), 1) << c.name;
    });
    InitLanguagesEx(PlatProgramModule(), 0);
    EXPECT_EQ(portConn, c.portConnAfter) << c.name;
    EXPECT_EQ(slots, c.slotsAfter) << c.name;
    // The closing of the pending tables comes first; a port connector or slot
    // that continues its own run adds its row after it.
    const bool continuesRun = c.portConnAfter || c.slotsAfter;
    EXPECT_EQ(continuesRun ? html.substr(0, strlen(c.html)) : html, c.html) << c.name;
  }
}

TEST_F(Frame, TypesBelow16AreReportedInEveryLanguage) {
  // The captions may be translated; what matters is that rows come out.
  const Bytes processor = Structure(4, 0, Bytes(22, 0));
  InitLanguagesEx(PlatProgramModule(), 15);
  EXPECT_NE(Run(Sink::kHtml, [&] { Print(processor); }).find("<tr>"), std::string::npos);
  InitLanguagesEx(PlatProgramModule(), 0);
}

TEST_F(Frame, TypesWithoutDecodingReportNothing) {
  for (uint8_t type : {14, 15, 31, 126, 127, 128, 255}) {
    EXPECT_EQ(Run(Sink::kHtml, [&] { EXPECT_EQ(Print(Structure(type, 0, Bytes(20, 1))), 1); }), "")
        << int(type);
  }
}

TEST_F(Frame, TruncatedBufferIsSafe) {
  // A buffer that holds only the type byte and one that holds nothing.
  uint8_t one[1] = {4};
  EXPECT_EQ(DMI_Print_Structure(one, dump_.dmi, 1), 1);
  EXPECT_EQ(DMI_Print_Structure(one, dump_.dmi, 0), 1);
}

}  // namespace
