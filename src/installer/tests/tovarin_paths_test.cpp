#include "tovarin_paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr unsigned long kRegBinary = 3;
constexpr unsigned long kRegDword = 4;
constexpr unsigned long kRegMultiSz = 7;

// ---- Registry bytes -------------------------------------------------------

struct RegCase {
  const char* name;
  unsigned long type;
  std::string bytes;  // what the query wrote, NULs included
  size_t bufSize;
  bool ok;
  const char* text;
};

TEST(FinishRegString, TakesOnlyStringsThatFitWithTheirTerminator) {
  const std::string s127(127, 'a'), s128(128, 'a');
  const RegCase cases[] = {
      {"terminated", kRegTypeSz, std::string("C:\\Q\\QM.EXE", 11) + '\0', 128, true,
       "C:\\Q\\QM.EXE"},
      {"expand type", kRegTypeExpandSz, std::string("%X%\\a\0", 6), 128, true, "%X%\\a"},
      {"unterminated, room left", kRegTypeSz, "abc", 128, true, "abc"},
      {"127 chars and NUL", kRegTypeSz, s127 + '\0', 128, true, s127.c_str()},
      {"127 chars unterminated", kRegTypeSz, s127, 128, true, s127.c_str()},
      {"128 chars unterminated", kRegTypeSz, s128, 128, false, ""},
      {"embedded NUL ends text", kRegTypeSz, std::string("ab\0cd", 5), 128, true, "ab"},
      {"no bytes", kRegTypeSz, "", 128, true, ""},
      {"dword", kRegDword, std::string("\x05\0\0\0", 4), 128, false, ""},
      {"binary", kRegBinary, "C:\\Q\\x", 128, false, ""},
      {"multi string", kRegMultiSz, std::string("C:\\Q\\x\0\0", 8), 128, false, ""},
      {"count beyond buffer", kRegTypeSz, "abcdef", 4, false, ""},
  };
  for (const RegCase& c : cases) {
    SCOPED_TRACE(c.name);
    // Bytes past what the query wrote are garbage, not NULs.
    std::vector<char> buf(c.bufSize + 8, 'X');
    memcpy(buf.data(), c.bytes.data(), c.bytes.size());
    EXPECT_EQ(FinishRegString(c.type, buf.data(), c.bytes.size(), c.bufSize), c.ok);
    EXPECT_STREQ(buf.data(), c.text);
  }
}

// ---- Suite directory ------------------------------------------------------

struct DirCase {
  const char* value;
  SuiteRule rule;
  const char* dir;  // nullptr: names no directory
};

TEST(DeriveSuiteDir, CutsAtLastBackslashAndAfterFirstBlankOfUninstallString) {
  const SuiteRule I = SuiteRule::InstalledLocation;
  const SuiteRule U = SuiteRule::UninstallString;
  const DirCase cases[] = {
      {"C:\\QUILL\\QM.EXE", I, "C:\\QUILL"},
      // An installed location keeps its blanks.
      {"C:\\Program Files\\Quill\\QM.EXE", I, "C:\\Program Files\\Quill"},
      // Plain uninstaller path: its own directory.
      {"C:\\WINDOWS\\UNINST.EXE", U, "C:\\WINDOWS"},
      // Uninstaller, blank, file in the suite directory (with blanks).
      {"C:\\WINDOWS\\UNINST.EXE C:\\Program Files\\Quill Mark\\inst.log", U,
       "C:\\Program Files\\Quill Mark"},
      // Only the first blank splits.
      {"C:\\W\\UN.EXE -f C:\\Q\\a.log", U, "-f C:\\Q"},
      // A blank only after the last backslash does not count.
      {"C:\\Quill\\unins.exe /S", U, "C:\\Quill"},
      {"QM.EXE", I, nullptr},
      {"UNINST.EXE /S", U, nullptr},
      {"\\QM.EXE", I, nullptr},
      {"C:\\WINDOWS\\UNINST.EXE \\x.log", U, nullptr},
      {"", I, nullptr},
  };
  for (const DirCase& c : cases) {
    SCOPED_TRACE(c.value);
    char out[kRegTextSize];
    memset(out, 'X', sizeof out);
    bool ok = DeriveSuiteDir(c.value, c.rule, out, sizeof out);
    EXPECT_EQ(ok, c.dir != nullptr);
    EXPECT_STREQ(out, c.dir ? c.dir : "");
  }
}

