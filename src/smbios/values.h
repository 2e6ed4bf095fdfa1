// Names of coded values, compiled in from the plain sources
// data/dmi_values.txt and data/smbios_values.txt (tools/valuesgen). A section
// holds the codes of one field; for bit fields the code is the bit number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct ValueNameRow {
  const char* section;
  uint32_t code;
  const char* name;
};

// The generated rows, grouped by section in source order.
extern const ValueNameRow kValueNameRows[];
extern const size_t kValueNameRowCount;

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
