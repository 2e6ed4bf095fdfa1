// The model of an SMBIOS table: every structure in table order, each with
// its header, raw formatted bytes, strings and (for the types described in
// the field tables) its decoded fields. Renderers read only this.
//
// How a type is described and added: docs/model.md.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bytes.h"

// The unit a number is in. The field's name ends in the unit's suffix so
// that JSON keys say it too; the text shows the symbol after the value,
// with the unit's decimals (a reading in tenths of a millivolt: 12.5 mV).
// clang-format off
enum class Unit : uint8_t {
  kNone, kBytes, kMHz, kMV, kMTs, kRackUnits, kNs, kBits, kMWh, kMinutes, kRpm,
  kMilliamps, kTenthsMV, kTenthsMilliamps, kTenthsCelsius, kMilliCelsius,
  kHundredthsPercent, kWatts, kMicrometres,
};
// clang-format on

struct UnitInfo {
  const char* suffix;  // of the field name, "_mhz"; null for kNone
  const char* symbol;  // after the value in text, "MHz"
  uint8_t decimals;    // the number counts 10^-decimals of the symbol
};

// The unit's suffix, symbol and decimals (kBytes: the text scales sizes).
const UnitInfo& DescribeUnit(Unit unit);
// Every unit but kNone, for the label maker.
const UnitInfo* AllUnits(size_t* count);

struct Field;

struct BitName {
  unsigned bit = 0;
  const char* name = nullptr;  // null: the bit has no meaning (undefined)
};

struct FieldValue {
  enum class Kind : uint8_t {
    kNumber,  // number (unit in unit)
    kSigned,  // signed number: number holds its two's complement (int64_t)
    kHex,     // number best read in hexadecimal: IDs, OEM words, addresses
    kFlag,    // true or false (number 1 or 0)
    kHandle,  // handle of another structure
    kString,  // a string of the structure: number is its index, text the string
    kEnum,    // code with its name; name null when the standard defines none
    kBits,    // number holds the raw bits, bits the set ones with their names
    kText,    // text computed from bytes (UUID, version "2.7")
    kList,    // items
    kObject,  // members
  };
  Kind kind = Kind::kNumber;
  Unit unit = Unit::kNone;
  uint8_t width = 0;  // bytes of the raw number (for hexadecimal display)
  // kString: the index names no string of the set (0 means "no string" and
  // is not a fault).
  bool badIndex = false;
  uint64_t number = 0;
  std::string text;
  const char* name = nullptr;
  std::vector<BitName> bits;
  std::vector<FieldValue> items;
  std::vector<Field> members;
};

struct Field {
  const char* name = nullptr;  // snake_case, the standard's field name
  FieldValue value;
};

struct DecodedStructure {
  uint8_t type = 0;
  uint8_t length = 0;
  uint16_t handle = 0;
  const char* name = nullptr;        // the type's name; null for OEM and unknown types
  size_t offset = 0;                 // within the table
  bool decoded = false;              // a field table describes this type
  std::vector<uint8_t> formatted;    // the formatted area, header included
  std::vector<std::string> strings;  // the string set, raw bytes
  std::vector<Field> fields;
};

struct Model {
  // Where the table came from (see TableSource) and whether the walk
  // stopped at a fault, so that the structures are only a part.
  std::string sourceKind;
  std::string sourcePath;
  bool partial = false;
  uint8_t major = 0;
  uint8_t minor = 0;
  // Entry point facts, where the source has an entry point.
  bool haveEntryPoint = false;
  uint8_t entryMajor = 0;       // 2 or 3: the entry point's form
  uint8_t docrev = 0;           // 3.x only
  uint32_t tableLength = 0;     // 2.x exact, 3.x maximum
  uint16_t structureCount = 0;  // 2.x only
  std::vector<DecodedStructure> structures;
  std::vector<std::string> warnings;
};

// What a field decoder sees: the formatted area (its length bounds every
// read), the string set and the table's version.
struct DecodeContext {
  ByteView formatted;
  const std::vector<std::string>* strings = nullptr;
  uint8_t major = 0;
  uint8_t minor = 0;
  // Fields decoded so far for this structure (a decoder may depend on an
  // earlier field, as the processor ID depends on the family).
  const std::vector<Field>* done = nullptr;
};

// clang-format off
enum class FieldKind : uint8_t {
  kNumber, kSigned, kHex, kFlag, kHandle, kString, kEnum, kBits,
  kCustom,  // decode adds the field or fields itself
};
// clang-format on

struct FieldRow;
using FieldDecoder = void (*)(const DecodeContext& context, const FieldRow& row,
                              std::vector<Field>* out);

// One field of a structure type, as data. The field lies in the model only
// when the structure's length covers offset + width (custom decoders check
// their own extent).
struct FieldRow {
  uint8_t offset = 0;
  uint8_t width = 0;  // 1, 2, 4 or 8 for numbers; 1 for strings
  FieldKind kind = FieldKind::kNumber;
  const char* name = nullptr;
  const char* values = nullptr;  // value section of kEnum and kBits (values.h)
  uint16_t since = 0;            // first SMBIOS version defining it: 0x0206 = 2.6
  uint64_t mask = 0;             // bits of the raw value that form the field; 0: all
  Unit unit = Unit::kNone;
  FieldDecoder decode = nullptr;  // kCustom only
};

struct TypeTable {
  uint8_t type = 0;
  const FieldRow* fields = nullptr;
  size_t count = 0;
};

struct TypeGroup {
  const TypeTable* types = nullptr;
  size_t count = 0;
};

// The field table of a type; null for types decoded only as generic
// structures.
const TypeTable* FindTypeTable(uint8_t type);

// The name of a structure type; null for OEM and unknown types.
const char* StructureTypeName(uint8_t type);

// Decodes one structure (its whole bytes, string set included, as the table
// walk gives them).
DecodedStructure DecodeStructure(ByteView whole, size_t offset, uint8_t major, uint8_t minor);
// The same into *s, whose lists keep their room: a front end that shows each
// structure as it is decoded reuses one, and allocates little.
void DecodeStructureInto(ByteView whole, size_t offset, uint8_t major, uint8_t minor,
                         DecodedStructure* s);

// Decodes every field of a formatted area through its field table.
std::vector<Field> DecodeFields(const TypeTable& table, const DecodeContext& context);
// The same into *fields (cleared first, its room kept).
void DecodeFieldsInto(const TypeTable& table, const DecodeContext& context,
                      std::vector<Field>* fields);

// A value read by row from the formatted area (numbers, enums, bits...);
// false when the length does not cover it. Custom decoders use it too.
bool ReadRowValue(const DecodeContext& context, const FieldRow& row, FieldValue* out);

// Builders of the fields that named decoders add.
Field NumberField(const char* name, uint64_t number, Unit unit = Unit::kNone);
Field TextField(const char* name, std::string text);
// A little-endian number of 1, 2, 4 or 8 bytes at offset (0 for another
// width); bounded by the view like every read.
uint64_t ReadNumber(ByteView bytes, size_t offset, size_t width);

// The field of that name among fields; null when absent.
const Field* FindField(const std::vector<Field>& fields, const char* name);
