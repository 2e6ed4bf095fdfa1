#include "ini_file.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

// ---- Reading text ----------------------------------------------------------

TEST(IniTextGet, FindsValuesAsWindowsReadsThem) {
  struct Case {
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
  } cases[] = {
      {"[a]\r\nk=v\r\n", "a", "k", "v"},
      {"[Settings]\r\nVendor=X\r\n", "SETTINGS", "vendor", "X"},
      {"[ a ]\r\n  key1 =  val1  \r\n", " a ", " key1 ", "val1"},
      {"[a]\r\nk=\r\n", "a", "k", ""},
      {"[a]\r\nk=b=c\r\n", "a", "k", "b=c"},
      {"[a]\r\n=v\r\n", "a", "", "v"},
      // Quotes: a matching pair around the whole value goes, blanks inside stay.
      {"[a]\r\nq=\"quoted\"\r\n", "a", "q", "quoted"},
      {"[a]\r\nq='s'\r\n", "a", "q", "s"},
      {"[a]\r\nq=\" sp \"\r\n", "a", "q", " sp "},
      {"[a]\r\nq=  \"x\"  \r\n", "a", "q", "x"},
      {"[a]\r\nq=\"mis'\r\n", "a", "q", "\"mis'"},
      {"[a]\r\nq=\"\r\n", "a", "q", "\""},
      {"[a]\r\nq=\"\"\r\n", "a", "q", ""},
      {"[a]\r\nq=\"a\"b\"\r\n", "a", "q", "a\"b"},
      // Comments and lines without '='.
      {"[a]\r\n;k=1\r\n", "a", "k", std::nullopt},
      {"[a]\r\n;k=1\r\n", "a", ";k", std::nullopt},
      {"[a]\r\n  ; k=1\r\n", "a", "; k", std::nullopt},
      {"[a]\r\n#k=1\r\n", "a", "#k", "1"},
      {"[a]\r\nk\r\n", "a", "k", std::nullopt},
      // The first section of a name and the first line of a key win.
      {"[a]\r\nk=1\r\n[A]\r\nk=2\r\nonly2=y\r\n", "a", "k", "1"},
      {"[a]\r\nk=1\r\n[A]\r\nonly2=y\r\n", "a", "only2", std::nullopt},
      {"[a]\r\nk=1\r\nK=2\r\n", "a", "k", "1"},
      {"[a]\r\n[b]\r\nk=1\r\n", "a", "k", std::nullopt},
      // Headers: name to the last ']', rest ignored; '[' alone is no header.
      {"[d]junk\r\nz=3\r\n", "d", "z", "3"},
      {"[e]f]\r\nw=4\r\n", "e]f", "w", "4"},
      {"[a]\r\n[c\r\ny=2\r\n", "a", "y", "2"},
      {"[a]\r\n[c\r\ny=2\r\n", "c", "y", std::nullopt},
      {"[]\r\nk=0\r\n", "", "k", "0"},
      {"k=0\r\n[a]\r\nk=1\r\n", "", "k", std::nullopt},
      // Line ends of any kind, none at the end, a byte order mark first.
      {"[a]\nx=1\ny=2", "a", "y", "2"},
      {"[a]\rx=1\ry=2\r", "a", "y", "2"},
      {"[a]\r\n\r\n\nx=1", "a", "x", "1"},
      {"\xEF\xBB\xBF[a]\r\nx=1\r\n", "a", "x", "1"},
      {"[a]\r\nx=ab\0cd\r\ny=2\r\n"s, "a", "x", "ab\0cd"s},
      {"[a]\r\nx=ab\0cd\r\ny=2\r\n"s, "a", "y", "2"},
      {"", "a", "k", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IniTextGet(c.text, c.section, c.key), c.expected)
        << "text: " << c.text << " [" << c.section << "] " << c.key;
  }
}

TEST(IniTextGet, HugeLineAndManyLinesAreRead) {
  std::string text = "[a]\n";
  text.append(200000, '\n');
  text += "k=" + std::string(1 << 20, 'v') + "\n[b]\nx=1";
  EXPECT_EQ(IniTextGet(text, "a", "k")->size(), size_t{1} << 20);
  EXPECT_EQ(IniTextGet(text, "b", "x"), "1");
}

// ---- Writing text ----------------------------------------------------------