TEST(DeriveSuiteDir, RefusesDirectoryLongerThanOutput) {
  char out[8];
  EXPECT_FALSE(DeriveSuiteDir("C:\\12345\\x", SuiteRule::InstalledLocation, out, sizeof out));
  EXPECT_STREQ(out, "");
  EXPECT_TRUE(DeriveSuiteDir("C:\\1234\\x", SuiteRule::InstalledLocation, out, sizeof out));
  EXPECT_STREQ(out, "C:\\1234");
}

_sysdir MakeSysdir(const char* instdir, const char* progfiles, const char* uninstreg) {
  _sysdir d = {};
  strncpy(d.instdir, instdir, sizeof d.instdir - 1);
  strncpy(d.progfiles, progfiles, sizeof d.progfiles - 1);
  strncpy(d.uninstreg, uninstreg, sizeof d.uninstreg - 1);
  return d;
}

struct LocateCase {
  const char* name;
  const char* instdir;
  const char* progfiles;
  const char* uninstreg;
  SuiteRule rule;
  int field;  // 0 instdir, 1 progfiles, 2 uninstreg, -1 none
  const char* dir;
};

TEST(LocateSuite, FirstUsableLocationInOrderWins) {
  const SuiteRule I = SuiteRule::InstalledLocation;
  const SuiteRule U = SuiteRule::UninstallString;
  const SuiteRule N = SuiteRule::None;
  const LocateCase cases[] = {
      {"installed location beats both", "C:\\A\\QM.EXE", "C:\\B\\UN.EXE", "C:\\C\\UN.EXE", I, 0,
       "C:\\A"},
      {"first uninstall key beats second", "", "C:\\B\\UN.EXE", "C:\\C\\UN.EXE", U, 1, "C:\\B"},
      {"second uninstall key alone", "", "", "X:\\U.EXE C:\\C D\\f.log", U, 2, "C:\\C D"},
      {"value without backslash is passed over", "QM.EXE", "", "C:\\C\\UN.EXE", U, 2, "C:\\C"},
      {"nothing registered", "", "", "", N, -1, ""},
      {"nothing usable", "QM.EXE", "UN.EXE /S", "\\UN.EXE", N, -1, ""},
  };
  for (const LocateCase& c : cases) {
    SCOPED_TRACE(c.name);
    _sysdir d = MakeSysdir(c.instdir, c.progfiles, c.uninstreg);
    const char* fields[] = {d.instdir, d.progfiles, d.uninstreg};
    SuiteLocation loc = LocateSuite(d);
    EXPECT_EQ(loc.rule, c.rule);
    EXPECT_EQ(loc.lpszValue, c.field < 0 ? nullptr : fields[c.field]);
    EXPECT_STREQ(loc.szDir, c.dir);
  }
}

TEST(LocateSuite, SkipsFieldWithoutTerminator) {
  _sysdir d = MakeSysdir("", "", "C:\\C\\UN.EXE");
  memset(d.instdir, 'A', sizeof d.instdir);
  d.instdir[3] = '\\';
  SuiteLocation loc = LocateSuite(d);
  EXPECT_EQ(loc.lpszValue, d.uninstreg);
  EXPECT_STREQ(loc.szDir, "C:\\C");
}

// ---- Own directory --------------------------------------------------------

