// DMI.DAT: the table that names the coded values of SMBIOS fields (chassis
// types, processor families, slot types ...).
//
// The file is text, one section per coded field: a line "*NAME" opens the
// section, lines "CODEH=name" (code in hexadecimal) name the codes, and an
// optional line "!text" gives the text for every code not named before it.
// Every line is stored scrambled with kDmiDatPassword and is unscrambled as
// it is read. The build produces the file from data/dmi_values.txt.
#pragma once

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

// Looks up the name of the code desiredvalue in section sectionname of the
// table file filename, re-reading the file from its start.
// Result 1: s holds the name, or the section's nonempty default text.
// Result 0 with s unchanged: the file cannot be opened or has no section
// whose name begins with sectionname (compared without regard to case).
// Result 0 with s empty: the section names neither the code nor a default.
// s must hold at least kDmiDatLineMax + 1 bytes.
int lookup_type(const char *filename, const char *sectionname, int desiredvalue,
                char *s);

// Unscrambles one line in place, up to its NUL.
void unhide_dat_text(char *s);

// Removes one trailing line feed in place.
void strip_trailing_lf(char *s);
