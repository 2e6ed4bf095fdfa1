// The POSIX emulation: the edit control behind window mode, processes and
// temporary files.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "dump_builder.h"
#include "edit_posix.h"
#include "platform.h"
#include "qmrkw32.h"
#include "test_env.h"

namespace {

class WindowReport : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetReportState();
    wnd_data.heditWnd = &edit;
  }
  void TearDown() override { ResetReportState(); }
  EditControl edit;
};

TEST_F(WindowReport, HeadingsAreUpperCasedBetweenBlankLines) {
  EXPECT_EQ(QMRKAddHeader2(&wnd_data, "Doc", 0), 1);
  EXPECT_EQ(QMRKAddHeader2(&wnd_data, "Doc", -1), 1);
  EXPECT_EQ(edit.text, "");
  EXPECT_EQ(QMRKAddHeader2(&wnd_data, "System Slots", 3), 0);
  EXPECT_EQ(edit.text, "\r\nSYSTEM SLOTS\r\n\r\n");
}

TEST_F(WindowReport, TextIgnoresTheOutputSwitchButNotOutOfSpace) {
  QMRKShowOutput(0);
  EXPECT_EQ(QMRKAddText(&wnd_data, "a"), 0);
  iEditOutOfSpace = 1;
  EXPECT_EQ(QMRKAddText(&wnd_data, "b"), 1);
  EXPECT_EQ(edit.text, "a");
  EXPECT_EQ(QMRKClearWindow(&wnd_data), 0);
  EXPECT_EQ(iEditOutOfSpace, 0);
  EXPECT_EQ(edit.text, "");
}

TEST_F(WindowReport, TabStopsUseFactorEightAndAtMostTwenty) {
  int stops[26];
  for (int i = 0; i < 25; ++i) stops[i] = i + 1;
  stops[25] = 0;
  EXPECT_EQ(QMRKSetTabStops(&wnd_data, stops), 0);
  ASSERT_EQ(edit.tabStops.size(), 20u);
  // Emulated font 8 wide, dialog base unit 8: c * 8 * 8 / 8.
  EXPECT_EQ(edit.tabStops[0], 8);
  EXPECT_EQ(edit.tabStops[19], 160);
  EXPECT_EQ(edit.text, "");
}

TEST_F(WindowReport, MarkerLineWithFlagBit31) {
  dwFlags = 0x80000000u;
  const int stops[] = {15, 30, 0};
  QMRKSetTabStops(&wnd_data, stops);
  EXPECT_EQ(edit.text, "{TABSTOPS=15, 30}\r\n");
}

TEST_F(WindowReport, NoEditControlMeansNoTabStops) {
  wnd_data.heditWnd = nullptr;
  const int stops[] = {15, 0};
  EXPECT_EQ(QMRKSetTabStops(&wnd_data, stops), -1);
}

TEST(TerminalText, ExpandsTabsToTheStopsAndFoldsLineEnds) {
  EditControl edit;
  edit.tabStops = {120};  // 30 characters
  edit.text = " DMI BIOS\t: Detected\r\nab\tc\r\n";
  EXPECT_EQ(TerminalText(edit),
            " DMI BIOS" + std::string(21, ' ') + ": Detected\nab" + std::string(28, ' ') + "c\n");
}

TEST(TerminalText, ShowsControlCharactersAsBlanks) {
  EditControl edit;
  edit.text =
      "a\x1b[2Jb\rc\x7f\x01\xc2\x9b"
      "d\xc2\xa0\xc3\xa9\r\n";
  EXPECT_EQ(TerminalText(edit), "a [2Jb c   d\xc2\xa0\xc3\xa9\n");
}

TEST(StreamedEdit, WritesWholeLinesAsTheyGatherAndKeepsCounting) {
  TempDir dir;
  const std::string path = dir.File("window.txt");
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  EditControl edit;
  edit.streamTo = fileno(file);
  std::string sent;
  for (int i = 0; sent.size() < 200 * 1024; ++i) {
    const std::string line = "Row " + std::to_string(i) + "\t: value\r\n";
    ASSERT_TRUE(PlatEditAppend(&edit, line.c_str()));
    sent += line;
    // Never holds more than a chunk and a line, never writes half a line.
    ASSERT_LT(edit.text.size(), 64u * 1024 + line.size());
    if (i % 1000 == 999) {
      const std::string written = ReadText(path);
      EXPECT_TRUE(written.empty() || written.back() == '\n');
      EXPECT_EQ(written, sent.substr(0, written.size()));
    }
  }
  ASSERT_TRUE(PlatEditAppend(&edit, "no line end"));
  sent += "no line end";
  EXPECT_EQ(PlatEditTextLength(&edit), sent.size());
  StreamEditText(edit, true);
  fclose(file);
  EXPECT_EQ(ReadText(path), sent);
}