TEST(IniTextSet, PlacesKeysAndSectionsAndKeepsEverythingElse) {
  struct Case {
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
  } cases[] = {
      {"", "s", "k", "v", "[s]\r\nk=v\r\n"},
      {"", " s ", " k ", "v", "[s]\r\nk=v\r\n"},
      {"\xEF\xBB\xBF", "s", "k", "v", "\xEF\xBB\xBF[s]\r\nk=v\r\n"},
      // Replaced in place: indentation, spelling and line end of the line stay.
      {"; head\n[A]\n  Key1 = old ; x\nk2=2\n\n[b]\ny=1", "a", "KEY1", "new",
       "; head\n[A]\n  Key1=new\nk2=2\n\n[b]\ny=1"},
      {"[a]\nk=1", "a", "k", "2", "[a]\nk=2"},
      {"[a]\rk=1\rz=0\r", "a", "k", "2", "[a]\rk=2\rz=0\r"},
      {"[a]\r\nk\r\nz=0\r\n", "a", "K", "2", "[a]\r\nk=2\r\nz=0\r\n"},
      {"[a]\r\nk=1\r\nk=2\r\n", "a", "k", "3", "[a]\r\nk=3\r\nk=2\r\n"},
      {"[a]\r\nx=1\r\n[a]\r\nk=1\r\n", "a", "k", "2", "[a]\r\nx=1\r\nk=2\r\n[a]\r\nk=1\r\n"},
      // New key after the last key line, before blanks and comments that lead on.
      {"[a]\r\nx=1\r\n; about b\r\n\r\n[b]\r\ny=1\r\n", "a", "new", "v",
       "[a]\r\nx=1\r\nnew=v\r\n; about b\r\n\r\n[b]\r\ny=1\r\n"},
      {"[a]\r\nx=1\r\n; note\r\nz=2\r\n\r\n", "a", "new", "v",
       "[a]\r\nx=1\r\n; note\r\nz=2\r\nnew=v\r\n\r\n"},
      {"[a]\n\n[b]\n", "a", "new", "v", "[a]\nnew=v\r\n\n[b]\n"},
      {"[a]\r\n;k=1\r\n", "a", "k", "v", "[a]\r\nk=v\r\n;k=1\r\n"},
      {"[a]", "a", "new", "v", "[a]\r\nnew=v\r\n"},
      {"[a]\nx=1", "a", "new", "v", "[a]\nx=1\r\nnew=v\r\n"},
      {"pre=1\r\n[a]\r\n", "a", "new", "v", "pre=1\r\n[a]\r\nnew=v\r\n"},
      // New section at the end, after one blank line.
      {"[a]\nx=1", "b", "new", "v", "[a]\nx=1\r\n\r\n[b]\r\nnew=v\r\n"},
      {"[a]\nx=1\n", "b", "new", "v", "[a]\nx=1\n\r\n[b]\r\nnew=v\r\n"},
      {"[a]\nx=1\n\n", "b", "new", "v", "[a]\nx=1\n\n[b]\r\nnew=v\r\n"},
      {"[a]\nx=1\n  ", "b", "new", "v", "[a]\nx=1\n  \r\n[b]\r\nnew=v\r\n"},
      {"pre=1\n[a", "a", "k", "v", "pre=1\n[a\r\n\r\n[a]\r\nk=v\r\n"},
      // Values stay on their line and are otherwise written as given.
      {"[a]\r\n", "a", "k", "l1\r\nl2\rl3\n", "[a]\r\nk=l1  l2 l3 \r\n"},
      {"[a]\r\n", "a", "k", "\"q\"", "[a]\r\nk=\"q\"\r\n"},
      {"[a]\r\n", "a", "k", "", "[a]\r\nk=\r\n"},
      {"[a]\r\n", "a", "[x", "v", "[a]\r\n[x=v\r\n"},
      {"[a]\r\n", "e]f", "k", "v", "[a]\r\n\r\n[e]f]\r\nk=v\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IniTextSet(c.before, c.section, c.key, c.value), c.after)
        << "before: " << c.before << " [" << c.section << "] " << c.key << "=" << c.value;
  }
}

TEST(IniTextSet, WrittenValuesReadBack) {
  struct Case {
    const char* value;
    const char* read;
  } cases[] = {
      {"v", "v"},     {"", ""},       {"a=b", "a=b"},         {"  lead ", "lead"},
      {"x;y", "x;y"}, {"[z]", "[z]"}, {"l1\r\nl2", "l1  l2"}, {"'q'", "q"},
  };
  const char* texts[] = {"", "[a]\nk=old\n", "[A]\r\n\r\n[b]\r\nk=1", "\xEF\xBB\xBF", "[a]\nk"};
  for (const char* text : texts) {
    for (const Case& c : cases) {
      const std::string after = IniTextSet(text, "a", "k", c.value);
      EXPECT_EQ(IniTextGet(after, "a", "k"), c.read) << text << " / " << c.value;
      // No part of the value ever becomes a line of its own.
      EXPECT_EQ(IniTextGet(after, "a", "l2"), std::nullopt) << text << " / " << c.value;
      EXPECT_EQ(IniTextGet(after, "b", "k"), IniTextGet(text, "b", "k")) << text;
    }
  }
}

TEST(IniTextEdit, RefusesNamesThatWouldNotReadBack) {
  struct Case {
    std::string section;
    std::string key;
  } cases[] = {
      {"a", "k=x"},  {"a", ";k"},   {"a", " [x] "}, {"a", "k\rz"},  {"a", "k\nz"},
      {"a\nb", "k"}, {"a\rb", "k"}, {"a\0b"s, "k"}, {"a", "k\0z"s},
  };
  const std::string text = "[a]\r\nk=1\r\n";
  for (const Case& c : cases) {
    EXPECT_EQ(IniTextSet(text, c.section, c.key, "v"), text) << c.section << " / " << c.key;
    EXPECT_EQ(IniTextSet(text, c.section, c.key, nullptr), text) << c.section << " / " << c.key;
    if (c.key.find('\0') == std::string::npos) {
      std::string result;
      EXPECT_EQ(IniTextEdit(text, c.section, c.key.c_str(), "v", &result), IniEdit::Refused)
          << c.section << " / " << c.key;
    }
  }
}

TEST(IniTextEdit, SameValueLeavesTextUnchanged) {
  std::string result;
  EXPECT_EQ(IniTextEdit("[a]\nk = 1 \n", "a", "K", "1", &result), IniEdit::Unchanged);
  EXPECT_EQ(IniTextEdit("[a]\nk=1\n", "a", "k", "2", &result), IniEdit::Changed);
  // A line without '=' has no value yet, even an empty one.
  EXPECT_EQ(IniTextEdit("[a]\nk\n", "a", "k", "", &result), IniEdit::Changed);
  EXPECT_EQ(result, "[a]\nk=\n");
}

TEST(IniTextSet, NullValueDeletesTheKey) {
  struct Case {
    const char* before;
    const char* key;
    const char* after;
  } cases[] = {
      {"[a]\r\nx=1\r\ny=2\r\n", "X", "[a]\r\ny=2\r\n"},
      {"[a]\r\nx=1\r\n y = 0\r\nx=2\r\n[b]\r\nx=3\r\n", "x", "[a]\r\n y = 0\r\n[b]\r\nx=3\r\n"},
      {"[a]\nx\ny=2", "x", "[a]\ny=2"},
      {"[a]\ny=2\nx=1", "x", "[a]\ny=2\n"},
      {"[a]\r\n;x=1\r\n", "x", "[a]\r\n;x=1\r\n"},
      {"x=0\r\n[b]\r\nx=1\r\n", "x", "x=0\r\n[b]\r\nx=1\r\n"},
  };
  for (const Case& c : cases) {
    const std::string after = IniTextSet(c.before, "a", c.key, nullptr);
    EXPECT_EQ(after, c.after) << c.before;
    EXPECT_EQ(IniTextGet(after, "a", c.key), std::nullopt) << c.before;
  }
}

TEST(IniTextDeleteSection, RemovesEverySectionOfTheName) {
  struct Case {
    const char* before;
    const char* after;
  } cases[] = {
      {"[a]\r\nx=1\r\n\r\n[b]\r\ny=1\r\n", "[b]\r\ny=1\r\n"},
      {"[a]\nx=1\n; about b\n[b]\ny=1\n", "; about b\n[b]\ny=1\n"},
      {"[a]\nx=1\n\n; about b\n\n[b]\n", "; about b\n\n[b]\n"},
      {"[a]\nx=1\n; inside\nz=2\n[b]\n", "[b]\n"},
      {"[a]\nx=1\n[b]\ny=1\n[A]\nz=1\n", "[b]\ny=1\n"},
      {"pre=1\n[b]\ny=1\n\n[ a ]\nx=1", "pre=1\n[b]\ny=1\n\n"},
      {"[a]", ""},
      {"[b]\ny=1\n", "[b]\ny=1\n"},
  };
  for (const Case& c : cases) {
    const std::string after = IniTextDeleteSection(c.before, "a");
    EXPECT_EQ(after, c.after) << c.before;
    EXPECT_EQ(IniTextGet(after, "a", "x"), std::nullopt) << c.before;
  }
}

// ---- Files -------------------------------------------------------------------

class IniFile : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tmp = getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/initestXXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    path_ = dir_ + "/out.ini";
  }
  void TearDown() override {
    for (const std::string& name : Entries()) unlink((dir_ + "/" + name).c_str());
    rmdir(dir_.c_str());
  }
  void Put(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }
  std::string Content() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir_.c_str())) {
      while (dirent* e = readdir(d)) {
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
      }
      closedir(d);
    }
    return names;
  }
  bool Exists() const {
    struct stat st;
    return lstat(path_.c_str(), &st) == 0;
  }
  std::string dir_;
  std::string path_;
};

