// Writes the seed inputs of the fuzz targets, made with the test utilities:
// make_fuzz_seeds <seed directory> <saved SMBIOS table>. One subdirectory per
// target; the saved table (the bundled sample) gives realistic structures.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "decoder_harness.h"
#include "dump_builder.h"
#include "readdat.h"
#include "smbios_table.h"
#include "test_tables.h"

namespace fs = std::filesystem;

namespace {

int g_failures = 0;

void Seed(const fs::path& dir, const std::string& name, const Bytes& bytes) {
  if (!WriteBytes((dir / name).string(), bytes)) ++g_failures;
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Cat(const Bytes& a, const Bytes& b) {
  Bytes out(a);
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

// Fields of n bytes counting up from first, string numbers included by
// chance: the decoder meets small values in every field.
Bytes Counting(size_t n, uint8_t first) {
  Bytes out;
  for (size_t i = 0; i < n; ++i) out.push_back(static_cast<uint8_t>(first + i));
  return out;
}

void DumpSeeds(const fs::path& dir, const Bytes& table) {
  // The sample table's structures, as the collector writes them.
  const TableWalk walk = WalkTable(ByteView(table.data(), table.size()));
  std::vector<Bytes> sample;
  for (const ByteView& s : walk.structures) sample.emplace_back(s.data(), s.data() + s.size());
  for (auto [major, minor] : {std::pair<uint8_t, uint8_t>{2, 7}, {3, 2}, {2, 0}}) {
    DumpOptions options;
    options.major = major;
    options.minor = minor;
    Seed(dir, "sample-" + std::to_string(major) + "." + std::to_string(minor),
         Dump(options, sample));
  }
  // Each structure type alone, with a few strings, in two field lengths.
  const std::vector<std::string> strings = {"Vendor", "Product 1.0", "<b>&\"x\"</b>", "SN-1"};
  for (int type = 0; type <= 45; ++type) {
    for (size_t length : {size_t{0x14}, size_t{0x50}}) {
      const uint8_t t = static_cast<uint8_t>(type);
      DumpOptions options;
      options.major = 3;
      options.minor = 4;
      Seed(dir, "type" + std::to_string(type) + "-" + std::to_string(length),
           Dump(options, {Structure(t, 0x100, Counting(length, 1), strings),
                          Structure(127, 0xFFFF, Bytes())}));
    }
  }
  // Tables the decoder carries state through: port connectors and slots
  // in a row, memory devices and their mapped addresses.
  DumpOptions options;
  Seed(dir, "carried-state",
       Dump(options,
            {Structure(8, 1, Bytes{1, 0x0B, 2, 0x1F, 0x0D}, {"J1", "USB"}),
             Structure(8, 2, Bytes{1, 0x0B, 2, 0x1F, 0x0D}, {"J2", "USB"}),
             Structure(9, 3, Counting(0x0D, 1), {"PCIE1"}),
             Structure(9, 4, Counting(0x0D, 2), {"PCIE2"}), Structure(16, 5, Counting(0x0B, 3)),
             Structure(17, 6, Counting(0x18, 1), {"DIMM0", "BANK0", "Maker", "S", "A", "P"}),
             Structure(19, 7, Counting(0x0B, 0)), Structure(20, 8, Counting(0x0F, 0)),
             Structure(127, 0xFFFF, Bytes())}));
  // Hostile shapes: formatted lengths 0 to 3 and beyond the record, string
  // numbers beyond the set, 255 strings of 255 characters, no closing
  // double NUL at the record's end.
  for (int length : {0, 3, 0x7F}) {
    Seed(dir, "length" + std::to_string(length),
         Dump(options,
              {Structure(1, 1, Counting(8, 1), {"A"}, length), Structure(127, 0xFFFF, Bytes())}));
  }
  Seed(dir, "strings-beyond", Dump(options, {Structure(2, 1, Bytes{9, 200, 255, 7, 0}, {"only"})}));
  const std::vector<std::string> many(255, std::string(255, 'S'));
  Seed(dir, "many-strings",
       Dump(options, {Structure(11, 1, Bytes{255}, many), Structure(12, 2, Bytes{255}, many)}));
  Bytes unclosed = Structure(0, 1, Counting(0x14, 1), {"Vendor"});
  unclosed.resize(unclosed.size() - 2);
  Seed(dir, "no-double-nul", Dump(options, {unclosed}));
  DumpOptions none;
  none.found = 0;
  Seed(dir, "no-bios", Dump(none, {}));
}

void CollectorSeeds(const fs::path& dir, const Bytes& table) {
  // Form byte 0: entry point and table; 1: raw data with its 8-byte header.
  const Bytes ep2 = EntryPoint2(static_cast<uint16_t>(table.size()), 0x000F0000);
  const Bytes ep3 = EntryPoint3(static_cast<uint32_t>(table.size()), 0x7FFF0000);
  Seed(dir, "entry2", Cat(Cat(Bytes{0, static_cast<uint8_t>(ep2.size())}, ep2), table));
  Seed(dir, "entry3", Cat(Cat(Bytes{0, static_cast<uint8_t>(ep3.size())}, ep3), table));
  Bytes raw = {1, 0, 0, 3, 2, 0};
  PutU32(raw, static_cast<uint32_t>(table.size()));
  Seed(dir, "raw", Cat(raw, table));
  const Bytes small = Concat(
      {::Structure(0, {1, 2, 0, 0xE8, 3, 0x0F}, {"V", "1.0", "01/01/2020"}), ::Structure(127, {})});
  const Bytes epSmall = EntryPoint2(static_cast<uint16_t>(small.size()), 0x000F0000);
  Seed(dir, "small", Cat(Cat(Bytes{0, static_cast<uint8_t>(epSmall.size())}, epSmall), small));
}

void DmiDatSeeds(const fs::path& dir, const fs::path& work) {
  // Code byte, section name, NUL, then a scrambled table.
  const std::vector<std::string> lines = {"*CHASSIS", "1=Other",   "3=Desktop",  "!Unknown chassis",
                                          "*PROCFAM", "2=Unknown", "0B=Pentium", "*EMPTY"};
  const std::string dat = (work / pszDMI_datafile).string();
  WriteDmiDat(dat, lines);
  const Bytes table = ReadBytes(dat);
  Seed(dir, "chassis-named", Cat(Cat(Bytes{3}, Text("CHASSIS")), Cat(Bytes{0}, table)));
  Seed(dir, "chassis-default", Cat(Cat(Bytes{9}, Text("chassis")), Cat(Bytes{0}, table)));
  Seed(dir, "procfam", Cat(Cat(Bytes{0x0B}, Text("PROC")), Cat(Bytes{0}, table)));
  Seed(dir, "empty-section", Cat(Cat(Bytes{1}, Text("EMPTY")), Cat(Bytes{0}, table)));
  WriteDmiDat(dat, {"*LONG", "1=" + std::string(200, 'x'), "2=" + std::string(10000, 'z'),
                    "!" + std::string(100, 'y')});
  Seed(dir, "long-lines", Cat(Cat(Bytes{2}, Text("LONG")), Cat(Bytes{0}, ReadBytes(dat))));
}

void TabbedSeeds(const fs::path& dir) {
  // Mode byte, then NUL-separated lines: headings first when bit 6 is set.
  Seed(dir, "rows",
       Cat(Bytes{20}, Text(std::string("Caption\t: value") + '\0' + "a\tb\tc\t" + '\0' + "\t\t\t" +
                           '\0' + "x")));
  Seed(dir, "two-line",
       Cat(Bytes{0x40 | 5},
           Text(std::string("Slot\tType\tWidth") + '\0' + "\tname\tbits" + '\0' + "1\tPCI\t32")));
  Seed(dir, "no-dup-tabs",
       Cat(Bytes{0x60 | 9},
           Text(std::string("A\t\tB") + '\0' + "\t\tC\t\t" + '\0' + "p\t\tq\t\tr")));
  Seed(dir, "text-sink",
       Cat(Bytes{0x80 | 0x40 | 3}, Text(std::string("H1\tH2") + '\0' + '\0' + "<&>\t\x01\x1f")));
}

void TabbedLongSeeds(const fs::path& dir) {
  // More cells than a table holds, and a line longer than the working string.
  std::string cells;
  for (int i = 0; i < 40; ++i) cells += "c" + std::to_string(i) + "\t";
  Seed(dir, "many-cells", Cat(Bytes{0x40 | 19}, Text(cells + '\0' + cells + '\0' + cells)));
  Seed(dir, "long-line",
       Cat(Bytes{7}, Text(std::string(3000, 'L') + "\t" + std::string(3000, 'M'))));
}

void ParamSeeds(const fs::path& dir) {
  const char* const seeds[] = {
      "W=0 X=10 Y=20 X2=30 Y2=40 A=1 F=40000000 FN=/tmp/report.htm",
      "W=1234 F=20000000 FN=out.ini",
      "X=1 Y=2",
      "",
      "F=ffffffff FN=",
      "W=4294967296 A=-1 FN=a b c",
  };
  int i = 0;
  for (const char* s : seeds) Seed(dir, "params" + std::to_string(i++), Text(s));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: make_fuzz_seeds <seed directory> <saved SMBIOS table>\n");
    return 2;
  }
  const fs::path root = argv[1];
  const Bytes table = ReadBytes(argv[2]);
  if (table.empty()) {
    fprintf(stderr, "make_fuzz_seeds: cannot read %s\n", argv[2]);
    return 1;
  }
  std::error_code error;
  for (const char* name : {"dump", "collector", "dmidat", "tabbed", "params", "work"}) {
    fs::create_directories(root / name, error);
  }
  DumpSeeds(root / "dump", table);
  CollectorSeeds(root / "collector", table);
  DmiDatSeeds(root / "dmidat", root / "work");
  TabbedSeeds(root / "tabbed");
  TabbedLongSeeds(root / "tabbed");
  ParamSeeds(root / "params");
  fs::remove_all(root / "work", error);
  if (g_failures) {
    fprintf(stderr, "make_fuzz_seeds: %d seed files could not be written\n", g_failures);
    return 1;
  }
  return 0;
}
