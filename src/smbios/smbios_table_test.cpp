#include "smbios_table.h"

#include <gtest/gtest.h>

#include "test_tables.h"

namespace {

const TestBytes kBios = Structure(0, {1, 2, 0x00, 0xF0, 3, 0x0F}, {"Vendor", "1.0", "01/02/2020"});
const TestBytes kSystem = Structure(1, {1, 2}, {"Maker", "Model"});
const TestBytes kNoStrings = Structure(32, {0, 0, 0, 0, 0, 0, 0});
const TestBytes kEnd = Structure(127, {});

struct WalkCase {
  const char* name;
  TestBytes table;
  size_t structures;
  WalkStop stop;
  size_t stopOffset;
};

TEST(TableWalk, StopsWhereTheRulesSay) {
  const size_t three = kBios.size() + kSystem.size() + kNoStrings.size();
  TestBytes shortLength = kSystem;
  shortLength[1] = 3;
  TestBytes unterminated = kSystem;
  unterminated.pop_back();  // the string set's closing NUL is missing
  const WalkCase cases[] = {
      {"end-of-table structure ends the walk; bytes after it are ignored",
       Concat({kBios, kSystem, kNoStrings, kEnd, kBios}), 4, WalkStop::kEndOfTable,
       three + kEnd.size()},
      {"table end without end-of-table structure", Concat({kBios, kSystem, kNoStrings}), 3,
       WalkStop::kTableEnd, three},
      {"length below 4", Concat({kBios, shortLength, kEnd}), 1, WalkStop::kShortStructure,
       kBios.size()},
      {"zero padding after the last structure", Concat({kBios, TestBytes(16, 0)}), 1,
       WalkStop::kZeroPadding, kBios.size()},
      {"zeros then garbage", Concat({kBios, TestBytes(16, 0), {1}}), 1, WalkStop::kShortStructure,
       kBios.size()},
      {"string set runs off the end", Concat({kBios, unterminated}), 1, WalkStop::kCutStructure,
       kBios.size()},
      {"formatted area runs off the end",
       Concat({kBios, TestBytes(kSystem.begin(), kSystem.begin() + 5)}), 1, WalkStop::kCutStructure,
       kBios.size()},
      {"header cut", Concat({kBios, {1, 8}}), 1, WalkStop::kCutStructure, kBios.size()},
      {"empty table", {}, 0, WalkStop::kTableEnd, 0},
      {"end-of-table first", Concat({kEnd, kBios}), 1, WalkStop::kEndOfTable, kEnd.size()},
  };
  for (const WalkCase& c : cases) {
    const TableWalk walk = WalkTable(View(c.table));
    EXPECT_EQ(walk.structures.size(), c.structures) << c.name;
    EXPECT_EQ(walk.stop, c.stop) << c.name;
    EXPECT_EQ(walk.stopOffset, c.stopOffset) << c.name;
  }
}

TEST(TableWalk, StructuresIncludeTheirStringSetsAndDoubleNul) {
  const TestBytes table = Concat({kBios, kNoStrings, kEnd});
  const TableWalk walk = WalkTable(View(table));
  ASSERT_EQ(walk.structures.size(), 3u);
  EXPECT_EQ(walk.structures[0].data(), table.data());
  EXPECT_EQ(walk.structures[0].size(), kBios.size());
  // No strings: the formatted area and the double NUL alone.
  EXPECT_EQ(walk.structures[1].size(), 4u + 7u + 2u);
  EXPECT_EQ(walk.structures[2].size(), 6u);
}

TEST(TableWalk, DoubleNulMayStartInsideTheFormattedArea) {
  // The string set begins after the formatted length, even when the last
  // field bytes are zeros: they must not be taken for its terminator.
  const TestBytes s = Structure(4, {0, 0, 0, 0}, {"CPU"});
  const TableWalk walk = WalkTable(View(Concat({s, kEnd})));
  ASSERT_EQ(walk.structures.size(), 2u);
  EXPECT_EQ(walk.structures[0].size(), s.size());
}

TEST(TableWalk, TableLongerThan64KiBIsWalkedWhole) {
  TestBytes table;
  size_t count = 0;
  while (table.size() <= 0x10000) {
    const TestBytes s = Structure(11, {1}, {std::string(200, 'a' + count % 26)});
    table.insert(table.end(), s.begin(), s.end());
    ++count;
  }
  table.insert(table.end(), kEnd.begin(), kEnd.end());
  const TableWalk walk = WalkTable(View(table));
  EXPECT_EQ(walk.structures.size(), count + 1);
  EXPECT_EQ(walk.stop, WalkStop::kEndOfTable);
}

TEST(TableWalk, DescriptionsNameTheOffsetOfFaults) {
  TestBytes shortLength = kSystem;
  shortLength[1] = 0;
  const TableWalk walk = WalkTable(View(Concat({kBios, shortLength})));
  EXPECT_TRUE(WalkStoppedAtFault(walk));
  EXPECT_NE(DescribeWalkStop(walk).find("offset " + std::to_string(kBios.size())),
            std::string::npos);
  EXPECT_FALSE(WalkStoppedAtFault(WalkTable(View(Concat({kBios, kEnd})))));
  EXPECT_FALSE(WalkStoppedAtFault(WalkTable(View(Concat({kBios, TestBytes(5, 0)})))));
}

}  // namespace
