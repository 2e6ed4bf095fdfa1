#include "model_fields_management.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "values.h"

namespace {

Field Make(const char* name, FieldValue::Kind kind, uint64_t number = 0) {
  Field field;
  field.name = name;
  field.value.kind = kind;
  field.value.number = number;
  return field;
}

// The part of the formatted area from offset on, at most count bytes.
ByteView Tail(ByteView bytes, size_t offset, size_t count) {
  if (offset >= bytes.size()) return ByteView();
  return bytes.Slice(offset, std::min(count, bytes.size() - offset));
}

// Code ranges the standard gives to vendors, each named by its first code's
// line in the value section.
struct CodeRange {
  const char* section;
  uint32_t first;
  uint32_t last;
};
constexpr CodeRange kRanges[] = {
    {"BOOTSTATUS", 0x80, 0xBF},           {"BOOTSTATUS", 0xC0, 0xFF},
    {"FWVERSIONFORMAT", 0x80, 0xFF},      {"FWIDFORMAT", 0x80, 0xFF},
    {"STRINGPROPERTYID", 0x8000, 0xBFFF}, {"STRINGPROPERTYID", 0xC000, 0xFFFF},
};

const char* RangedName(const char* section, uint32_t code) {
  const ValueSection names = FindValueSection(section);
  if (const char* name = FindValueName(names, code)) return name;
  for (const CodeRange& range : kRanges)
    if (strcmp(range.section, section) == 0 && code >= range.first && code <= range.last)
      return FindValueName(names, range.first);
  return nullptr;
}

}  // namespace

std::string HexBytesText(ByteView bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i) text += ' ';
    text += kDigits[bytes.U8(i) >> 4];
    text += kDigits[bytes.U8(i) & 15];
  }
  return text;
}

namespace {

void NumberOrMarker(const DecodeContext& c, const FieldRow& row, uint64_t marker,
                    std::vector<Field>* out, bool isSigned = false) {
  FieldRow number = row;
  number.kind = FieldKind::kNumber;
  Field field;
  field.name = row.name;
  if (!ReadRowValue(c, number, &field.value)) return;
  if (field.value.number == marker) {
    field.value.kind = FieldValue::Kind::kEnum;
    field.value.name = "Unknown";
  } else if (isSigned) {
    const unsigned bits = row.width * 8u;
    field.value.kind = FieldValue::Kind::kSigned;
    if (bits < 64 && (field.value.number >> (bits - 1) & 1)) field.value.number |= ~0ull << bits;
  }
  out->push_back(std::move(field));
}

}  // namespace

void DecodeNumberOrUnknown(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  NumberOrMarker(c, row, 1ull << (row.width * 8 - 1), out);
}

void DecodeSignedOrUnknown(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  NumberOrMarker(c, row, 1ull << (row.width * 8 - 1), out, true);
}

void DecodeNumberOrAllOnes(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  NumberOrMarker(c, row, row.width >= 8 ? ~0ull : (1ull << (row.width * 8)) - 1, out);
}

void DecodeRangedEnum(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  FieldRow number = row;
  number.kind = FieldKind::kNumber;
  Field field;
  field.name = row.name;
  if (!ReadRowValue(c, number, &field.value)) return;
  field.value.kind = FieldValue::Kind::kEnum;
  field.value.name = RangedName(row.values, static_cast<uint32_t>(field.value.number));
  out->push_back(std::move(field));
}

void DecodeBatteryCapacity(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 2)) return;
  // The multiplier (2.2) scales the capacity; a table without it, or with
  // 0 there, gives the capacity as it is. 0 means unknown.
  uint64_t multiplier = c.formatted.Has(0x15, 1) ? c.formatted.U8(0x15) : 1;
  if (multiplier == 0) multiplier = 1;
  Field field = Make(row.name, FieldValue::Kind::kNumber, c.formatted.U16(row.offset) * multiplier);
  field.value.unit = row.unit;
  if (field.value.number == 0) {
    field.value.kind = FieldValue::Kind::kEnum;
    field.value.name = "Unknown";
  }
  out->push_back(std::move(field));
}

void DecodeSbdsDate(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 2)) return;
  // Bits 15:9 years since 1980, 8:5 month, 4:0 day; 0 when the date is
  // in the string at 06h instead.
  const uint16_t date = c.formatted.U16(row.offset);
  if (date == 0) return;
  char text[16];
  snprintf(text, sizeof text, "%04u-%02u-%02u", 1980u + (date >> 9), (date >> 5) & 0xFu,
           date & 0x1Fu);
  out->push_back(TextField(row.name, text));
}

void DecodeBcd(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 1)) return;
  const uint8_t code = c.formatted.U8(row.offset);
  // Not BCD (FFh in practice): kept raw, as a hexadecimal byte.
  if ((code >> 4) > 9 || (code & 0xF) > 9) {
    Field raw = Make(row.name, FieldValue::Kind::kHex, code);
    raw.value.width = 1;
    out->push_back(raw);
    return;
  }
  out->push_back(Make(row.name, FieldValue::Kind::kNumber, (code >> 4) * 10u + (code & 0xFu)));
}

void DecodeBootStatus(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 1)) return;
  Field status = Make(row.name, FieldValue::Kind::kEnum, c.formatted.U8(row.offset));
  status.value.width = 1;
  status.value.name = RangedName(row.values, static_cast<uint32_t>(status.value.number));
  out->push_back(status);
  const ByteView extra = Tail(c.formatted, row.offset + 1, 255);
  if (extra.size()) out->push_back(TextField("boot_status_additional_data", HexBytesText(extra)));
}

