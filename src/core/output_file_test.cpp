// The report file kept open for a run: written in whole lines, complete
// after a flush, reopened for another path.
#include "output_file.h"

#include <gtest/gtest.h>

#include <string>

#include "dump_builder.h"
#include "test_env.h"

namespace {

TEST(OutputFile, WritesWholeLinesOnlyAndIsCompleteAfterAFlush) {
  TempDir dir;
  const std::string path = dir.File("report.htm");
  OutputFile out;
  ASSERT_TRUE(OutputOpen(out, path.c_str()));
  std::string sent;
  for (int i = 0; sent.size() < 100 * 1024; ++i) {
    const std::string piece = i % 3 == 2 ? "\r\n" : "<td>cell</td>";
    OutputAppend(out, piece);
    sent += piece;
    if (i % 500 != 0) continue;
    const std::string written = ReadText(path);
    ASSERT_TRUE(written.empty() || written.back() == '\n');
    ASSERT_EQ(written, sent.substr(0, written.size()));
  }
  EXPECT_FALSE(ReadText(path).empty());  // chunks went out on the way
  OutputAppend(out, "<tail>");
  ASSERT_TRUE(OutputFlush(out));
  EXPECT_EQ(ReadText(path), sent + "<tail>");

  // Another path closes the first file and appends to the second.
  const std::string other = dir.File("other.htm");
  ASSERT_TRUE(OutputOpen(out, other.c_str()));
  OutputAppend(out, "x");
  ASSERT_TRUE(OutputClose(out));
  EXPECT_EQ(ReadText(other), "x");
  EXPECT_FALSE(OutputOpen(out, dir.File("missing/dir.htm").c_str()));
}

}  // namespace
