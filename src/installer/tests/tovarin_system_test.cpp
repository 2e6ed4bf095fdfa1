// File-system helpers of TOVARIN against a real (Wine or Windows) file
// system, in a scratch directory of their own under the temporary directory.
#include "tovarin_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

class ScratchTree : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmp[MAX_PATH];
    DWORD n = GetTempPathA(sizeof tmp, tmp);
    ASSERT_TRUE(n > 0 && n < sizeof tmp);
    root_ = std::string(tmp) + "tovarin test " + std::to_string(GetCurrentProcessId());
    MakeDir(root_);
    longDir_ = root_ + "\\Long Directory Name";
    MakeDir(longDir_);
    nested_ = longDir_ + "\\another long one";
    MakeDir(nested_);
    plainDir_ = root_ + "\\PLAIN";
    MakeDir(plainDir_);
    file_ = longDir_ + "\\SYSLENS.EXE";
    HANDLE h = CreateFileA(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
  }

  void TearDown() override {
    DeleteFileA(file_.c_str());
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) RemoveDirectoryA(it->c_str());
  }

  void MakeDir(const std::string& path) {
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
    made_.push_back(path);
  }

  static std::string SystemShort(const std::string& path) {
    char out[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), out, sizeof out);
    return (n > 0 && n < sizeof out) ? out : "";
  }

  std::string root_, longDir_, nested_, plainDir_, file_;
  std::vector<std::string> made_;
};

TEST_F(ScratchTree, EntryByEntryShortPathMatchesTheSystems) {
  for (const std::string& dir : {longDir_, nested_, plainDir_}) {
    SCOPED_TRACE(dir);
    std::string expected = SystemShort(dir);
    ASSERT_FALSE(expected.empty());
    char out[MAX_PATH];
    ASSERT_TRUE(ShortPathFromEntries(dir.c_str(), out, sizeof out));
    EXPECT_EQ(lstrcmpiA(out, expected.c_str()), 0) << out << " vs " << expected;
    EXPECT_EQ(std::string(out).find(' '), std::string::npos) << out;
  }
}

TEST_F(ScratchTree, ShortDirectoryOnlyForExistingDirectories) {
  char out[MAX_PATH];
  ASSERT_TRUE(GetShortDirectory(nested_.c_str(), out, sizeof out));
  EXPECT_EQ(lstrcmpiA(out, SystemShort(nested_).c_str()), 0);

  const std::string missing = root_ + "\\gone";
  for (const std::string& bad : {missing, file_}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(GetShortDirectory(bad.c_str(), out, sizeof out));
    EXPECT_STREQ(out, "");
  }
  EXPECT_FALSE(ShortPathFromEntries((missing + "\\deeper").c_str(), out, sizeof out));
  // A buffer too small for the short form is a failure, not a cut path.
  char tiny[8];
  EXPECT_FALSE(GetShortDirectory(nested_.c_str(), tiny, sizeof tiny));
  EXPECT_STREQ(tiny, "");
}

TEST_F(ScratchTree, SameDirectoryHoweverSpelt) {
  const std::string shortForm = SystemShort(longDir_);
  ASSERT_FALSE(shortForm.empty());
  EXPECT_TRUE(IsSameDirectory(longDir_.c_str(), shortForm.c_str()));
  EXPECT_TRUE(IsSameDirectory(shortForm.c_str(), (longDir_ + "\\").c_str()));
  EXPECT_FALSE(IsSameDirectory(longDir_.c_str(), nested_.c_str()));
  EXPECT_FALSE(IsSameDirectory(longDir_.c_str(), (root_ + "\\gone").c_str()));
  EXPECT_FALSE(IsSameDirectory(file_.c_str(), file_.c_str()));

  // The empty path is the current directory.
  char cwd[MAX_PATH];
  DWORD n = GetCurrentDirectoryA(sizeof cwd, cwd);
  ASSERT_TRUE(n > 0 && n < sizeof cwd);
  ASSERT_TRUE(SetCurrentDirectoryA(plainDir_.c_str()));
  EXPECT_TRUE(IsSameDirectory("", plainDir_.c_str()));
  EXPECT_FALSE(IsSameDirectory("", longDir_.c_str()));
  SetCurrentDirectoryA(cwd);
}

}  // namespace
