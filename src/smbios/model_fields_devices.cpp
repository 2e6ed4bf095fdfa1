#include "model_fields_devices.h"

namespace {

using K = FieldKind;

// The members of a repeated record, as rows: offsets count from the
// record's first byte.
struct RecordRows {
  const FieldRow* rows;
  size_t count;
};

template <size_t N>
constexpr RecordRows Rows(const FieldRow (&rows)[N]) {
  return RecordRows{rows, N};
}

// Type 9, a peer group (3.2).
constexpr FieldRow kPeerGroup[] = {
    {0x00, 2, K::kNumber, "segment_group_number"},
    {0x02, 1, K::kNumber, "bus_number"},
    {0x03, 1, K::kNumber, "device_number", nullptr, 0, 0xF8},
    {0x03, 1, K::kNumber, "function_number", nullptr, 0, 0x07},
    {0x04, 1, K::kNumber, "data_bus_width"},
};

// Type 10, a device: bit 7 of the type byte is the device's status.
constexpr FieldRow kOnboardDevice[] = {
    {0x00, 1, K::kEnum, "device_type", "ONBOARDDEVICETYPE", 0, 0x7F},
    {0x00, 1, K::kFlag, "device_enabled", nullptr, 0, 0x80},
    {0x01, 1, K::kString, "description_string"},
};

// Type 14, an item: the type and the handle of a member structure. The type
// stays a number: OEM types are members as well.
constexpr FieldRow kGroupItem[] = {
    {0x00, 1, K::kNumber, "item_type"},
    {0x01, 2, K::kHandle, "item_handle"},
};

// Type 15, a log type descriptor (2.1).
constexpr FieldRow kLogTypeDescriptor[] = {
    {0x00, 1, K::kEnum, "log_type", "EVENTLOGTYPE"},
    {0x01, 1, K::kEnum, "variable_data_format_type", "EVENTLOGDATAFORMAT"},
};

// Type 15, the access method address of the indexed I/O methods (00 to 02)
// and of the non-volatile data functions (04).
constexpr FieldRow kIndexedAddress[] = {
    {0x00, 2, K::kHex, "index_address"},
    {0x02, 2, K::kHex, "data_address"},
};
constexpr FieldRow kGpnvAddress[] = {
    {0x00, 2, K::kHex, "gpnv_handle"},
};

constexpr uint8_t kSlotTypePcCard = 0x07;

// The slot types whose ID is a slot number in its low byte (the high byte
// is 0): the MCA slot number, and for the PCI-based slots the ACPI _SUN
// value or the slot number of the PCI interrupt routing table. PCI-based:
// PCI, AGP, PCI-X, PCI Express and the form factors that carry it (M.2,
// MXM, U.2, PCI Express Mini, OCP NIC, CXL, EDSFF). A PC Card slot's ID is its
// adapter and socket numbers; for other types the ID has no meaning.
constexpr uint8_t kNumberedSlotRanges[][2] = {
    {0x04, 0x04}, {0x06, 0x06}, {0x0E, 0x28}, {0x30, 0x30}, {0xA5, 0xC6},
};

bool IsNumberedSlot(uint8_t slotType) {
  for (const auto& range : kNumberedSlotRanges)
    if (slotType >= range[0] && slotType <= range[1]) return true;
  return false;
}

// The view from base to the end of the formatted area (empty past it).
DecodeContext From(const DecodeContext& c, size_t base) {
  DecodeContext at = c;
  at.formatted =
      c.formatted.Has(base, 0) ? c.formatted.Slice(base, c.formatted.size() - base) : ByteView();
  return at;
}

// One record's members, read by its rows from the record's first byte;
// false when the area does not hold the whole record.
bool ReadRecord(const DecodeContext& c, size_t base, size_t size, RecordRows rows,
                FieldValue* record) {
  if (!c.formatted.Has(base, size)) return false;
  DecodeContext at = c;
  at.formatted = c.formatted.Slice(base, size);
  record->kind = FieldValue::Kind::kObject;
  for (size_t i = 0; i < rows.count; ++i) {
    Field member;
    member.name = rows.rows[i].name;
    if (ReadRowValue(at, rows.rows[i], &member.value)) record->members.push_back(member);
  }
  return true;
}

// A list field of count records of size bytes from base; records past the
// formatted area are left out.
void AddRecords(const DecodeContext& c, const char* name, size_t base, size_t count, size_t size,
                RecordRows rows, std::vector<Field>* out) {
  Field field;
  field.name = name;
  field.value.kind = FieldValue::Kind::kList;
  for (size_t i = 0; i < count; ++i) {
    FieldValue record;
    if (!ReadRecord(c, base + i * size, size, rows, &record)) break;
    field.value.items.push_back(std::move(record));
  }
  out->push_back(std::move(field));
}

// Offset of the first byte after the slot's peer groups; false when the
// structure is too short to hold their count.
bool AfterPeerGroups(const DecodeContext& c, size_t* offset) {
  if (!c.formatted.Has(0x12, 1)) return false;
  *offset = 0x13 + 5u * c.formatted.U8(0x12);
  return true;
}

}  // namespace

