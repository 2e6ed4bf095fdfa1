#include "readdat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string hide(std::string_view plain) {
  std::string stored(plain);
  for (std::size_t i = 0; i < stored.size(); ++i)
    stored[i] = static_cast<char>(stored[i] + kDmiDatPassword[i % 21]);
  return stored;
}

// A scrambled table in a temporary file; every line ends with eol.
struct TempDat {
  std::string path;
  explicit TempDat(const std::vector<std::string> &lines, const std::string &eol = "\n") {
    // Unique across test processes that ctest or several builds run at once.
    static int counter = 0;
    static const unsigned run = std::random_device()();
    path = (std::filesystem::temp_directory_path() /
            ("readdat_test_" + std::to_string(run) + "_" + std::to_string(++counter) + ".dat"))
               .string();
    std::string bytes;
    for (const std::string &line : lines) bytes += hide(line) + eol;
    write(bytes);
  }
  void write(const std::string &bytes) const { std::ofstream(path, std::ios::binary) << bytes; }
  ~TempDat() { std::remove(path.c_str()); }
};

struct Result {
  int rc;
  std::string s;
};

// The buffer starts as "untouched" and is followed by guard bytes that no
// lookup may reach.
Result lookup(const std::string &file, const char *section, int code) {
  std::array<char, kDmiDatLineMax + 1 + 16> buffer;
  buffer.fill('#');
  std::memcpy(buffer.data(), "untouched", 10);
  const int rc = lookup_type(file.c_str(), section, code, buffer.data());
  for (std::size_t i = kDmiDatLineMax + 1; i < buffer.size(); ++i)
    EXPECT_EQ(buffer[i], '#') << "overrun";
  const auto end = std::find(buffer.begin(), buffer.begin() + kDmiDatLineMax + 1, '\0');
  return {rc, std::string(buffer.begin(), end)};
}

TEST(UnhideDatText, SubtractsTheKeyFromItsFirstCharacter) {
  // "0AH=Tower" as stored: each character plus "QuIeTrIvE".
  char line[] = "\x81\xB6\x91\xA2\xA8\xE1\xC0\xDB\xB7";
  unhide_dat_text(line);
  EXPECT_STREQ(line, "0AH=Tower");
  // The key starts over after its 21st character.
  const std::string plain(50, 'A');
  std::string stored = hide(plain);
  unhide_dat_text(stored.data());
  EXPECT_EQ(stored, plain);
}

TEST(UnhideDatText, StopsOnlyAtAStoredNul) {
  char line[] = {'Q', static_cast<char>('u' + 'x'), '\0', 'Z', '\0'};
  unhide_dat_text(line);  // the first character becomes NUL; the walk goes on
  EXPECT_EQ(line[1], 'x');
  EXPECT_EQ(line[3], 'Z');
}

TEST(StripTrailingLf, RemovesOneLineFeed) {
  for (auto [in, out] : std::vector<std::pair<std::string, std::string>>{{"abc\n", "abc"},
                                                                         {"abc", "abc"},
                                                                         {"\n", ""},
                                                                         {"", ""},
                                                                         {"a\n\n", "a\n"},
                                                                         {"a\r\n", "a\r"}}) {
    strip_trailing_lf(in.data());
    EXPECT_STREQ(in.c_str(), out.c_str());
  }
}

TEST(LookupType, MissingFileOrSectionLeavesTheBufferAlone) {
  TempDat dat({"*S", "01H=One"});
  TempDat empty({});
  EXPECT_EQ(lookup("no/such/DMI.DAT", "S", 1).s, "untouched");
  EXPECT_EQ(lookup(dat.path, "T", 1).s, "untouched");
  EXPECT_EQ(lookup(dat.path, "SS", 1).s, "untouched");  // shorter section line
  EXPECT_EQ(lookup(empty.path, "S", 1).s, "untouched");
  EXPECT_EQ(lookup(TempDat({" *S", "01H=One"}).path, "S", 1).rc, 0);
}

TEST(LookupType, ReadsValueLinesAsHexCodeCapitalHAndName) {
  struct Case {
    const char *line;
    int code;
    int rc;
    const char *name;
  };
  for (const Case &c : std::vector<Case>{{"0AH=Tower", 10, 1, "Tower"},
                                         {"0aH=Tower", 10, 1, "Tower"},
                                         {"0Ah=Tower", 10, 0, ""},
                                         {"0A=Tower", 10, 0, ""},
                                         {"0AH =Tower", 10, 0, ""},
                                         {"0AH=", 10, 0, ""},
                                         {"0AH= \t ", 10, 0, ""},
                                         {"0AH= Tower", 10, 1, " Tower"},
                                         {"0AH=a=b", 10, 1, "a=b"},
                                         {" 0x0AH=Tower", 10, 1, "Tower"},
                                         {"0AH=Tower\t\x01", 10, 1, "Tower"},
                                         {"0BH=Tower", 10, 0, ""},
                                         {"10000000AH=Wrap", 10, 0, ""},
                                         {"100000000H=Wrap", 0, 0, ""},
                                         {"0AH=\x01\x02", 10, 1, "\x01"},
                                         {"0104H=ARMv7", 0x104, 1, "ARMv7"}}) {
    const Result r = lookup(TempDat({"*S", c.line}).path, "S", c.code);
    EXPECT_EQ(r.rc, c.rc) << c.line;
    EXPECT_EQ(r.s, c.name) << c.line;
  }
}