void DecodeChannelDevices(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(0x06, 1)) return;
  const size_t count = c.formatted.U8(0x06);
  Field list = Make(row.name, FieldValue::Kind::kList);
  for (size_t i = 0; i < count && c.formatted.Has(row.offset + 3 * i, 3); ++i) {
    const size_t at = row.offset + 3 * i;
    FieldValue device;
    device.kind = FieldValue::Kind::kObject;
    device.members.push_back(Make("load", FieldValue::Kind::kNumber, c.formatted.U8(at)));
    device.members.push_back(Make("handle", FieldValue::Kind::kHandle, c.formatted.U16(at + 1)));
    list.value.items.push_back(std::move(device));
  }
  out->push_back(std::move(list));
}

void DecodeNibbleRevision(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 1)) return;
  const uint8_t code = c.formatted.U8(row.offset);
  out->push_back(TextField(row.name, std::to_string(code >> 4) + "." + std::to_string(code & 0xF)));
}

void DecodeIpmiBaseAddress(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 8)) return;
  const uint64_t raw = c.formatted.U64(row.offset);
  // Bit 0 tells I/O space from memory; the address's own bit 0 lies in
  // bit 4 of the modifier byte (taken as 0 when the structure ends before it).
  const uint64_t low = c.formatted.Has(0x10, 1) ? (c.formatted.U8(0x10) >> 4) & 1 : 0;
  Field address = Make(row.name, FieldValue::Kind::kHex, (raw & ~1ull) | low);
  address.value.width = 8;
  out->push_back(address);
  out->push_back(Make("base_address_in_io_space", FieldValue::Kind::kFlag, raw & 1));
}

void DecodeAdditionalEntries(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(0x04, 1)) return;
  const size_t count = c.formatted.U8(0x04);
  Field list = Make(row.name, FieldValue::Kind::kList);
  size_t at = row.offset;
  // Each entry: length, referenced handle, referenced offset, string, value
  // (named entry_value: "value" is the key of enumerations in JSON).
  for (size_t i = 0; i < count && c.formatted.Has(at, 5); ++i) {
    const size_t length = c.formatted.U8(at);
    if (length < 5 || !c.formatted.Has(at, length)) break;
    FieldValue entry;
    entry.kind = FieldValue::Kind::kObject;
    entry.members.push_back(Make("entry_length", FieldValue::Kind::kNumber, length));
    entry.members.push_back(
        Make("referenced_handle", FieldValue::Kind::kHandle, c.formatted.U16(at + 1)));
    Field offset = Make("referenced_offset", FieldValue::Kind::kHex, c.formatted.U8(at + 3));
    offset.value.width = 1;
    entry.members.push_back(offset);
    FieldRow string{static_cast<uint8_t>(at + 4), 1, FieldKind::kString, "string"};
    Field text;
    text.name = "string";
    if (ReadRowValue(c, string, &text.value)) entry.members.push_back(std::move(text));
    entry.members.push_back(
        TextField("entry_value", HexBytesText(c.formatted.Slice(at + 5, length - 5))));
    list.value.items.push_back(std::move(entry));
    at += length;
  }
  out->push_back(std::move(list));
}

void DecodeTpmVendor(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 4)) return;
  // Four characters, NUL-padded at the end ("IBM", "MSFT").
  std::string text;
  for (size_t i = 0; i < 4 && c.formatted.U8(row.offset + i); ++i)
    text += static_cast<char>(c.formatted.U8(row.offset + i));
  out->push_back(TextField(row.name, text));
}

void DecodeTpmFirmware(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(0x08, 1) || !c.formatted.Has(row.offset, 4)) return;
  const uint8_t family = c.formatted.U8(0x08);
  const uint32_t version1 = c.formatted.U32(row.offset);
  // TPM 1.2: a TPM_VERSION (major, minor, revision major, revision minor);
  // TPM 2.0: the vendor's 32-bit word, read as two 16-bit halves.
  if (family == 1) {
    out->push_back(TextField(row.name, std::to_string(c.formatted.U8(row.offset + 2)) + "." +
                                           std::to_string(c.formatted.U8(row.offset + 3))));
  } else if (family == 2) {
    out->push_back(TextField(
        row.name, std::to_string(version1 >> 16) + "." + std::to_string(version1 & 0xFFFF)));
  }
}

void DecodeProcessorBlock(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(0x06, 2)) return;
  const ByteView data = Tail(c.formatted, row.offset, c.formatted.U8(0x06));
  const uint8_t type = c.formatted.U8(0x07);
  // RISC-V RV32, RV64 and RV128 share one block layout.
  if (type >= 0x06 && type <= 0x08) {
    DecodeContext block = c;
    block.formatted = data;
    Field riscv = Make("risc_v", FieldValue::Kind::kObject);
    riscv.value.members = DecodeFields(kRiscVBlock, block);
    out->push_back(std::move(riscv));
    return;
  }
  out->push_back(TextField(row.name, HexBytesText(data)));
}

void DecodeHex128(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 16)) return;
  static const char kDigits[] = "0123456789abcdef";
  std::string text = "0x";
  for (size_t i = 16; i-- > 0;) {
    text += kDigits[c.formatted.U8(row.offset + i) >> 4];
    text += kDigits[c.formatted.U8(row.offset + i) & 15];
  }
  out->push_back(TextField(row.name, text));
}

void DecodeRiscVRevision(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 2)) return;
  const uint16_t revision = c.formatted.U16(row.offset);
  out->push_back(
      TextField(row.name, std::to_string(revision >> 8) + "." + std::to_string(revision & 0xFF)));
}