TEST_F(IniFile, GetCutsToTheBufferLikeWin32) {
  Put("[a]\r\nx=abcdef\r\nq=\"abcdef\"\r\nn=ab\0cd\r\n"s);
  struct Case {
    const char* key;
    const char* def;
    unsigned size;
    const char* expected;
  } cases[] = {
      {"x", "D", 100, "abcdef"},  {"x", "D", 7, "abcdef"},     {"x", "D", 6, "abcde"},
      {"x", "D", 2, "a"},         {"x", "D", 1, ""},           {"q", "D", 4, "abc"},
      {"n", "D", 100, "ab"},      {"none", "DE  ", 100, "DE"}, {"none", "  ", 100, ""},
      {"none", nullptr, 100, ""}, {"none", "ABCDEF", 3, "AB"},
  };
  for (const Case& c : cases) {
    char out[100];
    memset(out, '#', sizeof out);
    const unsigned n = IniGetString(path_.c_str(), "A", c.key, c.def, out, c.size);
    EXPECT_STREQ(out, c.expected) << c.key << " size " << c.size;
    EXPECT_EQ(n, strlen(c.expected)) << c.key << " size " << c.size;
    EXPECT_EQ(out[strlen(c.expected) + 1], '#') << "wrote past the NUL: " << c.key;
  }
  char out[4] = "###";
  EXPECT_EQ(IniGetString(path_.c_str(), "a", "x", "D", out, 0), 0u);
  EXPECT_STREQ(out, "###");
}