TEST(HostEdit, TextGoesToTheDescriptorWhenReleased) {
  TempDir dir;
  const std::string path = dir.File("host.txt");
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  QHANDLE edit = PlatAttachHostEdit(static_cast<uint32_t>(fileno(file)));
  PlatEditAppend(edit, "line\r\n");
  PlatEditAppend(edit, "\tnext");
  PlatReleaseHostEdit(edit);
  fclose(file);
  EXPECT_EQ(ReadText(path), "line\r\n\tnext");
}

TEST(Process, ExitCodeAndTimeout) {
  QHANDLE quick = PlatStartProcessHidden("/bin/false", nullptr);
  ASSERT_NE(quick, nullptr);
  EXPECT_TRUE(PlatWaitProcess(quick, kInfinite));
  uint32_t code = 0;
  EXPECT_TRUE(PlatGetExitCodeProcess(quick, &code));
  EXPECT_EQ(code, 1u);
  PlatCloseProcess(quick);

  QHANDLE slow = PlatStartProcessHidden("/bin/sleep", "5");
  ASSERT_NE(slow, nullptr);
  EXPECT_FALSE(PlatWaitProcess(slow, 50));
  EXPECT_TRUE(PlatGetExitCodeProcess(slow, &code));
  EXPECT_EQ(code, kStillActive);
  PlatTerminateProcess(slow, 1);
  EXPECT_TRUE(PlatGetExitCodeProcess(slow, &code));
  EXPECT_EQ(code, 1u);
  PlatCloseProcess(slow);

  EXPECT_EQ(PlatStartProcessHidden("/nonexistent/program", "arg"), nullptr);
}

// The program runs at its path and gets its argument whole: a planted
// program named by a prefix of the path up to a blank never runs, and
// doubled blanks in the argument stay.
TEST(Process, ProgramAndArgumentAreTakenAsGiven) {
  TempDir dir;
  const auto script = [](const std::string& path, const std::string& body) {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fputs(("#!/bin/sh\n" + body + "\n").c_str(), file);
    fclose(file);
    chmod(path.c_str(), 0755);
  };
  ASSERT_EQ(mkdir(dir.File("inst dir").c_str(), 0755), 0);
  script(dir.File("inst"), "touch '" + dir.File("planted ran") + "'");
  const std::string program = dir.File("inst dir/my collector");
  script(program, "printf %s \"$1\" > '" + dir.File("argument") + "'; exit 7");
  QHANDLE process = PlatStartProcessHidden(program.c_str(), "a  b/tst 1");
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(PlatWaitProcess(process, kInfinite));
  uint32_t code = 0;
  PlatGetExitCodeProcess(process, &code);
  EXPECT_EQ(code, 7u);
  PlatCloseProcess(process);
  EXPECT_EQ(ReadText(dir.File("argument")), "a  b/tst 1");
  EXPECT_NE(access(dir.File("planted ran").c_str(), F_OK), 0);
}

TEST(TempFile, CreatedEmptyWithPrefixInTmpdir) {
  TempDir dir;
  setenv("TMPDIR", dir.path.c_str(), 1);
  char directory[kMaxPath];
  ASSERT_TRUE(PlatGetTempPath(directory, sizeof directory));
  EXPECT_EQ(std::string(directory), dir.path + "/");
  char name[kMaxPath];
  ASSERT_TRUE(PlatGetTempFileName(directory, "tst", name));
  EXPECT_EQ(std::string(name).rfind(dir.path + "/tst", 0), 0u);
  EXPECT_EQ(access(name, F_OK), 0);
  EXPECT_TRUE(PlatDeleteFile(name));
  unsetenv("TMPDIR");
}

TEST(PlatReadWholeFile, RegularFilesOnlyAndBoundedAcrossTheReadPieces) {
  TempDir dir;
  const std::string piece(16384, 'x');  // the size of one read
  FILE* file = fopen(dir.File("piece").c_str(), "wb");
  ASSERT_NE(file, nullptr);
  fwrite(piece.data(), 1, piece.size(), file);
  fclose(file);
  ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
  struct Case {
    std::string path;
    size_t limit;
    PlatReadStatus status;
    int error;
    size_t size;
  } cases[] = {
      {dir.File("piece"), piece.size(), PlatReadStatus::kRead, 0, piece.size()},
      {dir.File("piece"), piece.size() - 1, PlatReadStatus::kTooLarge, 0, 0},
      {dir.File("missing"), 10, PlatReadStatus::kCannotOpen, ENOENT, 0},
      {dir.path, 10, PlatReadStatus::kCannotOpen, EISDIR, 0},
      {dir.File("fifo"), 10, PlatReadStatus::kCannotOpen, EINVAL, 0},  // never waits for a writer
  };
  for (const Case& c : cases) {
    std::string out = "stale";
    const PlatReadResult read = PlatReadWholeFile(c.path.c_str(), c.limit, &out);
    EXPECT_EQ(read.status, c.status) << c.path;
    EXPECT_EQ(read.error, c.error) << c.path;
    EXPECT_EQ(out.size(), c.size) << c.path;
  }
}

}  // namespace
