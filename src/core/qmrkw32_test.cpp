// The report vocabulary in HTML mode (through the file sink and the test
// codes beside the test program) and its bookkeeping in window mode.
#include "qmrkw32.h"

#include <gtest/gtest.h>

#include <string>

#include "dump_builder.h"
#include "test_env.h"

namespace {

class HtmlReport : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetReportState();
    snprintf(wnd_data.szOutputFile, sizeof wnd_data.szOutputFile, "%s",
             dir.File("out.htm").c_str());
    wnd_data.iHTMLOutput = 1;
    wnd_data.hInstance = nullptr;  // the program: the codes lie beside it
  }
  void TearDown() override { ResetReportState(); }
  std::string Html() {
    CloseReportFiles();
    return ReadText(dir.File("out.htm"));
  }

  TempDir dir;
};

TEST_F(HtmlReport, HeadingLevels) {
  struct Case {
    int level;
    const char* expected;
  } cases[] = {
      {0, "<doc>\r\n<body>\r\n"},  // stops at the first gap in the numbering
      {-1, "</doc>\r\n"},         {1, "<h1>T</h1>\r\n<hr>\r\n<br>\r\n"},
      {2, "<h2>T</h2>\r\n"},      {6, "<h6>T</h6>\r\n"},
      {7, "<h7>T</h7>\r\n"},      {-5, "<h7>T</h7>\r\n"},
  };
  for (const Case& c : cases) {
    remove(wnd_data.szOutputFile);
    EXPECT_EQ(QMRKAddHeader2(&wnd_data, "T", c.level), 0);
    EXPECT_EQ(Html(), c.expected) << "level " << c.level;
  }
}

TEST_F(HtmlReport, MissingCodeWritesOnlyText) {
  // The test codes have no Heading4.
  QMRKAddHeader2(&wnd_data, "Four", 4);
  EXPECT_EQ(Html(), "Four\r\n");
}

TEST_F(HtmlReport, AddHeaderUpperCasesAsLevelOne) {
  QMRKAddHeader(&wnd_data, "Base Board");
  EXPECT_EQ(Html(), "<h1>BASE BOARD</h1>\r\n<hr>\r\n<br>\r\n");
}

TEST_F(HtmlReport, FirmwareTextCannotInjectMarkUp) {
  QMRKAddText(&wnd_data, "<script>\"a\" & b</script>");
  QMRKAddHeader2(&wnd_data, "<b>", 2);
  EXPECT_EQ(Html(),
            "&lt;script&gt;&quot;a&quot; &amp; b&lt;/script&gt;"
            "<h2>&lt;b&gt;</h2>\r\n");
}

TEST_F(HtmlReport, LineHeaderTableThenPlainTable) {
  QMRKBeginTable2(&wnd_data, 0, nullptr);
  QMRKAddTabbedTableEntry(&wnd_data, "  Vendor\t: Award");
  QMRKEndTable(&wnd_data);
  const char* headings[] = {"A", "B"};
  QMRKBeginTable(&wnd_data, 2, headings);
  QMRKAddTabbedTableEntryNoDupTabs(&wnd_data, "Size:\t\t512");
  QMRKEndTable(&wnd_data);
  EXPECT_EQ(Html(),
            "<t>\r\n"
            "\r\n<tr>\r\n<lh>Vendor</lh>\r\n<td>Award</td>\r\n</tr>\r\n"
            "</t>\r\n"
            "<t>\r\n<th>A</th>\r\n<th>B</th>\r\n"
            "\r\n<tr>\r\n<td>Size</td>\r\n<td>512</td>\r\n</tr>\r\n"
            "</t>\r\n");
}

TEST_F(HtmlReport, EmptyCellsShowThreeSpaces) {
  QMRKBeginTable(&wnd_data, 0, nullptr);
  QMRKAddTabbedTableEntry(&wnd_data, "Size:\t\t512");
  EXPECT_NE(Html().find("<td>   </td>"), std::string::npos);
}

TEST_F(HtmlReport, EndTableWithoutOpenTableWritesNothing) {
  QMRKBeginTable(&wnd_data, 0, nullptr);
  EXPECT_EQ(QMRKEndTable(&wnd_data), 0);
  EXPECT_EQ(QMRKEndTable(&wnd_data), 1);
  EXPECT_EQ(iTableCounter, 0);
  EXPECT_EQ(Html(), "<t>\r\n</t>\r\n");
}

TEST_F(HtmlReport, TwoLineHeadingsJoinColumns) {
  QMRKBeginTableTabbedTwoLine(&wnd_data, "Slot\tCurrent\tExtra", "Designation\tUsage");
  EXPECT_EQ(Html(),
            "<t>\r\n<th>Slot Designation</th>\r\n<th>Current Usage</th>\r\n"
            "<th>Extra </th>\r\n");
}

TEST_F(HtmlReport, OutputSwitchOffSuppressesTextHeadingsAndTables) {
  EXPECT_EQ(QMRKShowOutput(2), 0);
  EXPECT_EQ(g_iQMRKShowOutput, 1);
  EXPECT_EQ(QMRKShowOutput(0), 1);
  EXPECT_EQ(QMRKAddText(&wnd_data, "x"), 1);
  EXPECT_EQ(QMRKAddHeader2(&wnd_data, "x", 2), 1);
  EXPECT_EQ(QMRKBeginTable2(&wnd_data, 0, nullptr), 1);
  EXPECT_EQ(iTableCounter, 0);
  EXPECT_EQ(wnd_data.iSpecialTableActive, 0);
  // The separator does not look at the switch.
  EXPECT_EQ(QMRKCreateSeparatorLine(&wnd_data), 0);
  EXPECT_EQ(Html(), "<sep>\r\n");
}

TEST_F(HtmlReport, EmptyTextDoesNotCreateTheFile) {
  EXPECT_EQ(QMRKOutputToFile(&wnd_data, ""), 1);
  EXPECT_EQ(ReadBytes(wnd_data.szOutputFile).size(), 0u);
  FILE* f = fopen(wnd_data.szOutputFile, "rb");
  EXPECT_EQ(f, nullptr);
  if (f) fclose(f);
}

TEST_F(HtmlReport, WindowModeNeverTouchesTheFile) {
  wnd_data.iHTMLOutput = 0;
  EXPECT_EQ(QMRKOutputToFile(&wnd_data, "text"), 1);
  // Tables keep their bookkeeping in window mode.
  QMRKBeginTable2(&wnd_data, 0, nullptr);
  EXPECT_EQ(iTableCounter, 1);
  EXPECT_EQ(wnd_data.iSpecialTableActive, 1);
  QMRKEndTable(&wnd_data);
  EXPECT_EQ(wnd_data.iSpecialTableActive, 0);
  FILE* f = fopen(wnd_data.szOutputFile, "rb");
  EXPECT_EQ(f, nullptr);
  if (f) fclose(f);
}

}  // namespace
