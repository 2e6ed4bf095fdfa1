#include "values.h"

#include <string_view>
#include <unordered_map>

namespace {

// Built once: the rows of each section lie together, so a section is the
// first row and a count.
const std::unordered_map<std::string_view, ValueSection>& Sections() {
  static const std::unordered_map<std::string_view, ValueSection> sections = [] {
    std::unordered_map<std::string_view, ValueSection> map;
    for (size_t i = 0; i < kValueNameRowCount;) {
      size_t end = i;
      while (end < kValueNameRowCount &&
             std::string_view(kValueNameRows[end].section) == kValueNameRows[i].section)
        ++end;
      map[kValueNameRows[i].section] = ValueSection{&kValueNameRows[i], end - i};
      i = end;
    }
    return map;
  }();
  return sections;
}

}  // namespace

ValueSection FindValueSection(const char* section) {
  // Field tables name their sections with string literals: a cache by
  // address saves hashing and comparing the name for every field decoded.
  // (The program decodes in one thread.)
  static std::unordered_map<const char*, ValueSection> byAddress;
  const auto cached = byAddress.find(section);
  if (cached != byAddress.end()) return cached->second;
  return byAddress[section] = FindValueSectionByName(section);
}

ValueSection FindValueSectionByName(std::string_view section) {
  const auto& sections = Sections();
  const auto found = sections.find(section);
  return found == sections.end() ? ValueSection{} : found->second;
}

const char* FindValueName(const ValueSection& section, uint32_t code) {
  for (size_t i = 0; i < section.count; ++i)
    if (section.rows[i].code == code) return section.rows[i].name;
  return nullptr;
}