TEST(LookupType, DefaultLineAnswersUnnamedCodesAndEndsTheSection) {
  TempDat dat({"*S", "01H=One", "!Undefined", "05H=Five", "*T", "!", "*U", "!\x01\x02"});
  EXPECT_EQ(lookup(dat.path, "S", 1).s, "One");
  const Result fallback = lookup(dat.path, "S", 5);
  EXPECT_EQ(fallback.rc, 1);
  EXPECT_EQ(fallback.s, "Undefined");
  for (const char *empty_default : {"T", "U"}) {
    const Result r = lookup(dat.path, empty_default, 5);
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.s, "");
  }
}

TEST(LookupType, NextSectionEndsTheSearch) {
  TempDat dat({"*A", "01H=One", "*B", "05H=Five"});
  const Result r = lookup(dat.path, "A", 5);
  EXPECT_EQ(r.rc, 0);
  EXPECT_EQ(r.s, "");
  EXPECT_EQ(lookup(dat.path, "B", 5).s, "Five");
  EXPECT_EQ(lookup(TempDat({"*A"}).path, "A", 5).s, "");  // section at the end
}

TEST(LookupType, SectionNamesMatchAsCaseInsensitivePrefixes) {
  TempDat wrong_order({"*PNTDEVINT", "03H=PS/2", "*PNTDEV", "03H=Mouse"});
  TempDat right_order({"*PNTDEV", "03H=Mouse", "*PNTDEVINT", "03H=PS/2"});
  EXPECT_EQ(lookup(wrong_order.path, "PNTDEV", 3).s, "PS/2");
  EXPECT_EQ(lookup(right_order.path, "PNTDEV", 3).s, "Mouse");
  EXPECT_EQ(lookup(right_order.path, "PNTDEVINT", 3).s, "PS/2");
  EXPECT_EQ(lookup(TempDat({"*dmislottype", "06H=PCI"}).path, "DMISLOTTYPE", 6).s, "PCI");
}

TEST(LookupType, ReadsLongLinesInPiecesOf79) {
  const std::string name78(74, 'n'), name79(75, 'm');
  TempDat dat({"*S", "01H=" + name78, "02H=" + name79, "03H=Three", "!" + std::string(78, 'd')});
  EXPECT_EQ(lookup(dat.path, "S", 1).s, name78);
  EXPECT_EQ(lookup(dat.path, "S", 2).s, name79);  // its line feed is a piece alone
  EXPECT_EQ(lookup(dat.path, "S", 3).s, "Three");
  EXPECT_EQ(lookup(dat.path, "S", 9).s, std::string(78, 'd'));
  // A second piece is unscrambled from the start of the key.
  TempDat split({});
  split.write(hide("*S") + "\n" + hide(std::string(79, 'x')) + hide("05H=Five") + "\n");
  EXPECT_EQ(lookup(split.path, "S", 5).s, "Five");
}

TEST(LookupType, ReadsCrLfLikeLfAndStopsAtCtrlZ) {
  const std::string name78(74, 'n');
  TempDat dat({"*S", "01H=One", "02H=" + name78, "!Default"}, "\r\n");
  EXPECT_EQ(lookup(dat.path, "S", 1).s, "One");
  EXPECT_EQ(lookup(dat.path, "S", 2).s, name78);
  EXPECT_EQ(lookup(dat.path, "S", 3).s, "Default");
  TempDat no_final_lf({});
  no_final_lf.write(hide("*S") + "\n" + hide("05H=Five"));
  EXPECT_EQ(lookup(no_final_lf.path, "S", 5).s, "Five");
  TempDat ctrl_z({});
  ctrl_z.write(hide("*S") + "\n\x1A\n" + hide("05H=Five") + "\n");
  EXPECT_EQ(lookup(ctrl_z.path, "S", 5).rc, 0);
}

TEST(LookupType, SurvivesGarbage) {
  std::string bytes;
  unsigned state = 12345;
  for (int i = 0; i < 65536; ++i)
    bytes += static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
  bytes += hide("*S") + "\n" + std::string(10000, 'x') + "\n" + hide("05H=Five");
  TempDat dat({});
  dat.write(bytes);
  for (const char *section : {"S", "", "A", "DMISLOTTYPE"}) {
    for (int code : {0, 5, 255, -1}) EXPECT_LE(lookup(dat.path, section, code).rc, 1);
  }
}

