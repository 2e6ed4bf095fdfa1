#include "model_fields.h"

#include <cstdio>
#include <cstring>

#include "values.h"

namespace {

// Offset of the first byte after the chassis' contained element records;
// false when the structure is too short to hold their count and size.
bool AfterElements(const DecodeContext& c, size_t* offset) {
  if (!c.formatted.Has(0x13, 2)) return false;
  *offset = 0x15 + static_cast<size_t>(c.formatted.U8(0x13)) * c.formatted.U8(0x14);
  return true;
}

// x86 processors are told apart by the names of their families: the codes
// are spread over the whole table, the names are not.
bool IsX86FamilyName(const char* name) {
  if (!name || strstr(name, "Itanium")) return false;
  static const char* const kMarks[] = {"Intel",  "AMD",     "Pentium", "Celeron", "Xeon",
                                       "Athlon", "Opteron", "Duron",   "Sempron", "Phenom",
                                       "Turion", "Core",    "Atom",    "K5",      "K6",
                                       "Ryzen",  "EPYC",    "Zhaoxin", "Hygon",   "VIA"};
  for (const char* mark : kMarks)
    if (strstr(name, mark)) return true;
  return false;
}

bool IsX86Family(const char* name) {
  // A table repeats one family in every processor structure: the last
  // answer is kept (the program decodes in one thread).
  static const char* lastName = nullptr;
  static bool lastAnswer = false;
  if (name && name == lastName) return lastAnswer;
  lastName = name;
  lastAnswer = IsX86FamilyName(name);
  return lastAnswer;
}

}  // namespace

void DecodeBiosRomSize(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 1)) return;
  const uint8_t code = c.formatted.U8(row.offset);
  // FF says "16 MiB or more, see the extended size" (3.1); the extended
  // size counts MiB (bits 15:14 = 0) or GiB (= 1) in bits 13:0.
  if (code == 0xFF && c.formatted.Has(0x18, 2)) {
    const uint16_t ext = c.formatted.U16(0x18);
    const uint64_t unit = (ext >> 14) == 0 ? (1ull << 20) : (ext >> 14) == 1 ? (1ull << 30) : 0;
    if (unit) out->push_back(NumberField(row.name, (ext & 0x3FFFu) * unit, Unit::kBytes));
    return;
  }
  out->push_back(NumberField(row.name, (code + 1ull) * 65536, Unit::kBytes));
}

void DecodeBiosRuntime(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 2)) return;
  const uint16_t segment = c.formatted.U16(row.offset);
  // Segment 0: no BIOS image below 1 MiB (UEFI firmware).
  if (segment == 0) return;
  Field start = NumberField("bios_starting_address", static_cast<uint64_t>(segment) << 4);
  start.value.kind = FieldValue::Kind::kHex;
  start.value.width = 4;
  out->push_back(start);
  out->push_back(NumberField(row.name, (0x10000ull - segment) << 4, Unit::kBytes));
}

std::string UuidText(ByteView bytes, size_t offset, bool littleEndianGroups) {
  static const int kLittle[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  std::string text;
  char hex[3];
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    const int at = littleEndianGroups ? kLittle[i] : i;
    snprintf(hex, sizeof hex, "%02x", bytes.U8(offset + at));
    text += hex;
  }
  return text;
}

void DecodeUuid(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 16)) return;
  Field field;
  field.name = row.name;
  field.value.kind = FieldValue::Kind::kText;
  const bool from26 = c.major > 2 || (c.major == 2 && c.minor >= 6);
  field.value.text = UuidText(c.formatted, row.offset, from26);
  out->push_back(field);
}

void DecodeHandleList(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 1)) return;
  const size_t count = c.formatted.U8(row.offset);
  Field field;
  field.name = row.name;
  field.value.kind = FieldValue::Kind::kList;
  for (size_t i = 0; i < count && c.formatted.Has(row.offset + 1 + 2 * i, 2); ++i) {
    FieldValue handle;
    handle.kind = FieldValue::Kind::kHandle;
    handle.number = c.formatted.U16(row.offset + 1 + 2 * i);
    field.value.items.push_back(handle);
  }
  out->push_back(std::move(field));
}