TEST_F(IniFile, GetGivesTheDefaultWhenTheFileCannotBeRead) {
  char out[16];
  EXPECT_EQ(IniGetString(path_.c_str(), "a", "x", "def", out, sizeof out), 3u);
  EXPECT_STREQ(out, "def");
  EXPECT_EQ(IniGetString(dir_.c_str(), "a", "x", "def", out, sizeof out), 3u);
  EXPECT_STREQ(out, "def");
  EXPECT_EQ(IniGetString(nullptr, "a", "x", "def", out, sizeof out), 3u);
  // An oversized file (sparse, so the test stays fast) is neither read nor cut.
  Put("[a]\r\nx=1\r\n");
  ASSERT_EQ(truncate(path_.c_str(), kIniMaxFileSize + 1), 0);
  EXPECT_EQ(IniGetString(path_.c_str(), "a", "x", "def", out, sizeof out), 3u);
  EXPECT_FALSE(IniWriteString(path_.c_str(), "a", "x", "2"));
  struct stat st;
  ASSERT_EQ(stat(path_.c_str(), &st), 0);
  EXPECT_EQ(static_cast<size_t>(st.st_size), kIniMaxFileSize + 1);
  std::string head(10, '?');
  std::ifstream(path_, std::ios::binary).read(head.data(), 10);
  EXPECT_EQ(head, "[a]\r\nx=1\r\n");
}