TEST(LookupType, ReadsARewrittenFileAgainAndRefusesAHugeOne) {
  TempDat dat({"*S", "01H=One"});
  EXPECT_EQ(lookup(dat.path, "S", 1).s, "One");
  dat.write(hide("*S") + "\n" + hide("01H=Uno, rewritten") + "\n");
  EXPECT_EQ(lookup(dat.path, "S", 1).s, "Uno, rewritten");
  // Kept in memory, the table must not grow without bound.
  std::string huge = hide("*S") + "\n" + hide("01H=One") + "\n";
  huge.resize(kDmiDatMaxFileSize + 1, '\n');
  dat.write(huge);
  EXPECT_EQ(lookup(dat.path, "S", 1).rc, 0);
#ifdef __linux__
  // The refusal is remembered while the file is unchanged: further lookups
  // read next to nothing (the bytes this process has read, from the kernel).
  const auto bytesRead = [] {
    std::ifstream io("/proc/self/io");
    std::string name;
    unsigned long long value = 0;
    while (io >> name >> value) {
      if (name == "rchar:") return value;
    }
    return 0ull;
  };
  const unsigned long long before = bytesRead();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(lookup(dat.path, "S", 1).rc, 0);
  EXPECT_LT(bytesRead() - before, kDmiDatMaxFileSize);
#endif
}

// The table as the source describes it: each section's lines as they stand
// in DMI.DAT, its codes and names, its default and its width.
struct SourceSection {
  std::vector<std::string> lines;
  std::map<int, std::string> names;
  std::string fallback;
};

std::map<std::string, SourceSection> read_source(std::vector<std::string> &dat_lines) {
  std::map<std::string, SourceSection> sections;
  std::ifstream in(DMI_VALUES_SOURCE, std::ios::binary);
  SourceSection *current = nullptr;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string first, rest;
    words >> first >> std::ws;
    std::getline(words, rest);
    if (line[0] == '[') {
      const std::string name = line.substr(1, line.find(']') - 1);
      current = &sections[name];
      dat_lines.push_back("*" + name);
    } else if (line[0] == '!') {
      current->fallback = line.substr(line.find_first_not_of("! "));
      dat_lines.push_back("!" + current->fallback);
    } else {
      const int code = std::stoi(first, nullptr, 16);
      current->names[code] = rest;
      char prefix[16];
      std::snprintf(prefix, sizeof prefix, "%02XH=", code);
      dat_lines.push_back(prefix + rest);
    }
  }
  return sections;
}

TEST(BuiltTable, EveryLineUnscramblesToTheSource) {
  std::vector<std::string> expected;
  read_source(expected);
  std::ifstream in(pszDMI_datafile, std::ios::binary);
  ASSERT_TRUE(in) << "DMI.DAT is not in the working directory";
  std::vector<std::string> actual;
  for (std::string line; std::getline(in, line);) {
    unhide_dat_text(line.data());
    actual.push_back(line);
  }
  EXPECT_EQ(actual, expected);
}

TEST(BuiltTable, HasEverySectionTheDecoderAsksForWithNamesThatFitItsCut) {
  std::vector<std::string> unused;
  const auto sections = read_source(unused);
  const std::vector<std::pair<const char *, std::size_t>> wanted = {
      {"DMICHASSISTYPE", 50},     {"DMIPROCESSORTYPE", 50},
      {"DMIPROCESSORFAMILY", 50}, {"DMIPROCESSORUPGRADE", 50},
      {"DMIMEMCTRLEDM", 50},      {"DMIINTERLEAVESUP", 50},
      {"DMICONNTYPES", 13},       {"DMIPORTTYPES", 13},
      {"DMISLOTTYPE", 9},         {"DMISLOTDATABUSWIDTH", 9},
      {"DMICURRENTUSAGE", 13},    {"DMISLOTLEN", 9},
      {"DMIONBOARDDEVTYPES", 50}, {"MEMARRLOC", 78},
      {"MEMARRUSE", 78},          {"CACHEECC", 78},
      {"MEMDEVFF", 78},           {"MEMDEVTYPE", 78},
      {"MEMERRTYPE", 78},         {"MEMERRGRA", 78},
      {"MEMERROPE", 78},          {"PNTDEV", 78},
      {"PNTDEVINT", 78},          {"BATTYP", 78}};
  for (const auto &[name, width] : wanted) {
    const auto found = sections.find(name);
    ASSERT_NE(found, sections.end()) << name;
    EXPECT_LE(found->second.fallback.size(), width) << name;
    for (const auto &[code, text] : found->second.names)
      EXPECT_LE(text.size(), width) << name << " " << text;
  }
  EXPECT_EQ(sections.size(), wanted.size());
}

