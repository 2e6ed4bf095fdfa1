#include "tabbed_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Row(std::string line, int maxCells = 20) {
  std::vector<char*> cells(static_cast<size_t>(maxCells));
  const int n = CutRowCells(line.data(), cells.data(), maxCells);
  return std::vector<std::string>(cells.begin(), cells.begin() + n);
}

std::vector<std::string> Heading(std::string line) {
  char* cells[10];
  const int n = CutHeadingCells(line.data(), cells, 10);
  return std::vector<std::string>(cells, cells + n);
}

using Cells = std::vector<std::string>;

TEST(CutRowCells, Cases) {
  struct Case {
    const char* line;
    Cells cells;
  } cases[] = {
      {"  Vendor\t: Award", {"Vendor", "Award"}},
      {"Size:\t\t512", {"Size", "", "512"}},
      {"no tab here  ", {"no tab here  "}},
      {"", {""}},
      {"a\t:", {"a", ""}},               // a lone colon after a TAB is filler
      {"a:\tb", {"a", "b"}},             // trailing colon trimmed at a TAB
      {": lead\tx", {"lead", "x"}},      // leading filler skipped
      {"x\t-", {"x", "-"}},              // one character stays
      {"Caption\t: ", {"Caption", ""}},  // line ending in filler: empty last cell
      {" DMI BIOS\t: Detected\r\n", {"DMI BIOS", "Detected"}},
      {"a\t\xE4\xB8\xAD", {"a", "\xE4\xB8\xAD"}},  // bytes above 0x7F are text
  };
  for (const Case& c : cases) EXPECT_EQ(Row(c.line), c.cells) << '"' << c.line << '"';
}

TEST(CutRowCells, MoreCellsThanRoomKeepTheRestInTheLast) {
  EXPECT_EQ(Row("a\tb\tc\td", 3), (Cells{"a", "b", "c\td"}));
}

TEST(CutHeadingCells, TrimsEveryCellAndDropsTrailingEmptyCell) {
  EXPECT_EQ(Heading("Slot\tCurrent\t"), (Cells{"Slot", "Current"}));
  EXPECT_EQ(Heading("Only one:  "), (Cells{"Only one"}));
  EXPECT_EQ(Heading(""), Cells{});
  EXPECT_EQ(Heading("a\t\tb"), (Cells{"a", "", "b"}));
}

}  // namespace