TEST_F(IniFile, GetWithoutSectionOrKeyGivesAnEmptyList) {
  Put("[a]\r\nx=1\r\n");
  char out[8];
  memset(out, '#', sizeof out);
  EXPECT_EQ(IniGetString(path_.c_str(), nullptr, "x", "def", out, sizeof out), 0u);
  EXPECT_EQ(std::string(out, 2), "\0\0"s);
  EXPECT_EQ(IniGetString(path_.c_str(), "a", nullptr, "def", out, sizeof out), 0u);
  EXPECT_EQ(out[0], '\0');
}

TEST_F(IniFile, WriteCreatesTheFileAndReadsBack) {
  EXPECT_TRUE(IniWriteString(path_.c_str(), "Settings", "Vendor", "X"));
  EXPECT_TRUE(IniWriteString(path_.c_str(), "Settings", "Version", "1.0"));
  EXPECT_TRUE(IniWriteString(path_.c_str(), "settings", "VENDOR", "Y"));
  EXPECT_EQ(Content(), "[Settings]\r\nVendor=Y\r\nVersion=1.0\r\n");
  char out[16];
  EXPECT_EQ(IniGetString(path_.c_str(), "SETTINGS", "version", "", out, sizeof out), 3u);
  EXPECT_STREQ(out, "1.0");
  EXPECT_EQ(Entries(), std::vector<std::string>{"out.ini"}) << "temporary file left behind";
}

TEST_F(IniFile, DeletingFromAMissingFileCreatesNothing) {
  EXPECT_TRUE(IniWriteString(path_.c_str(), "a", "k", nullptr));
  EXPECT_TRUE(IniWriteString(path_.c_str(), "a", nullptr, nullptr));
  EXPECT_FALSE(Exists());
}

TEST_F(IniFile, NullSectionAndRefusedNamesFailWithoutWriting) {
  EXPECT_TRUE(IniWriteString(path_.c_str(), nullptr, nullptr, nullptr));
  EXPECT_FALSE(IniWriteString(path_.c_str(), nullptr, "k", "v"));
  EXPECT_FALSE(IniWriteString(path_.c_str(), "a", "k=x", "v"));
  EXPECT_FALSE(IniWriteString(nullptr, "a", "k", "v"));
  EXPECT_FALSE(IniWriteString("", "a", "k", "v"));
  EXPECT_FALSE(Exists());
  EXPECT_FALSE(IniWriteString(dir_.c_str(), "a", "k", "v"));
}

TEST_F(IniFile, WriteReplacesTheFileAndKeepsItsMode) {
  Put("[a]\nk=1\n");
  ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
  struct stat before, after;
  ASSERT_EQ(stat(path_.c_str(), &before), 0);
  EXPECT_TRUE(IniWriteString(path_.c_str(), "a", "k", "1"));  // same value: untouched
  ASSERT_EQ(stat(path_.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);

  EXPECT_TRUE(IniWriteString(path_.c_str(), "a", "k", "2"));
  ASSERT_EQ(stat(path_.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(Content(), "[a]\nk=2\n");
  EXPECT_EQ(Entries().size(), 1u);
}

TEST_F(IniFile, WriteThroughASymbolicLinkReplacesItsTarget) {
  const std::string target = dir_ + "/target.ini";
  std::ofstream(target, std::ios::binary) << "[a]\r\nk=1\r\n";
  ASSERT_EQ(symlink("target.ini", path_.c_str()), 0);
  struct stat before;
  ASSERT_EQ(stat(target.c_str(), &before), 0);
  EXPECT_TRUE(IniWriteString(path_.c_str(), "a", "k", "2"));
  struct stat st;
  ASSERT_EQ(lstat(path_.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  // Written through the link by the kernel's rules, not resolved here and
  // renamed over: the target is the same file.
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_ino, before.st_ino);
  EXPECT_EQ(Content(), "[a]\r\nk=2\r\n");
  EXPECT_EQ(Entries().size(), 2u);
}

TEST_F(IniFile, DeleteSectionAndKeyOnDisk) {
  Put("[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\nz=3\r\n");
  EXPECT_TRUE(IniWriteString(path_.c_str(), "a", "x", nullptr));
  EXPECT_EQ(Content(), "[a]\r\ny=2\r\n\r\n[b]\r\nz=3\r\n");
  EXPECT_TRUE(IniWriteString(path_.c_str(), "A", nullptr, "ignored"));
  EXPECT_EQ(Content(), "[b]\r\nz=3\r\n");
}

}  // namespace