TEST(ComputeSubprg, ProgramPathThenModulePathThenCurrentDirectory) {
  struct Case {
    const char* argv0;
    const char* module;
    const char* subprg;
  } cases[] = {
      {"C:\\PATCH\\TOVARIN.EXE", "C:\\OTHER\\TOVARIN.EXE", "C:\\PATCH\\"},
      {"..\\p\\T.EXE", "C:\\p\\T.EXE", "..\\p\\"},
      // Started by name alone: the module's own path tells the directory.
      {"TOVARIN", "C:\\Patch Dir\\TOVARIN.EXE", "C:\\Patch Dir\\"},
      {"C:TOVARIN.EXE", "C:\\P\\TOVARIN.EXE", "C:\\P\\"},
      {nullptr, "C:\\P\\TOVARIN.EXE", "C:\\P\\"},
      {"TOVARIN", "", ""},
      {"TOVARIN", nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argv0 ? c.argv0 : "(null)");
    char out[kPathSize];
    memset(out, 'X', sizeof out);
    ComputeSubprg(c.argv0, c.module, out, sizeof out);
    EXPECT_STREQ(out, c.subprg);
  }
}

// ---- Short path from directory entries -----------------------------------

struct FakeDisk {
  std::map<std::string, std::string> shortNames;  // full long path -> 8.3
};

// Knows only exact long paths, so a lookup of anything but the full long
// prefix of an entry (or of a wildcard) fails the build.
bool FakeLookup(const char* path, char* out, size_t size, void* ctx) {
  FakeDisk* disk = static_cast<FakeDisk*>(ctx);
  auto it = disk->shortNames.find(path);
  if (it == disk->shortNames.end() || it->second.size() >= size) return false;
  strcpy(out, it->second.c_str());
  return true;
}

TEST(BuildShortPathFromEntries, UsesEachEntrysShortNameBelowTheRoot) {
  FakeDisk disk;
  disk.shortNames = {
      {"C:\\Program Files", "PROGRA~1"},
      {"C:\\Program Files\\Quill Mark", "QUILLM~1"},
      {"C:\\QUILL", "QUILL"},
      {"\\\\srv\\share\\Long Dir", "LONGDI~1"},
      {"\\Long Dir", "LONGDI~1"},
      {"Files", "FILES"},
      {"Files\\Quill Mark", "QUILLM~1"},
      {"C:\\a", "A"},
      {"C:\\a\\..\\Long Dir", "LONGDI~1"},
  };
  struct Case {
    const char* dir;
    const char* shortDir;  // nullptr: fails
  } cases[] = {
      {"C:\\Program Files\\Quill Mark", "C:\\PROGRA~1\\QUILLM~1"},
      {"C:\\Program Files\\Quill Mark\\", "C:\\PROGRA~1\\QUILLM~1"},
      {"C:\\Program Files\\\\Quill Mark", "C:\\PROGRA~1\\QUILLM~1"},
      {"C:\\QUILL", "C:\\QUILL"},
      {"\\\\srv\\share\\Long Dir", "\\\\srv\\share\\LONGDI~1"},
      {"\\Long Dir", "\\LONGDI~1"},
      {"Files\\Quill Mark", "FILES\\QUILLM~1"},
      {"C:\\a\\..\\Long Dir", "C:\\A\\..\\LONGDI~1"},
      {"C:\\Program Files\\Missing", nullptr},
      {"C:\\Prog*", nullptr},
      {"C:\\", "C:\\"},  // a root is its own short form
      {"", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dir);
    char out[kPathSize];
    memset(out, 'X', sizeof out);
    bool ok = BuildShortPathFromEntries(c.dir, FakeLookup, &disk, out, sizeof out);
    EXPECT_EQ(ok, c.shortDir != nullptr);
    EXPECT_STREQ(out, c.shortDir ? c.shortDir : "");
  }
}

