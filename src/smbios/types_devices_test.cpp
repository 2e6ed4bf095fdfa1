// Rules of the port, slot and device tables (types 8 to 15 and 41), each on
// annotated bytes: the length gates, the fields that follow the peer
// groups, the forms of the slot ID and of the event log's address, records
// cut by the structure's length.
#include <gtest/gtest.h>

#include "model.h"
#include "test_tables.h"

namespace {

TestBytes WithStrings(TestBytes formatted, std::vector<std::string> strings) {
  for (const std::string& s : strings) {
    formatted.insert(formatted.end(), s.begin(), s.end());
    formatted.push_back(0);
  }
  if (strings.empty()) formatted.push_back(0);
  formatted.push_back(0);
  return formatted;
}

DecodedStructure Decode(const TestBytes& formatted, std::vector<std::string> strings) {
  return DecodeStructure(View(WithStrings(formatted, std::move(strings))), 0, 3, 5);
}

// The bytes cut to length, with the length byte to match.
TestBytes Cut(TestBytes bytes, size_t length) {
  bytes.resize(length);
  bytes[1] = static_cast<uint8_t>(length);
  return bytes;
}

// A field, or the member of the item-th record of a list field.
const FieldValue* At(const DecodedStructure& s, const char* field, int item = -1,
                     const char* member = nullptr) {
  const Field* f = FindField(s.fields, field);
  if (!f || item < 0) return f ? &f->value : nullptr;
  if (static_cast<size_t>(item) >= f->value.items.size()) return nullptr;
  const Field* m = FindField(f->value.items[item].members, member);
  return m ? &m->value : nullptr;
}

// A 3.5 slot with one peer group: every field of type 9.
const TestBytes kSlot = {
    0x09, 0x1D, 0x20, 0x00,        // type 9, length 29, handle 0x20
    0x01, 0xB6, 0x0D, 0x04,        // designation 1; PCI Express gen 3 x16, width x16, in use
    0x04, 0x06, 0x00,              // long; slot ID 6
    0x04, 0x01,                    // characteristics: 3.3 V; PME
    0x00, 0x00, 0x03, 0xE1,        // 2.6: segment 0, bus 3, device 1C function 1
    0x10, 0x01,                    // 3.2: 16 lanes; one peer group
    0x01, 0x00, 0x04, 0x0A, 0x08,  // peer: segment 1, bus 4, device 1 function 2, 8 lanes
    0x04, 0x0D, 0xE2, 0x04,        // 3.4: gen 4; physical x16; pitch 1250 (12.5 mm)
    0x04,                          // 3.5: low profile
};

TEST(DeviceTypes, SlotFieldsByLength) {
  struct Case {
    size_t length;
    const char* field;
    int item;
    const char* member;
    bool present;
    uint64_t number;
  };
  const Case cases[] = {
      {0x0C, "slot_characteristics_1", -1, nullptr, true, 0x04},
      {0x0C, "slot_characteristics_2", -1, nullptr, false, 0},  // 2.1
      {0x11, "device_number", -1, nullptr, true, 0x1C},         // 2.6
      {0x11, "function_number", -1, nullptr, true, 1},
      {0x11, "data_bus_width", -1, nullptr, false, 0},  // 3.2
      {0x18, "peer_groups", 0, "function_number", true, 2},
      {0x18, "peer_groups", 0, "data_bus_width", true, 8},
      {0x18, "slot_information", -1, nullptr, false, 0},  // 3.4
      {0x1C, "slot_pitch_um", -1, nullptr, true, 12500},
      {0x1C, "slot_physical_width", -1, nullptr, true, 0x0D},
      {0x1C, "slot_height", -1, nullptr, false, 0},  // 3.5
      {0x1D, "slot_height", -1, nullptr, true, 0x04},
      {0x1D, "slot_information", -1, nullptr, true, 4},
  };
  for (const Case& c : cases) {
    const DecodedStructure s = Decode(Cut(kSlot, c.length), {"x"});
    const FieldValue* value = At(s, c.field, c.item, c.member);
    EXPECT_EQ(value != nullptr, c.present) << c.length << " " << c.field;
    if (value && c.present) {
      EXPECT_EQ(value->number, c.number) << c.length << " " << c.field;
    }
  }
}

TEST(DeviceTypes, SlotIdAndPeerGroupsFollowTheirRules) {
  const DecodedStructure pcie = Decode(kSlot, {"x"});
  EXPECT_EQ(At(pcie, "slot_id")->number, 6u);
  EXPECT_STREQ(At(pcie, "slot_type")->name, "PCI Express gen 3 x16");
  EXPECT_STREQ(At(pcie, "slot_height")->name, "Low profile");
  // ID bytes 01 02: a PC Card slot's adapter 1 and socket 2; for a slot of
  // type Other, a raw word.
  TestBytes pcCard = Cut(kSlot, 0x0D);
  pcCard[5] = 0x07;
  pcCard[9] = 0x01;
  pcCard[10] = 0x02;
  const DecodedStructure card = Decode(pcCard, {"x"});
  ASSERT_EQ(At(card, "slot_id")->kind, FieldValue::Kind::kObject);
  EXPECT_EQ(FindField(At(card, "slot_id")->members, "socket_number")->value.number, 2u);
  pcCard[5] = 0x01;
  const DecodedStructure other = Decode(pcCard, {"x"});
  EXPECT_EQ(At(other, "slot_id")->kind, FieldValue::Kind::kHex);
  EXPECT_EQ(At(other, "slot_id")->number, 0x0201u);
  // Three peer groups announced, the bytes of two present (the second made
  // of the 3.4 fields): the fields after the groups are past the end.
  TestBytes claims = kSlot;
  claims[0x12] = 3;
  const DecodedStructure cut = Decode(claims, {"x"});
  EXPECT_EQ(At(cut, "peer_groups")->items.size(), 2u);
  EXPECT_EQ(At(cut, "slot_pitch_um"), nullptr);
  EXPECT_EQ(At(cut, "slot_information"), nullptr);
}

TEST(DeviceTypes, RecordsAndCountedStrings) {
  // Type 10: video (enabled, string 1); code 0B, disabled, string 2 (a
  // wireless LAN only in type 41's table).
  const TestBytes onboard = {0x0A, 0x08, 1, 0, 0x83, 0x01, 0x0B, 0x02};
  const DecodedStructure ten = Decode(onboard, {"VGA", "LAN"});
  ASSERT_EQ(At(ten, "devices")->items.size(), 2u);
  EXPECT_STREQ(At(ten, "devices", 0, "device_type")->name, "Video");
  EXPECT_EQ(At(ten, "devices", 1, "device_enabled")->number, 0u);
  EXPECT_EQ(At(ten, "devices", 1, "device_type")->name, nullptr);
  EXPECT_EQ(At(ten, "devices", 1, "description_string")->text, "LAN");
  // Type 11: three strings counted, two present.
  const DecodedStructure oem = Decode({0x0B, 5, 2, 0, 3}, {"a", "b"});
  ASSERT_EQ(At(oem, "strings")->items.size(), 3u);
  EXPECT_EQ(At(oem, "strings")->items[1].text, "b");
  EXPECT_TRUE(At(oem, "strings")->items[2].badIndex);
  // Type 14: one item (a cache, handle 5), then two bytes of a cut record.
  const TestBytes group = {0x0E, 0x0A, 3, 0, 0x01, 0x07, 0x05, 0x00, 0x11, 0x06};
  const DecodedStructure fourteen = Decode(group, {"g"});
  ASSERT_EQ(At(fourteen, "items")->items.size(), 1u);
  EXPECT_EQ(At(fourteen, "items", 0, "item_handle")->kind, FieldValue::Kind::kHandle);
  EXPECT_EQ(At(fourteen, "items", 0, "item_handle")->number, 5u);
  // Type 41: Ethernet, enabled, instance 2 at 0000:05:01.2; 0B is a wireless
  // LAN here, 7F has no name.
  TestBytes extended = {0x29, 0x0B, 4, 0, 0x01, 0x85, 0x02, 0x00, 0x00, 0x05, 0x0A};
  const DecodedStructure dev = Decode(extended, {"NIC"});
  EXPECT_STREQ(At(dev, "device_type")->name, "Ethernet");
  EXPECT_EQ(At(dev, "device_enabled")->number, 1u);
  EXPECT_EQ(At(dev, "device_number")->number, 1u);
  EXPECT_EQ(At(dev, "function_number")->number, 2u);
  extended[5] = 0x0B;
  const DecodedStructure wireless = Decode(extended, {"NIC"});
  EXPECT_STREQ(At(wireless, "device_type")->name, "Wireless LAN");
  extended[5] = 0x7F;
  const DecodedStructure unnamed = Decode(extended, {"NIC"});
  EXPECT_EQ(At(unnamed, "device_type")->name, nullptr);
}

// A 2.1 event log with two descriptors of two bytes.
const TestBytes kEventLog = {
    0x0F, 0x1B, 0x2E, 0x00,  // type 15, length 27
    0x00, 0x04, 0x00, 0x00,  // log area 1 KiB; header at 0
    0x10, 0x00,              // data at 0x10
    0x03, 0x01,              // memory-mapped; valid, not full
    0x02, 0x00, 0x00, 0x00,  // change token 2
    0x00, 0x00, 0xC5, 0xFF,  // address FFC50000
    0x01, 0x02, 0x02,        // 2.1: type 1 header; two descriptors of 2 bytes
    0x08, 0x04, 0x16, 0x00,  // POST error, POST results bitmap; log area reset, none
};

TEST(DeviceTypes, EventLogAddressFormsAndDescriptors) {
  const DecodedStructure memory = Decode(kEventLog, {});
  EXPECT_EQ(At(memory, "access_method_address")->number, 0xFFC50000u);
  EXPECT_EQ(At(memory, "log_area_full")->number, 0u);
  EXPECT_STREQ(At(memory, "supported_log_type_descriptors", 1, "log_type")->name,
               "Log area reset or cleared");
  EXPECT_STREQ(At(memory, "supported_log_type_descriptors", 0, "variable_data_format_type")->name,
               "POST results bitmap");
  // Indexed I/O: index port 0x0CA, data port 0x0CB; the 2.0 length ends
  // before the header format.
  TestBytes indexed = Cut(kEventLog, 0x14);
  indexed[0x0A] = 0x00;
  indexed[0x10] = 0xCA;
  indexed[0x12] = 0xCB;
  indexed[0x13] = 0x00;
  const DecodedStructure io = Decode(indexed, {});
  const FieldValue* address = At(io, "access_method_address");
  ASSERT_EQ(address->kind, FieldValue::Kind::kObject);
  EXPECT_EQ(FindField(address->members, "data_address")->value.number, 0xCBu);
  EXPECT_EQ(At(io, "log_header_format"), nullptr);
  EXPECT_EQ(At(io, "supported_log_type_descriptors"), nullptr);
  // Descriptors of one byte cannot hold their two fields.
  TestBytes shortDescriptors = kEventLog;
  shortDescriptors[0x16] = 1;
  const DecodedStructure cut = Decode(shortDescriptors, {});
  EXPECT_EQ(At(cut, "supported_log_type_descriptors"), nullptr);
}

}  // namespace
