#include "values.h"

#include <algorithm>
#include <unordered_map>

ValueSection FindValueSection(const char* section) {
  // Field tables name their sections with string literals: a cache by
  // address saves comparing the name for every field decoded. (The program
  // decodes in one thread.)
  static std::unordered_map<const char*, ValueSection> byAddress;
  const auto cached = byAddress.find(section);
  if (cached != byAddress.end()) return cached->second;
  return byAddress[section] = FindValueSectionByName(section);
}

ValueSection FindValueSectionByName(std::string_view section) {
  const ValueSectionRow* end = kValueSections + kValueSectionCount;
  const auto before = [](const ValueSectionRow& row, std::string_view name) {
    return std::string_view(kValueText + row.name) < name;
  };
  const ValueSectionRow* found = std::lower_bound(kValueSections, end, section, before);
  if (found == end || std::string_view(kValueText + found->name) != section) return ValueSection{};
  return ValueSection{kValueNameRows + found->first, found->count};
}

const char* FindValueName(const ValueSection& section, uint32_t code) {
  const ValueNameRow* end = section.rows + section.count;
  const ValueNameRow* found = std::lower_bound(
      section.rows, end, code, [](const ValueNameRow& row, uint32_t c) { return row.code < c; });
  return found != end && found->code == code ? ValueRowName(*found) : nullptr;
}
