#include "model_fields_memory.h"

#include "values.h"

namespace {

Field Hex(const char* name, uint64_t number, uint8_t width) {
  Field field = NumberField(name, number);
  field.value.kind = FieldValue::Kind::kHex;
  field.value.width = width;
  return field;
}

Field Named(const char* name, uint64_t code, uint8_t width, const char* section) {
  Field field = Hex(name, code, width);
  field.value.kind = FieldValue::Kind::kEnum;
  field.value.name = FindValueName(FindValueSection(section), static_cast<uint32_t>(code));
  return field;
}

// 2^power MiB in bytes; false when that does not fit 64 bits.
bool PowerOfTwoMiB(unsigned power, uint64_t* bytes) {
  if (power > 43) return false;
  *bytes = 1ull << (power + 20);
  return true;
}

}  // namespace

void DecodeUnlessUnknown(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, row.width)) return;
  const uint64_t raw = ReadNumber(c.formatted, row.offset, row.width);
  if (raw == row.mask) {
    // The state keeps the raw bits; its name is the state code 0's.
    Field state = Hex(row.name, raw, row.width);
    state.value.kind = FieldValue::Kind::kEnum;
    state.value.name = FindValueName(FindValueSection("FIELDSTATE"), 0);
    out->push_back(std::move(state));
  } else if (row.unit == Unit::kBytes) {
    out->push_back(NumberField(row.name, raw, Unit::kBytes));
  } else {
    out->push_back(Hex(row.name, raw, row.width));
  }
}

void DecodeAfterHandlesBits(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(0x0E, 1)) return;
  const size_t base = 0x0F + 2u * c.formatted.U8(0x0E);
  FieldRow shifted = row;
  shifted.offset = 0;
  shifted.kind = FieldKind::kBits;
  DecodeContext tail = c;
  tail.formatted = c.formatted.Slice(base + row.offset, row.width);
  Field field;
  field.name = row.name;
  if (ReadRowValue(tail, shifted, &field.value)) out->push_back(std::move(field));
}

void DecodeModuleSizePower(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  uint64_t bytes = 0;
  if (!c.formatted.Has(row.offset, 1) || !PowerOfTwoMiB(c.formatted.U8(row.offset), &bytes)) return;
  out->push_back(NumberField(row.name, bytes, Unit::kBytes));
  // The controller's maximum is that size times its slots (count at 0Eh),
  // as the standard defines it.
  const unsigned slots = c.formatted.U8(0x0E);
  if (c.formatted.Has(0x0E, 1) && bytes <= UINT64_MAX / (slots ? slots : 1))
    out->push_back(NumberField("maximum_total_memory_size_bytes", bytes * slots, Unit::kBytes));
}

void DecodeBankConnections(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 1)) return;
  const unsigned code = c.formatted.U8(row.offset);
  Field field;
  field.name = row.name;
  field.value.kind = FieldValue::Kind::kList;
  // High nibble first, as the standard writes "RAS 1 and 3" as 13h.
  for (const unsigned ras : {code >> 4u, code & 0xFu}) {
    if (ras == 0xF) continue;
    FieldValue line;
    line.number = ras;
    field.value.items.push_back(line);
  }
  out->push_back(std::move(field));
}

void DecodeModuleSize(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 1)) return;
  const unsigned code = c.formatted.U8(row.offset) & 0x7Fu;
  uint64_t bytes = 0;
  if (code >= 0x7D || !PowerOfTwoMiB(code, &bytes))
    out->push_back(Named(row.name, code, 1, "MEMMODSIZE"));
  else out->push_back(NumberField(row.name, bytes, Unit::kBytes));
}

void DecodeModuleErrorStatus(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  Field field;
  field.name = row.name;
  FieldRow bits = row;
  bits.kind = FieldKind::kBits;
  if (!ReadRowValue(c, bits, &field.value)) return;
  // With bit 2 set the status lies in the event log and bits 1:0 are
  // reserved: set ones are out of row.
  if (field.value.number & 0x04)
    for (BitName& bit : field.value.bits)
      if (bit.bit < 2) bit.name = nullptr;
  out->push_back(std::move(field));
}

void DecodeCacheLevel(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (c.formatted.Has(row.offset, 2))
    out->push_back(NumberField(row.name, (c.formatted.U16(row.offset) & 0x7u) + 1u));
}