TEST(BuiltTable, AnswersEveryCodeAsTheSourceSays) {
  std::vector<std::string> unused;
  for (const auto &[section, content] : read_source(unused)) {
    for (const auto &[code, name] : content.names) {
      const Result r = lookup(pszDMI_datafile, section.c_str(), code);
      EXPECT_EQ(r.rc, 1) << section << " " << code;
      EXPECT_EQ(r.s, name) << section << " " << code;
    }
    int unnamed = 0;
    while (content.names.count(unnamed) != 0) ++unnamed;
    EXPECT_EQ(lookup(pszDMI_datafile, section.c_str(), unnamed).s, content.fallback) << section;
  }
}

TEST(BuiltTable, ReachesTheCurrentCodes) {
  // The newest code of fields that keep growing, and the family pointer.
  std::vector<std::string> unused;
  const auto sections = read_source(unused);
  for (const auto &[section, code] :
       std::vector<std::pair<std::string, int>>{{"DMICHASSISTYPE", 0x24},
                                                {"DMIPROCESSORFAMILY", 0xFE},
                                                {"DMIPROCESSORFAMILY", 0x307},
                                                {"DMIPROCESSORUPGRADE", 0x57},
                                                {"DMISLOTTYPE", 0xC3},
                                                {"DMISLOTTYPE", 0xC6},
                                                {"DMIONBOARDDEVTYPES", 0x10},
                                                {"MEMDEVTYPE", 0x22},
                                                {"MEMDEVTYPE", 0x23},
                                                {"DMICONNTYPES", 0x23},
                                                {"DMIPORTTYPES", 0x23},
                                                {"PNTDEVINT", 0xA4}}) {
    EXPECT_EQ(sections.at(section).names.count(code), 1u) << section << " " << code;
  }
}

}  // namespace

// The table against the file read as the Windows runtime reads it in text
// mode, piece by piece as fgets into 80 bytes, each piece stripped of its
// line feed, unscrambled and cut at its first NUL: random bytes rich in CR,
// LF, NUL and Ctrl-Z, and long lines that end at and around the cut.
TEST(ParseDmiDat, CutsAndUnscramblesAsTheTextModeLineReader) {
  std::mt19937 random(21);
  // A section mark, a character that unscrambles to NUL, and Ctrl-Z last:
  // only every other file holds one, so that the others are read whole.
  const char tricky[] = {'\r', '\n', '\0', hide("*")[0], kDmiDatPassword[0], '\x1A'};
  for (int round = 0; round < 300; ++round) {
    std::string bytes(random() % 400, 'x');
    for (char &c : bytes) {
      c = random() % 4 == 0 ? tricky[random() % (round % 2 ? 6 : 5)] : static_cast<char>(random());
    }
    std::vector<std::string> expected;
    std::string text(bytes.substr(0, bytes.find('\x1A')));
    for (std::size_t crlf = 0; (crlf = text.find("\r\n", crlf)) != std::string::npos; ++crlf) {
      text.erase(crlf, 1);
    }
    for (std::size_t at = 0; at < text.size();) {
      std::size_t length = std::min<std::size_t>(kDmiDatLineMax, text.size() - at);
      length = std::min(
          length, text.find('\n', at) == std::string::npos ? length : text.find('\n', at) - at + 1);
      std::array<char, kDmiDatLineMax + 1> piece{};
      std::memcpy(piece.data(), text.data() + at, length);
      at += length;
      strip_trailing_lf(piece.data());
      unhide_dat_text(piece.data());
      expected.emplace_back(piece.data());
    }
    const DmiDatTable table = parse_dmi_dat(bytes);
    ASSERT_EQ(table.starts.size(), expected.size()) << "round " << round;
    std::vector<std::size_t> sections;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(std::string(table.line(i)), expected[i]) << "round " << round << " piece " << i;
      if (expected[i][0] == '*') sections.push_back(i);
    }
    EXPECT_EQ(table.sections, sections) << "round " << round;
  }
}

// Held, a rewritten file is not looked at again; released, it is.
TEST(LookupType, HeldTableIgnoresTheFileUntilReleased) {
  TempDat dat({"*S", "01H=One"});
  hold_dmi_dat(true);
  EXPECT_EQ(lookup(dat.path, "S", 1).s, "One");
  dat.write(hide("*S") + "\n" + hide("01H=Uno, rewritten") + "\n");
  EXPECT_EQ(lookup(dat.path, "S", 1).s, "One");
  hold_dmi_dat(false);
  EXPECT_EQ(lookup(dat.path, "S", 1).s, "Uno, rewritten");
}