TEST(BuildShortPathFromEntries, RefusesResultLongerThanOutput) {
  FakeDisk disk;
  disk.shortNames = {{"C:\\Program Files", "PROGRA~1"}};
  char out[11];  // "C:\PROGRA~1" needs 12 bytes
  EXPECT_FALSE(BuildShortPathFromEntries("C:\\Program Files", FakeLookup, &disk, out, sizeof out));
  EXPECT_STREQ(out, "");
  char fits[12];
  EXPECT_TRUE(BuildShortPathFromEntries("C:\\Program Files", FakeLookup, &disk, fits, sizeof fits));
  EXPECT_STREQ(fits, "C:\\PROGRA~1");
}

// ---- Command-interpreter safety -------------------------------------------

TEST(CommandSafety, UnquotableCharactersAreFoundQuotableOnesAreQuoted) {
  struct Case {
    const char* path;
    char unsafe;
    bool quotes;
  } cases[] = {
      {"C:\\QUILL", 0, false},     {"C:\\PROGRA~1\\QUILL", 0, false},
      {"C:\\Quill Mark", 0, true}, {"C:\\A&B", 0, true},
      {"C:\\A^B", 0, true},        {"C:\\A(X)", 0, true},
      {"C:\\A,B;C=D", 0, true},    {"C:\\50%OFF", '%', false},
      {"C:\\%PATH%", '%', false},  {"C:\\HEY!", '!', false},
      {"C:\\A\"&calc", '"', true}, {"C:\\A\nB", '\n', false},
      {"C:\\A\tB", '\t', true},    {"C:\\\xC4RGER", 0, false},  // ANSI letters are fine
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FindUnsafeChar(c.path), c.unsafe);
    EXPECT_EQ(NeedsQuotes(c.path), c.quotes);
  }
}

TEST(BuildPatchCommands, DeletesThenCopiesBothPrograms) {
  struct Case {
    const char* shortDir;
    const char* subprg;
    const char* cmds[4];
  } cases[] = {
      {"C:\\QUILL",
       "C:\\Patch Dir\\",
       {"del \"C:\\QUILL\\syslens.*\"", "del \"C:\\QUILL\\probex.*\"",
        "copy \"C:\\Patch Dir\\syslens.*\" C:\\QUILL\\*.*",
        "copy \"C:\\Patch Dir\\probex.*\" C:\\QUILL\\*.*"}},
      // Destination with '&': quoted, so it stays one argument.
      {"C:\\A&B",
       "C:\\P\\",
       {"del \"C:\\A&B\\syslens.*\"", "del \"C:\\A&B\\probex.*\"",
        "copy \"C:\\P\\syslens.*\" \"C:\\A&B\\*.*\"", "copy \"C:\\P\\probex.*\" \"C:\\A&B\\*.*\""}},
      // Own directory unknown: the current one.
      {"C:\\QUILL",
       "",
       {"del \"C:\\QUILL\\syslens.*\"", "del \"C:\\QUILL\\probex.*\"",
        "copy \"syslens.*\" C:\\QUILL\\*.*", "copy \"probex.*\" C:\\QUILL\\*.*"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shortDir);
    PatchCommands out;
    ASSERT_TRUE(BuildPatchCommands(c.shortDir, c.subprg, &out));
    for (int i = 0; i < 4; ++i) EXPECT_STREQ(out.szCmd[i], c.cmds[i]);
  }
}

TEST(BuildPatchCommands, RefusesUnsafeOrOverlongPathsAndLeavesNoCommand) {
  const std::string huge = "C:\\" + std::string(kCommandSize, 'd');
  struct Case {
    const char* shortDir;
    const char* subprg;
  } cases[] = {
      {"C:\\50%OFF", "C:\\P\\"},
      {"C:\\QUILL", "C:\\%TEMP%\\"},
      {"C:\\QUILL", "C:\\A!B\\"},
      {huge.c_str(), "C:\\P\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.subprg);
    PatchCommands out;
    memset(&out, 'X', sizeof out);
    EXPECT_FALSE(BuildPatchCommands(c.shortDir, c.subprg, &out));
    for (const char* cmd : out.szCmd) EXPECT_STREQ(cmd, "");
  }
}

}  // namespace