void DecodeSlotId(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 2)) return;
  const uint8_t slotType = c.formatted.U8(0x05);
  Field field;
  field.name = row.name;
  if (slotType == kSlotTypePcCard) {
    static constexpr FieldRow kPcCard[] = {
        {0x00, 1, K::kNumber, "adapter_number"},
        {0x01, 1, K::kNumber, "socket_number"},
    };
    ReadRecord(c, row.offset, 2, Rows(kPcCard), &field.value);
  } else if (IsNumberedSlot(slotType)) {
    field.value.kind = FieldValue::Kind::kNumber;
    field.value.number = c.formatted.U8(row.offset);
  } else {
    // The ID has no defined meaning for this slot type: the raw word.
    field.value.kind = FieldValue::Kind::kHex;
    field.value.width = 2;
    field.value.number = c.formatted.U16(row.offset);
  }
  out->push_back(std::move(field));
}

void DecodeSlotPeerGroups(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(0x12, 1)) return;
  AddRecords(c, row.name, row.offset, c.formatted.U8(0x12), 5, Rows(kPeerGroup), out);
}

void DecodeAfterPeerGroups(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  size_t base = 0;
  if (!AfterPeerGroups(c, &base)) return;
  FieldRow shifted = row;
  shifted.kind = row.values ? K::kEnum : K::kNumber;
  Field field;
  field.name = row.name;
  if (ReadRowValue(From(c, base), shifted, &field.value)) out->push_back(std::move(field));
}

void DecodeSlotPitch(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  size_t base = 0;
  if (!AfterPeerGroups(c, &base) || !c.formatted.Has(base + row.offset, 2)) return;
  // The table counts hundredths of a millimetre; the model, micrometres
  // (0: not given).
  Field field;
  field.name = row.name;
  field.value.kind = FieldValue::Kind::kNumber;
  field.value.number = c.formatted.U16(base + row.offset) * 10u;
  field.value.unit = row.unit;
  out->push_back(std::move(field));
}

void DecodeOnboardDevices(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  const size_t size = c.formatted.size();
  const size_t count = size > row.offset ? (size - row.offset) / 2 : 0;
  AddRecords(c, row.name, row.offset, count, 2, Rows(kOnboardDevice), out);
}

void DecodeCountedStrings(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 1)) return;
  const unsigned count = c.formatted.U8(row.offset);
  Field field;
  field.name = row.name;
  field.value.kind = FieldValue::Kind::kList;
  const std::vector<std::string>& strings = *c.strings;
  for (unsigned i = 1; i <= count; ++i) {
    FieldValue item;
    item.kind = FieldValue::Kind::kString;
    item.number = i;
    if (i > strings.size()) item.badIndex = true;
    else item.text = strings[i - 1];
    field.value.items.push_back(std::move(item));
  }
  out->push_back(std::move(field));
}

void DecodeGroupItems(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  const size_t size = c.formatted.size();
  const size_t count = size > row.offset ? (size - row.offset) / 3 : 0;
  AddRecords(c, row.name, row.offset, count, 3, Rows(kGroupItem), out);
}

void DecodeEventLogAddress(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(0x0A, 1) || !c.formatted.Has(row.offset, 4)) return;
  const uint8_t method = c.formatted.U8(0x0A);
  Field field;
  field.name = row.name;
  if (method <= 0x02) {
    ReadRecord(c, row.offset, 4, Rows(kIndexedAddress), &field.value);
  } else if (method == 0x04) {
    ReadRecord(c, row.offset, 4, Rows(kGpnvAddress), &field.value);
  } else {
    // The memory-mapped method's physical address, and the vendors' own
    // methods, whose address the standard leaves to them: the whole DWORD.
    field.value.kind = FieldValue::Kind::kHex;
    field.value.width = 4;
    field.value.number = c.formatted.U32(row.offset);
  }
  out->push_back(std::move(field));
}

void DecodeLogTypeDescriptors(const DecodeContext& c, const FieldRow& row,
                              std::vector<Field>* out) {
  if (!c.formatted.Has(0x15, 2)) return;
  const size_t count = c.formatted.U8(0x15);
  const size_t size = c.formatted.U8(0x16);
  // Descriptors shorter than their two defined bytes cannot be read.
  if (size < 2) return;
  AddRecords(c, row.name, row.offset, count, size, Rows(kLogTypeDescriptor), out);
}
