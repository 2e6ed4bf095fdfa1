#include "model_fields_host_interface.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "model_fields.h"
#include "model_fields_management.h"
#include "values.h"

namespace {

using K = FieldKind;

// Six bytes as the usual colon-separated form.
void DecodeMac(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 6)) return;
  char text[18];
  snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", c.formatted.U8(row.offset),
           c.formatted.U8(row.offset + 1), c.formatted.U8(row.offset + 2),
           c.formatted.U8(row.offset + 3), c.formatted.U8(row.offset + 4),
           c.formatted.U8(row.offset + 5));
  out->push_back(TextField(row.name, text));
}

// A 16-byte address in the form its format byte gives (1: IPv4 in the
// first four bytes, 2: IPv6); another format keeps the bytes in hex.
void IpText(const DecodeContext& c, const FieldRow& row, size_t formatAt, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset, 16) || !c.formatted.Has(formatAt, 1)) return;
  const ByteView bytes = c.formatted.Slice(row.offset, 16);
  const uint8_t format = c.formatted.U8(formatAt);
  std::string text;
  char part[8];
  if (format == 1) {
    for (size_t i = 0; i < 4; ++i) {
      snprintf(part, sizeof part, i ? ".%u" : "%u", bytes.U8(i));
      text += part;
    }
  } else if (format == 2) {
    for (size_t i = 0; i < 16; i += 2) {
      snprintf(part, sizeof part, i ? ":%02x%02x" : "%02x%02x", bytes.U8(i), bytes.U8(i + 1));
      text += part;
    }
  } else {
    text = HexBytesText(bytes);
  }
  out->push_back(TextField(row.name, text));
}

// The address follows its format byte; the mask follows the address.
void DecodeIpAddress(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  IpText(c, row, row.offset - 1u, out);
}
void DecodeIpMask(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  IpText(c, row, row.offset - 17u, out);
}

void DecodeHostname(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset - 1u, 1)) return;
  const size_t length = c.formatted.U8(row.offset - 1u);
  if (!c.formatted.Has(row.offset, length)) return;
  std::string text;
  for (size_t i = 0; i < length && c.formatted.U8(row.offset + i); ++i)
    text += static_cast<char>(c.formatted.U8(row.offset + i));
  out->push_back(TextField(row.name, text));
}

void AppendUtf8(uint32_t code, std::string* text) {
  if (code < 0x80) {
    *text += static_cast<char>(code);
  } else if (code < 0x800) {
    *text += static_cast<char>(0xC0 | code >> 6);
    *text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *text += static_cast<char>(0xE0 | code >> 12);
    *text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *text += static_cast<char>(0xF0 | code >> 18);
    *text += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    *text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The v1 USB description's serial number: a USB string descriptor whose
// length byte (at row.offset - 2) counts itself and the type byte before
// the UTF-16LE text. The text ends at the descriptor's or the slice's end,
// or at a NUL code unit; a lone surrogate becomes U+FFFD.
void DecodeUsbSerial(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(row.offset - 2u, 2)) return;
  const size_t length = c.formatted.U8(row.offset - 2u);
  if (length < 2) return;
  const size_t units = std::min(length - 2, c.formatted.size() - row.offset) / 2;
  std::string text;
  for (size_t i = 0; i < units; ++i) {
    uint32_t unit = c.formatted.U16(row.offset + 2 * i);
    if (unit == 0) break;
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
      const uint32_t low = c.formatted.U16(row.offset + 2 * (i + 1));
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), &text);
        ++i;
        continue;
      }
    }
    if (unit >= 0xD800 && unit < 0xE000) unit = 0xFFFD;
    AppendUtf8(unit, &text);
  }
  out->push_back(TextField(row.name, text));
}

