// Masking the values that identify one machine or its owner (serial
// numbers, UUIDs, asset tags), so that a report or a saved table can be
// posted in public. Done on the table's bytes, found through the model's
// field names: text, JSON, -s and a saved table then agree by construction.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bytes.h"

// What a masked string becomes; a masked number or UUID has every byte
// kMaskByte.
constexpr const char* kMaskMarker = "[masked]";
constexpr uint8_t kMaskByte = 0x55;
constexpr const char* kMaskedUuid = "55555555-5555-5555-5555-555555555555";

struct MaskedField {
  uint8_t type;
  const char* name;  // the model's field name
};

// The identifying fields, as data (docs/cli.md lists them).
extern const MaskedField kMaskedFields[];
extern const size_t kMaskedFieldCount;

// True for the texts firmware leaves in a field it did not fill ("Not
// Specified", "To Be Filled By O.E.M.", blanks): they identify nothing.
bool IsPlaceholderText(const std::string& text);

// The table with every identifying string replaced by the marker (the string
// sets rebuilt) and every identifying number or UUID overwritten; every
// other byte is kept. Placeholders stay. After a fault in the table the
// bytes past the last whole structure are dropped: nothing can tell what
// they hold.
std::vector<uint8_t> MaskTable(ByteView table, uint8_t major, uint8_t minor);
