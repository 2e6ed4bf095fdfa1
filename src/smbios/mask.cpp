#include "mask.h"

#include <cctype>
#include <string>

#include "model.h"
#include "smbios_table.h"

const MaskedField kMaskedFields[] = {
    {1, "serial_number"},  {1, "uuid"},
    {2, "serial_number"},  {2, "asset_tag"},
    {3, "serial_number"},  {3, "asset_tag_number"},
    {4, "serial_number"},  {4, "asset_tag"},
    {17, "serial_number"}, {17, "asset_tag"},
    {22, "serial_number"}, {22, "sbds_serial_number"},
    {39, "serial_number"}, {39, "asset_tag_number"},
};
const size_t kMaskedFieldCount = sizeof kMaskedFields / sizeof kMaskedFields[0];

namespace {

// Compared without case and outer blanks.
const char* const kPlaceholders[] = {
    "",
    "not specified",
    "to be filled by o.e.m.",
    "to be filled by o.e.m",
    "default string",
    "none",
    "not applicable",
    "not available",
    "n/a",
    "unknown",
    "no asset tag",
    "no asset information",
    "oem",
    "0123456789",
    "system serial number",
    "chassis serial number",
    "base board serial number",
    "asset tag",
    "asset-1234567890",
};

const FieldRow* FindRow(uint8_t type, const char* name) {
  const TypeTable* table = FindTypeTable(type);
  if (!table) return nullptr;
  for (size_t i = 0; i < table->count; ++i)
    if (std::string(table->fields[i].name) == name) return &table->fields[i];
  return nullptr;
}

bool SameBytes(const std::vector<uint8_t>& bytes, size_t from, size_t count, uint8_t value) {
  for (size_t i = from; i < from + count; ++i)
    if (bytes[i] != value) return false;
  return true;
}

// Masks one field of s; true when something changed.
bool MaskField(const DecodedStructure& s, const char* name, std::vector<uint8_t>* formatted,
               std::vector<std::string>* strings) {
  const Field* field = FindField(s.fields, name);
  if (!field) return false;
  if (field->value.kind == FieldValue::Kind::kString) {
    const uint64_t index = field->value.number;
    if (index == 0 || field->value.badIndex || index > strings->size()) return false;
    std::string& text = (*strings)[index - 1];
    if (IsPlaceholderText(text) || text == kMaskMarker) return false;
    text = kMaskMarker;
    return true;
  }
  const FieldRow* row = FindRow(s.type, name);
  if (!row || size_t{row->offset} + row->width > formatted->size()) return false;
  // All zeros or all ones: the firmware left it blank.
  if (SameBytes(*formatted, row->offset, row->width, 0x00) ||
      SameBytes(*formatted, row->offset, row->width, 0xFF))
    return false;
  for (size_t i = row->offset; i < size_t{row->offset} + row->width; ++i)
    (*formatted)[i] = kMaskByte;
  return true;
}

}  // namespace

bool IsPlaceholderText(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  std::string folded;
  for (size_t i = begin; i < end; ++i)
    folded += static_cast<char>(tolower(static_cast<unsigned char>(text[i])));
  for (const char* placeholder : kPlaceholders)
    if (folded == placeholder) return true;
  // "00000000", "FFFFFFFF", "........": a blank in another form.
  return folded.find_first_not_of(folded[0]) == std::string::npos &&
         (folded[0] == '0' || folded[0] == 'f' || folded[0] == '.' || folded[0] == '-');
}

std::vector<uint8_t> MaskTable(ByteView table, uint8_t major, uint8_t minor) {
  const TableWalk walk = WalkTable(table);
  std::vector<uint8_t> out;
  out.reserve(table.size());
  size_t consumed = 0;
  for (const ByteView& whole : walk.structures) {
    consumed += whole.size();
    const DecodedStructure s = DecodeStructure(whole, 0, major, minor);
    std::vector<uint8_t> formatted = s.formatted;
    std::vector<std::string> strings = s.strings;
    bool changed = false;
    for (size_t i = 0; i < kMaskedFieldCount; ++i)
      if (kMaskedFields[i].type == s.type)
        changed = MaskField(s, kMaskedFields[i].name, &formatted, &strings) || changed;
    if (!changed) {
      out.insert(out.end(), whole.data(), whole.data() + whole.size());
      continue;
    }
    out.insert(out.end(), formatted.begin(), formatted.end());
    for (const std::string& text : strings) {
      out.insert(out.end(), text.begin(), text.end());
      out.push_back(0);
    }
    if (strings.empty()) out.push_back(0);
    out.push_back(0);
  }
  if (!WalkStoppedAtFault(walk) && consumed < table.size())
    out.insert(out.end(), table.data() + consumed, table.data() + table.size());
  return out;
}
