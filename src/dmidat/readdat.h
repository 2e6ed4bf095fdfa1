// DMI.DAT: the table that names the coded values of SMBIOS fields (chassis
// types, processor families, slot types ...).
//
// The file is text, one section per coded field: a line "*NAME" opens the
// section, lines "CODEH=name" (code in hexadecimal) name the codes, and an
// optional line "!text" gives the text for every code not named before it.
// Every line is stored scrambled with kDmiDatPassword and is unscrambled as
// it is read. The build produces the file from data/dmi_values.txt.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Name of the table file. It is opened by this plain name, so the viewer
// finds it in its current directory.
inline constexpr const char *pszDMI_datafile = "DMI.DAT";

// The file is read in pieces of at most this many characters, line feed
// included; each piece counts as a line. A name or default text that
// lookup_type hands out is never longer, so an output buffer of
// kDmiDatLineMax + 1 bytes always suffices.
inline constexpr int kDmiDatLineMax = 79;

// Key of the scrambling: each character of a line is stored as the plain
// character plus the key character at the same position (modulo 256, the key
// starting over every 21 characters and at the start of every piece).
inline constexpr char kDmiDatPassword[] = "QuIeTrIvErStOnEbRiDgE";

// A table file larger than this is not read: lookups in it fail as in a file
// that cannot be opened. The real table is a few kilobytes.
inline constexpr unsigned long kDmiDatMaxFileSize = 4ul * 1024 * 1024;

// Looks up the name of the code desiredvalue in section sectionname of the
// table file filename. The file is read once and kept while it stays
// unchanged (same size, times and identity); a rewritten file is read again.
// Result 1: s holds the name, or the section's nonempty default text.
// Result 0 with s unchanged: the file cannot be opened or has no section
// whose name begins with sectionname (compared without regard to case).
// Result 0 with s empty: the section names neither the code nor a default.
// s must hold at least kDmiDatLineMax + 1 bytes.
int lookup_type(const char *filename, const char *sectionname, int desiredvalue, char *s);

// While held, a lookup in the file the last one read takes the table in
// memory without looking at the file again: a report that asks for hundreds
// of names costs one stat, not one each. Released, every lookup checks the
// file's stamp again.
void hold_dmi_dat(bool hold);

// A table file in memory: its pieces unscrambled, each as the C string a
// lookup sees, and which of them are section lines.
struct DmiDatTable {
  std::string text;                   // every piece followed by its NUL
  std::vector<std::size_t> starts;    // offset of each piece in text
  std::vector<std::size_t> sections;  // indexes of the pieces starting with '*'

  const char *line(std::size_t index) const { return text.data() + starts[index]; }
};

// Cuts the bytes of a table file into pieces and unscrambles them.
DmiDatTable parse_dmi_dat(std::string_view file_bytes);
// lookup_type on a table already in memory, with the same results.
int lookup_in_dmi_dat(const DmiDatTable &table, const char *sectionname, int desiredvalue, char *s);

// Unscrambles one line in place, up to its NUL.
void unhide_dat_text(char *s);

// Removes one trailing line feed in place.
void strip_trailing_lf(char *s);