void DecodeContainedElements(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(0x13, 2)) return;
  const size_t count = c.formatted.U8(0x13);
  const size_t size = c.formatted.U8(0x14);
  Field field;
  field.name = row.name;
  field.value.kind = FieldValue::Kind::kList;
  // Records shorter than their three defined bytes cannot be read.
  for (size_t i = 0; size >= 3 && i < count && c.formatted.Has(0x15 + i * size, 3); ++i) {
    const size_t at = 0x15 + i * size;
    const uint8_t selector = c.formatted.U8(at);
    FieldValue element;
    element.kind = FieldValue::Kind::kObject;
    Field type;
    // Bit 7 chooses between an SMBIOS structure type and a board type.
    if (selector & 0x80) {
      type.name = "structure_type";
      type.value.kind = FieldValue::Kind::kEnum;
      type.value.number = selector & 0x7F;
      type.value.name = StructureTypeName(selector & 0x7F);
    } else {
      type.name = "board_type";
      type.value.kind = FieldValue::Kind::kEnum;
      type.value.number = selector;
      type.value.name = FindValueName(FindValueSection("BOARDTYPE"), selector);
    }
    element.members.push_back(type);
    element.members.push_back(NumberField("minimum", c.formatted.U8(at + 1)));
    element.members.push_back(NumberField("maximum", c.formatted.U8(at + 2)));
    field.value.items.push_back(std::move(element));
  }
  out->push_back(std::move(field));
}

void DecodeAfterElementsString(const DecodeContext& c, const FieldRow& row,
                               std::vector<Field>* out) {
  size_t base = 0;
  if (!AfterElements(c, &base)) return;
  FieldRow shifted = row;
  shifted.offset = 0;
  shifted.kind = FieldKind::kString;
  DecodeContext tail = c;
  tail.formatted = c.formatted.Slice(base + row.offset, 1);
  Field field;
  field.name = row.name;
  if (ReadRowValue(tail, shifted, &field.value)) out->push_back(std::move(field));
}

void DecodeAfterElementsNumber(const DecodeContext& c, const FieldRow& row,
                               std::vector<Field>* out) {
  size_t base = 0;
  if (!AfterElements(c, &base)) return;
  FieldRow shifted = row;
  shifted.offset = 0;
  shifted.kind = row.values ? FieldKind::kEnum : FieldKind::kNumber;
  DecodeContext tail = c;
  tail.formatted = c.formatted.Slice(base + row.offset, row.width);
  Field field;
  field.name = row.name;
  if (ReadRowValue(tail, shifted, &field.value)) out->push_back(std::move(field));
}

void DecodeProcessorId(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 8)) return;
  Field id;
  id.name = row.name;
  id.value.kind = FieldValue::Kind::kHex;
  id.value.width = 8;
  id.value.number = c.formatted.U64(row.offset);
  out->push_back(id);
  // The family: FE points at the second family word (2.6).
  uint32_t family = c.formatted.U8(0x06);
  if (family == 0xFE && c.formatted.Has(0x28, 2)) family = c.formatted.U16(0x28);
  if (!IsX86Family(FindValueName(FindValueSection("DMIPROCESSORFAMILY"), family))) return;
  // CPUID leaf 1: EAX (the signature) in the low word, EDX (flags) high.
  const uint32_t eax = c.formatted.U32(row.offset);
  const uint32_t edx = c.formatted.U32(row.offset + 4);
  const uint32_t baseFamily = (eax >> 8) & 0xF;
  const uint32_t baseModel = (eax >> 4) & 0xF;
  Field signature;
  signature.name = "signature";
  signature.value.kind = FieldValue::Kind::kObject;
  signature.value.members.reserve(4);
  signature.value.members.push_back(NumberField("type", (eax >> 12) & 0x3));
  signature.value.members.push_back(
      NumberField("family", baseFamily == 0xF ? baseFamily + ((eax >> 20) & 0xFF) : baseFamily));
  signature.value.members.push_back(NumberField(
      "model", (baseFamily == 0x6 || baseFamily == 0xF) ? (((eax >> 16) & 0xF) << 4) + baseModel
                                                        : baseModel));
  signature.value.members.push_back(NumberField("stepping", eax & 0xF));
  out->push_back(std::move(signature));
  Field flags;
  flags.name = "flags";
  flags.value.kind = FieldValue::Kind::kBits;
  flags.value.width = 4;
  flags.value.number = edx;
  const ValueSection names = FindValueSection("CPUIDEDX");
  flags.value.bits.reserve(32);
  for (unsigned bit = 0; bit < 32; ++bit)
    if (edx >> bit & 1) flags.value.bits.push_back({bit, FindValueName(names, bit)});
  out->push_back(std::move(flags));
}

void DecodeProcessorVoltage(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 1)) return;
  const uint8_t code = c.formatted.U8(row.offset);
  // Bit 7 set: the current voltage in tenths of a volt; clear: the legacy
  // list of supported voltages.
  if (code & 0x80) {
    out->push_back(NumberField("voltage_mv", (code & 0x7Fu) * 100u, Unit::kMV));
    return;
  }
  Field field;
  field.name = "voltage_capability";
  field.value.kind = FieldValue::Kind::kBits;
  field.value.width = 1;
  field.value.number = code;
  const ValueSection names = FindValueSection("CPUVOLTAGES");
  for (unsigned bit = 0; bit < 7; ++bit)
    if (code >> bit & 1) field.value.bits.push_back({bit, FindValueName(names, bit)});
  out->push_back(std::move(field));
}