void DecodeCacheSize(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 2)) return;
  const uint16_t word = c.formatted.U16(row.offset);
  // The 3.1 double word of the maximum size follows at 13h, of the
  // installed size at 17h; FFFF in the word sends the reader there. Bit 15
  // (31) chooses 64 KiB units over 1 KiB.
  const size_t wide = row.offset == 0x07 ? 0x13 : 0x17;
  uint64_t bytes = 0;
  if (word == 0xFFFF && c.formatted.Has(wide, 4)) {
    const uint32_t dword = c.formatted.U32(wide);
    bytes = (dword & 0x7FFFFFFFull) * ((dword >> 31) ? 65536u : 1024u);
  } else {
    bytes = (word & 0x7FFFull) * ((word >> 15) ? 65536u : 1024u);
  }
  out->push_back(NumberField(row.name, bytes, Unit::kBytes));
}

void DecodeArrayCapacity(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 4)) return;
  const uint32_t kib = c.formatted.U32(row.offset);
  // 80000000h: 2 TiB or more, given in bytes by the extended capacity.
  if (kib != 0x80000000u) {
    out->push_back(NumberField(row.name, kib * 1024ull, Unit::kBytes));
  } else if (c.formatted.Has(0x0F, 8)) {
    out->push_back(NumberField(row.name, c.formatted.U64(0x0F), Unit::kBytes));
  }
}

void DecodeMemoryDeviceSize(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 2)) return;
  const uint16_t word = c.formatted.U16(row.offset);
  if (word == 0 || word == 0xFFFF) {
    out->push_back(Named(row.name, word, 2, "MEMDEVSIZE"));
    return;
  }
  // 7FFF: 32 GiB or more, in MiB in bits 30:0 of the 2.7 extended size.
  // Otherwise bit 15 chooses KiB over MiB.
  uint64_t bytes = 0;
  if (word == 0x7FFF && c.formatted.Has(0x1C, 4))
    bytes = (c.formatted.U32(0x1C) & 0x7FFFFFFFull) << 20;
  else bytes = static_cast<uint64_t>(word & 0x7FFF) << ((word & 0x8000) ? 10 : 20);
  out->push_back(NumberField(row.name, bytes, Unit::kBytes));
}

void DecodeMemorySpeed(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 2)) return;
  const uint16_t word = c.formatted.U16(row.offset);
  // FFFF: the speed lies in bits 30:0 of the 3.3 double word (at 54h for
  // the speed, 58h for the configured speed). 0 means unknown.
  const size_t wide = row.offset == 0x15 ? 0x54 : 0x58;
  if (word == 0) out->push_back(Named(row.name, 0, 2, row.values));
  else if (word != 0xFFFF) out->push_back(NumberField(row.name, word, Unit::kMTs));
  else if (c.formatted.Has(wide, 4))
    out->push_back(NumberField(row.name, c.formatted.U32(wide) & 0x7FFFFFFFu, Unit::kMTs));
}

void DecodeJedecId(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 2)) return;
  const uint16_t id = c.formatted.U16(row.offset);
  if (id == 0) {
    out->push_back(Named(row.name, 0, 2, "FIELDSTATE"));
    return;
  }
  // JEP-106, as the SPD holds it: the low byte counts the continuation codes
  // before the bank (bit 7 is parity), the high byte is the ID in that bank,
  // parity bit included as JEDEC lists it. Numbers only: the makers' names
  // are JEDEC's list, not ours to copy.
  Field field;
  field.name = row.name;
  field.value.kind = FieldValue::Kind::kObject;
  field.value.members.push_back(NumberField("bank", (id & 0x7Fu) + 1u));
  field.value.members.push_back(Hex("id", id >> 8, 1));
  out->push_back(std::move(field));
}

void DecodeMappedRange(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 8)) return;
  const uint32_t startKib = c.formatted.U32(row.offset);
  const uint32_t endKib = c.formatted.U32(row.offset + 4);
  // The extended addresses (2.7) follow the fields of each type.
  const size_t wide = c.formatted.U8(0) == 19 ? 0x0F : 0x13;
  uint64_t start = 0;
  uint64_t end = 0;
  if (startKib == 0xFFFFFFFFu) {
    if (!c.formatted.Has(wide, 16)) return;
    start = c.formatted.U64(wide);
    end = c.formatted.U64(wide + 8);
  } else {
    // The KiB form names the last kilobyte; the extended form, like the
    // model, the last byte.
    start = static_cast<uint64_t>(startKib) << 10;
    end = (static_cast<uint64_t>(endKib) << 10) | 0x3FF;
  }
  out->push_back(Hex("starting_address", start, 8));
  out->push_back(Hex("ending_address", end, 8));
  if (end >= start && end - start != UINT64_MAX)
    out->push_back(NumberField(row.name, end - start + 1, Unit::kBytes));
}
