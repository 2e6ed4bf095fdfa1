// The interpreter: turns a structure's bytes into fields by its field table.
// It knows no type; the tables (types_*.cpp) and the named decoders
// (model_fields.cpp) hold everything of one type.
#include "model.h"

#include <cstring>

#include "values.h"

namespace {

// Lowest set bit of a non-zero mask.
unsigned Shift(uint64_t mask) {
  unsigned shift = 0;
  while (!(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

// The set is "text\0text\0\0", or "\0\0" when empty; the walk guarantees
// the double NUL at its end. Into *strings, whose strings keep their room
// (a structure decoded into the last one's lists allocates little).
void SplitStrings(ByteView set, std::vector<std::string>* strings) {
  size_t count = 0;
  for (size_t i = 0, start = 0; i < set.size(); ++i) {
    if (set.data()[i] != 0) continue;
    if (i == start) break;
    const char* text = reinterpret_cast<const char*>(set.data()) + start;
    if (count < strings->size()) (*strings)[count].assign(text, i - start);
    else strings->emplace_back(text, i - start);
    ++count;
    start = i + 1;
  }
  strings->resize(count);
}

// In the order of Unit.
constexpr UnitInfo kUnits[] = {
    {nullptr, "", 0},
    {"_bytes", "bytes", 0},
    {"_mhz", "MHz", 0},
    {"_mv", "mV", 0},
    {"_mts", "MT/s", 0},
    {"_u", "U", 0},
    {"_ns", "ns", 0},
    {"_bits", "bits", 0},
    {"_mwh", "mWh", 0},
    {"_minutes", "min", 0},
    {"_rpm", "rpm", 0},
    {"_milliamps", "mA", 0},
    {"_tenths_millivolts", "mV", 1},
    {"_tenths_milliamps", "mA", 1},
    {"_tenths_celsius", "degrees C", 1},
    {"_millicelsius", "degrees C", 3},
    {"_hundredths_percent", "%", 2},
    {"_watts", "W", 0},
    {"_um", "um", 0},
};
static_assert(sizeof kUnits / sizeof kUnits[0] == static_cast<size_t>(Unit::kMicrometres) + 1,
              "one line per unit");

}  // namespace

const UnitInfo& DescribeUnit(Unit unit) {
  const size_t index = static_cast<size_t>(unit);
  return kUnits[index < sizeof kUnits / sizeof kUnits[0] ? index : 0];
}

const UnitInfo* AllUnits(size_t* count) {
  *count = sizeof kUnits / sizeof kUnits[0] - 1;
  return kUnits + 1;
}

bool ReadRowValue(const DecodeContext& context, const FieldRow& row, FieldValue* out) {
  if (!context.formatted.Has(row.offset, row.width)) return false;
  uint64_t raw = ReadNumber(context.formatted, row.offset, row.width);
  if (row.mask) raw = (raw & row.mask) >> Shift(row.mask);
  out->number = raw;
  out->unit = row.unit;
  out->width = row.width;
  switch (row.kind) {
    case FieldKind::kNumber:
      out->kind = FieldValue::Kind::kNumber;
      // A code with a named state ("0: unknown") shows the state.
      if (row.values) {
        out->name = FindValueName(FindValueSection(row.values), static_cast<uint32_t>(raw));
        if (out->name) out->kind = FieldValue::Kind::kEnum;
      }
      break;
    case FieldKind::kSigned: {
      out->kind = FieldValue::Kind::kSigned;
      // Two's complement of the field's width (signed rows take no mask).
      const unsigned bits = row.width * 8u;
      if (bits < 64 && (raw >> (bits - 1) & 1)) out->number = raw | ~0ull << bits;
      break;
    }
    case FieldKind::kHex: out->kind = FieldValue::Kind::kHex; break;
    case FieldKind::kFlag:
      out->kind = FieldValue::Kind::kFlag;
      out->number = raw ? 1 : 0;
      break;
    case FieldKind::kHandle:
      // Stays a number; a code with a named state ("not provided") has its name.
      out->kind = FieldValue::Kind::kHandle;
      if (row.values)
        out->name = FindValueName(FindValueSection(row.values), static_cast<uint32_t>(raw));
      break;
    case FieldKind::kString: {
      out->kind = FieldValue::Kind::kString;
      const std::vector<std::string>& strings = *context.strings;
      if (raw > strings.size()) out->badIndex = true;
      else if (raw > 0) out->text = strings[raw - 1];
      break;
    }
    case FieldKind::kEnum:
      out->kind = FieldValue::Kind::kEnum;
      out->name = FindValueName(FindValueSection(row.values), static_cast<uint32_t>(raw));
      break;
    case FieldKind::kBits: {
      out->kind = FieldValue::Kind::kBits;
      const ValueSection section = FindValueSection(row.values);
      unsigned set = 0;
      for (uint64_t rest = raw; rest; rest &= rest - 1) ++set;
      out->bits.reserve(set);
      for (unsigned bit = 0; bit < 64 && raw >> bit; ++bit)
        if (raw >> bit & 1) out->bits.push_back({bit, FindValueName(section, bit)});
      break;
    }
    case FieldKind::kCustom: return false;
  }
  return true;
}

std::vector<Field> DecodeFields(const TypeTable& table, const DecodeContext& context) {
  std::vector<Field> fields;
  DecodeFieldsInto(table, context, &fields);
  return fields;
}

void DecodeFieldsInto(const TypeTable& table, const DecodeContext& context,
                      std::vector<Field>* into) {
  std::vector<Field>& fields = *into;
  fields.clear();
  // Room for the rows the length covers (a field is large: the whole
  // table's room for every structure of a big table cost more in page
  // faults than the decoding); custom rows may add a field or two. A list
  // reused from the last structure mostly has the room already.
  if (fields.capacity() < table.count + 2) {
    size_t rows = 2;
    for (size_t i = 0; i < table.count; ++i)
      rows += table.fields[i].kind == FieldKind::kCustom ||
              context.formatted.Has(table.fields[i].offset, table.fields[i].width);
    fields.reserve(rows);
  }
  DecodeContext local = context;
  local.done = &fields;
  for (size_t i = 0; i < table.count; ++i) {
    const FieldRow& field = table.fields[i];
    if (field.kind == FieldKind::kCustom) {
      if (field.decode) field.decode(local, field, &fields);
      continue;
    }
    // Read in place: a field is large, and most rows give one.
    if (!context.formatted.Has(field.offset, field.width)) continue;
    Field& out = fields.emplace_back();
    out.name = field.name;
    if (!ReadRowValue(local, field, &out.value)) fields.pop_back();
  }
}

DecodedStructure DecodeStructure(ByteView whole, size_t offset, uint8_t major, uint8_t minor) {
  DecodedStructure s;
  DecodeStructureInto(whole, offset, major, minor, &s);
  return s;
}

void DecodeStructureInto(ByteView whole, size_t offset, uint8_t major, uint8_t minor,
                         DecodedStructure* into) {
  DecodedStructure& s = *into;
  s.type = whole.U8(0);
  s.length = whole.U8(1);
  s.handle = whole.U16(2);
  s.offset = offset;
  s.name = StructureTypeName(s.type);
  const ByteView formatted = whole.Slice(0, s.length);
  s.formatted.assign(formatted.data(), formatted.data() + formatted.size());
  SplitStrings(whole.Slice(s.length, whole.size() - s.length), &s.strings);
  s.decoded = false;
  s.fields.clear();
  if (const TypeTable* table = FindTypeTable(s.type)) {
    DecodeContext context;
    context.formatted = formatted;
    context.strings = &s.strings;
    context.major = major;
    context.minor = minor;
    DecodeFieldsInto(*table, context, &s.fields);
    s.decoded = true;
  }
}

const Field* FindField(const std::vector<Field>& fields, const char* name) {
  for (const Field& field : fields)
    if (strcmp(field.name, name) == 0) return &field;
  return nullptr;
}

const char* StructureTypeName(uint8_t type) {
  static const ValueSection types = FindValueSection("SMBIOSTYPES");
  return FindValueName(types, type);
}

uint64_t ReadNumber(ByteView bytes, size_t offset, size_t width) {
  switch (width) {
    case 1: return bytes.U8(offset);
    case 2: return bytes.U16(offset);
    case 4: return bytes.U32(offset);
    case 8: return bytes.U64(offset);
    default: return 0;
  }
}

Field NumberField(const char* name, uint64_t number, Unit unit) {
  Field field;
  field.name = name;
  field.value.kind = FieldValue::Kind::kNumber;
  field.value.number = number;
  field.value.unit = unit;
  return field;
}

Field TextField(const char* name, std::string text) {
  Field field;
  field.name = name;
  field.value.kind = FieldValue::Kind::kText;
  field.value.text = std::move(text);
  return field;
}
