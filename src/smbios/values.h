// Names of coded values, compiled in from the plain sources
// data/dmi_values.txt and data/smbios_values.txt (tools/valuesgen). A section
// holds the codes of one field; for bit fields the code is the bit number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The generated table, built by the compiler (nothing is built at start):
// every name is an offset into kValueText, where each ends with a NUL.
struct ValueNameRow {
  uint32_t code;
  uint32_t name;
};
struct ValueSectionRow {
  uint32_t name;
  uint32_t first;  // its rows: kValueNameRows[first] on, in rising code order
  uint32_t count;
};

extern const char kValueText[];
// The rows, grouped by section in source order.
extern const ValueNameRow kValueNameRows[];
// The sections, sorted by name.
extern const ValueSectionRow kValueSections[];
extern const size_t kValueSectionCount;

struct ValueSection {
  const ValueNameRow* rows = nullptr;
  size_t count = 0;
};

// The rows of a section; an empty section when the sources have none of
// that name.
// section: a name that stays in place (a string literal), cached by address.
ValueSection FindValueSection(const char* section);
ValueSection FindValueSectionByName(std::string_view section);

// The name of code within section; null when the section names no such code.
const char* FindValueName(const ValueSection& section, uint32_t code);

// The name of one row of a section.
inline const char* ValueRowName(const ValueNameRow& row) { return kValueText + row.name; }