// Device descriptions, offsets from the first byte after the device type.
constexpr FieldRow kUsbDevice[] = {
    {0x00, 2, K::kHex, "id_vendor", nullptr, 0x0300},
    {0x02, 2, K::kHex, "id_product", nullptr, 0x0300},
    {0x04, 1, K::kNumber, "serial_number_length", nullptr, 0x0300},
    {0x05, 1, K::kHex, "serial_number_descriptor_type", nullptr, 0x0300},
    {0x06, 0, K::kCustom, "serial_number", nullptr, 0x0300, 0, Unit::kNone, DecodeUsbSerial},
};
constexpr FieldRow kPciDevice[] = {
    {0x00, 2, K::kHex, "vendor_id", nullptr, 0x0300},
    {0x02, 2, K::kHex, "device_id", nullptr, 0x0300},
    {0x04, 2, K::kHex, "subsystem_vendor_id", nullptr, 0x0300},
    {0x06, 2, K::kHex, "subsystem_id", nullptr, 0x0300},
};
constexpr FieldRow kUsbDeviceV2[] = {
    {0x00, 1, K::kNumber, "length", nullptr, 0x0300},
    {0x01, 2, K::kHex, "id_vendor", nullptr, 0x0300},
    {0x03, 2, K::kHex, "id_product", nullptr, 0x0300},
    {0x05, 1, K::kString, "serial_number", nullptr, 0x0300},
    {0x06, 6, K::kCustom, "mac_address", nullptr, 0x0300, 0, Unit::kNone, DecodeMac},
    {0x0C, 2, K::kBits, "device_characteristics", "HOSTIFDEVCHAR", 0x0300},
    {0x0E, 2, K::kHandle, "credential_bootstrapping_handle", "HANDLENONE", 0x0300},
};
constexpr FieldRow kPciDeviceV2[] = {
    {0x00, 1, K::kNumber, "length", nullptr, 0x0300},
    {0x01, 2, K::kHex, "vendor_id", nullptr, 0x0300},
    {0x03, 2, K::kHex, "device_id", nullptr, 0x0300},
    {0x05, 2, K::kHex, "subsystem_vendor_id", nullptr, 0x0300},
    {0x07, 2, K::kHex, "subsystem_id", nullptr, 0x0300},
    {0x09, 6, K::kCustom, "mac_address", nullptr, 0x0300, 0, Unit::kNone, DecodeMac},
    {0x0F, 2, K::kNumber, "segment_group_number", nullptr, 0x0300},
    {0x11, 1, K::kNumber, "bus_number", nullptr, 0x0300},
    {0x12, 1, K::kNumber, "device_number", nullptr, 0x0300, 0xF8},
    {0x12, 1, K::kNumber, "function_number", nullptr, 0x0300, 0x07},
    {0x13, 2, K::kBits, "device_characteristics", "HOSTIFDEVCHAR", 0x0300},
    {0x15, 2, K::kHandle, "credential_bootstrapping_handle", "HANDLENONE", 0x0300},
};

constexpr FieldRow kRedfishOverIp[] = {
    {0x00, 16, K::kCustom, "service_uuid", nullptr, 0x0300, 0, Unit::kNone, DecodeUuid},
    {0x10, 1, K::kEnum, "host_ip_assignment_type", "HOSTIPASSIGNMENT", 0x0300},
    {0x11, 1, K::kEnum, "host_ip_address_format", "HOSTIPFORMAT", 0x0300},
    {0x12, 16, K::kCustom, "host_ip_address", nullptr, 0x0300, 0, Unit::kNone, DecodeIpAddress},
    {0x22, 16, K::kCustom, "host_ip_mask", nullptr, 0x0300, 0, Unit::kNone, DecodeIpMask},
    {0x32, 1, K::kEnum, "service_ip_discovery_type", "HOSTIPASSIGNMENT", 0x0300},
    {0x33, 1, K::kEnum, "service_ip_address_format", "HOSTIPFORMAT", 0x0300},
    {0x34, 16, K::kCustom, "service_ip_address", nullptr, 0x0300, 0, Unit::kNone, DecodeIpAddress},
    {0x44, 16, K::kCustom, "service_ip_mask", nullptr, 0x0300, 0, Unit::kNone, DecodeIpMask},
    {0x54, 2, K::kNumber, "service_ip_port", nullptr, 0x0300},
    {0x56, 4, K::kNumber, "service_vlan_id", nullptr, 0x0300},
    {0x5A, 1, K::kNumber, "service_hostname_length", nullptr, 0x0300},
    {0x5B, 0, K::kCustom, "service_hostname", nullptr, 0x0300, 0, Unit::kNone, DecodeHostname},
};

template <size_t N>
constexpr TypeTable Layout(const FieldRow (&rows)[N]) {
  return TypeTable{42, rows, N};
}

// The fields of a layout read from bytes, as members of one object.
Field Decoded(const char* name, const TypeTable& layout, const DecodeContext& c, ByteView bytes) {
  DecodeContext slice = c;
  slice.formatted = bytes;
  Field field;
  field.name = name;
  field.value.kind = FieldValue::Kind::kObject;
  field.value.members = DecodeFields(layout, slice);
  return field;
}

const TypeTable* DeviceLayout(uint8_t deviceType) {
  static constexpr TypeTable kUsb = Layout(kUsbDevice), kPci = Layout(kPciDevice),
                             kUsbV2 = Layout(kUsbDeviceV2), kPciV2 = Layout(kPciDeviceV2);
  switch (deviceType) {
    case 0x02: return &kUsb;
    case 0x03: return &kPci;
    case 0x04: return &kUsbV2;
    case 0x05: return &kPciV2;
    default: return nullptr;
  }
}

}  // namespace

void DecodeInterfaceData(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  if (!c.formatted.Has(0x05, 1)) return;
  const size_t length = c.formatted.U8(0x05);
  if (!c.formatted.Has(row.offset, length)) return;
  const ByteView data = c.formatted.Slice(row.offset, length);
  out->push_back(TextField(row.name, HexBytesText(data)));
  // Network host interface: a device type, then its description.
  if (c.formatted.U8(0x04) != 0x40 || length < 1) return;
  Field type;
  type.name = "device_type";
  type.value.kind = FieldValue::Kind::kEnum;
  type.value.width = 1;
  type.value.number = data.U8(0);
  type.value.name = FindValueName(FindValueSection("HOSTIFDEVTYPE"), data.U8(0));
  out->push_back(std::move(type));
  if (const TypeTable* layout = DeviceLayout(data.U8(0)))
    out->push_back(Decoded("device_description", *layout, c, data.Slice(1, length - 1)));
}

void DecodeProtocolRecords(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out) {
  (void)row;
  if (!c.formatted.Has(0x05, 1)) return;
  size_t at = 0x06 + c.formatted.U8(0x05);
  if (!c.formatted.Has(at, 1)) return;
  const size_t count = c.formatted.U8(at++);
  Field number;
  number.name = "number_of_protocol_records";
  number.value.number = count;
  out->push_back(std::move(number));
  Field list;
  list.name = "protocol_records";
  list.value.kind = FieldValue::Kind::kList;
  static constexpr TypeTable kRedfish = Layout(kRedfishOverIp);
  for (size_t i = 0; i < count && c.formatted.Has(at, 2); ++i) {
    const size_t size = c.formatted.U8(at + 1);
    if (!c.formatted.Has(at + 2, size)) break;
    const ByteView data = c.formatted.Slice(at + 2, size);
    FieldValue record;
    record.kind = FieldValue::Kind::kObject;
    Field type;
    type.name = "protocol_type";
    type.value.kind = FieldValue::Kind::kEnum;
    type.value.width = 1;
    type.value.number = c.formatted.U8(at);
    type.value.name = FindValueName(FindValueSection("HOSTPROTOCOLTYPE"), c.formatted.U8(at));
    record.members.push_back(std::move(type));
    record.members.push_back(TextField("protocol_type_specific_data", HexBytesText(data)));
    if (c.formatted.U8(at) == 0x04)
      record.members.push_back(Decoded("redfish_over_ip", kRedfish, c, data));
    list.value.items.push_back(std::move(record));
    at += 2 + size;
  }
  out->push_back(std::move(list));
}
