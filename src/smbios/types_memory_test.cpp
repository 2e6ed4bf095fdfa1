// The memory and cache structures (types 5, 6, 7, 16 to 20, 33): one case
// per length gate, extended form and "unknown" value, as annotated bytes.
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "model.h"
#include "test_tables.h"

namespace {

// A structure of type and length, zero bytes but for the given runs, with
// the string set {"s"}.
TestBytes Structure(uint8_t type, uint8_t length,
                    std::initializer_list<std::pair<size_t, TestBytes>> runs) {
  TestBytes bytes(length, 0);
  bytes[0] = type;
  bytes[1] = length;
  for (const auto& run : runs)
    for (size_t i = 0; i < run.second.size(); ++i) bytes.at(run.first + i) = run.second[i];
  bytes.insert(bytes.end(), {'s', 0, 0});
  return bytes;
}

const FieldValue* Get(const DecodedStructure& s, const char* name) {
  const Field* field = FindField(s.fields, name);
  return field ? &field->value : nullptr;
}

struct Case {
  const char* what;
  TestBytes bytes;
  const char* field;
  uint64_t number;   // the field's number (raw code for enums)
  const char* name;  // an enum's name; null: none expected (or not an enum)
};

constexpr uint64_t kAbsent = ~0ull - 1;  // number of a case whose field must be absent

TEST(MemoryTypes, LengthGatesExtendedFormsAndStates) {
  const Case cases[] = {
      // Type 5: two handles (0E count, 0F..12), then the 2.1 enabled
      // capabilities: bit 3, single-bit correcting.
      {"enabled ecc", Structure(5, 0x14, {{0x0E, {2, 1, 0, 2, 0, 0x08}}}),
       "enabled_error_correcting_capabilities", 0x08, nullptr},
      {"enabled ecc, 2.0 length", Structure(5, 0x13, {{0x0E, {2, 1, 0, 2, 0}}}),
       "enabled_error_correcting_capabilities", kAbsent, nullptr},
      {"module size 2^4 MiB", Structure(5, 0x0F, {{0x08, {4}}}), "maximum_memory_module_size_bytes",
       16u << 20, nullptr},
      // Type 6: sizes 2^n MiB, or a state; bit 7 the second bank.
      {"installed 2^10 MiB", Structure(6, 0x0C, {{0x09, {0x8A}}}), "installed_size_bytes",
       1ull << 30, nullptr},
      {"not installed", Structure(6, 0x0C, {{0x0A, {0x7F}}}), "enabled_size_bytes", 0x7F,
       "Not installed"},
      // Type 7: configuration 0x0182 (level 3, enabled, write back).
      {"cache level", Structure(7, 0x0F, {{0x05, {0x82, 0x01}}}), "cache_level", 3, nullptr},
      {"cache mode", Structure(7, 0x0F, {{0x05, {0x82, 0x01}}}), "operational_mode", 1,
       "Write back"},
      {"cache size, 64 KiB units", Structure(7, 0x0F, {{0x07, {0x10, 0x80}}}),
       "maximum_cache_size_bytes", 1u << 20, nullptr},
      {"cache size, 3.1 double word",
       Structure(7, 0x1B, {{0x09, {0xFF, 0xFF}}, {0x17, {0x00, 0x08, 0x00, 0x80}}}),
       "installed_size_bytes", 128u << 20, nullptr},
      {"cache speed, 2.0 length", Structure(7, 0x0F, {}), "cache_speed_ns", kAbsent, nullptr},
      {"cache speed 0: unknown", Structure(7, 0x13, {}), "cache_speed_ns", 0, "Unknown"},
      {"cache speed 15 ns", Structure(7, 0x13, {{0x0F, {15}}}), "cache_speed_ns", 15, nullptr},
      {"cache crc is no cache code", Structure(7, 0x13, {{0x10, {0x07}}}), "error_correction_type",
       7, nullptr},
      // Type 16: KiB, or the 2.7 bytes when the double word is 80000000h.
      {"capacity KiB", Structure(16, 0x0F, {{0x07, {0, 0, 0xC0, 0}}}), "maximum_capacity_bytes",
       12ull << 30, nullptr},
      {"capacity extended",
       Structure(16, 0x17, {{0x07, {0, 0, 0, 0x80}}, {0x0F, {0, 0, 0, 0, 0, 0x10}}}),
       "maximum_capacity_bytes", 16ull << 40, nullptr},
      {"capacity extended missing", Structure(16, 0x0F, {{0x07, {0, 0, 0, 0x80}}}),
       "maximum_capacity_bytes", kAbsent, nullptr},
      // Type 17 size: bit 15 KiB, else MiB; 7FFF the 2.7 extended MiB.
      {"device size KiB", Structure(17, 0x15, {{0x0C, {0x00, 0x82}}}), "size_bytes", 512u << 10,
       nullptr},
      {"device size MiB", Structure(17, 0x15, {{0x0C, {0x00, 0x04}}}), "size_bytes", 1u << 30,
       nullptr},
      {"device size extended", Structure(17, 0x22, {{0x0C, {0xFF, 0x7F}}, {0x1C, {0, 0, 1, 0}}}),
       "size_bytes", 64ull << 30, nullptr},
      {"device size empty", Structure(17, 0x15, {}), "size_bytes", 0, "No device installed"},
      {"device size unknown", Structure(17, 0x15, {{0x0C, {0xFF, 0xFF}}}), "size_bytes", 0xFFFF,
       "Unknown"},
      // Speeds: FFFF sends to the 3.3 double words (54h, 58h).
      {"speed", Structure(17, 0x1B, {{0x15, {0x40, 0x1F}}}), "speed_mts", 8000, nullptr},
      {"speed extended", Structure(17, 0x5C, {{0x20, {0xFF, 0xFF}}, {0x58, {0x60, 0x22, 0, 0}}}),
       "configured_memory_speed_mts", 8800, nullptr},
      {"speed extended missing", Structure(17, 0x54, {{0x15, {0xFF, 0xFF}}}), "speed_mts", kAbsent,
       nullptr},
      {"speed, 2.1 length", Structure(17, 0x15, {}), "speed_mts", kAbsent, nullptr},
      {"speed 0: unknown", Structure(17, 0x1B, {}), "speed_mts", 0, "Unknown"},
      {"error handle FFFEh", Structure(17, 0x15, {{0x06, {0xFE, 0xFF}}}),
       "memory_error_information_handle", 0xFFFE, "Not provided"},
      {"rank", Structure(17, 0x1C, {{0x1B, {0xF2}}}), "rank", 2, nullptr},
      {"rank 0: unknown", Structure(17, 0x1C, {{0x1B, {0xF0}}}), "rank", 0, "Unknown"},
      // IDs (3.2) of 0: unknown; a product ID otherwise stays its number.
      {"maker id 0", Structure(17, 0x34, {}), "module_manufacturer_id", 0, "Unknown"},
      {"product id 0", Structure(17, 0x34, {}), "memory_subsystem_controller_product_id", 0,
       "Unknown"},
      {"product id", Structure(17, 0x34, {{0x2E, {0x34, 0x12}}}), "module_product_id", 0x1234,
       nullptr},
      {"memory type MRDIMM", Structure(17, 0x15, {{0x12, {0x25}}}), "memory_type", 0x25, "MRDIMM"},
      {"form factor CSODIMM", Structure(17, 0x15, {{0x0E, {0x13}}}), "form_factor", 0x13,
       "CSODIMM"},
      {"non-volatile size", Structure(17, 0x54, {{0x34, {0, 0, 0, 0x40}}}),
       "non_volatile_size_bytes", 1u << 30, nullptr},
      {"volatile size unknown", Structure(17, 0x54, {{0x3C, TestBytes(8, 0xFF)}}),
       "volatile_size_bytes", ~0ull, "Unknown"},
      {"rcd revision, 3.7", Structure(17, 0x64, {{0x62, {0x21, 0}}}), "rcd_revision_number", 0x21,
       nullptr},
      {"rcd revision, 3.3 length", Structure(17, 0x5C, {}), "rcd_revision_number", kAbsent,
       nullptr},
      // Types 18 and 33: bit 31 (63) alone is unknown, a syndrome of 0 too.
      {"syndrome 0", Structure(18, 0x17, {}), "vendor_syndrome", 0, "Unknown"},
      {"syndrome 64-bit", Structure(33, 0x1F, {{0x07, {1, 0, 0, 0}}}), "vendor_syndrome", 1,
       nullptr},
      {"error address unknown", Structure(18, 0x17, {{0x0B, {0, 0, 0, 0x80}}}),
       "memory_array_error_address", 0x80000000u, "Unknown"},
      {"error resolution unknown", Structure(18, 0x17, {{0x13, {0, 0, 0, 0x80}}}),
       "error_resolution_bytes", 0x80000000u, "Unknown"},
      {"error address 64-bit", Structure(33, 0x1F, {{0x13, {0, 0x10, 0, 0, 0, 0, 0, 0x80}}}),
       "device_error_address", 0x8000000000001000ull, nullptr},
      {"error address 64-bit unknown", Structure(33, 0x1F, {{0x0B, {0, 0, 0, 0, 0, 0, 0, 0x80}}}),
       "memory_array_error_address", 1ull << 63, "Unknown"},
      // Types 19 and 20: the last KiB's address becomes the last byte's.
      {"range end", Structure(19, 0x0F, {{0x08, {0xFF, 0xFF, 0x7F, 0x01}}}), "ending_address",
       0x5FFFFFFFFull, nullptr},
      {"range size", Structure(19, 0x0F, {{0x08, {0xFF, 0xFF, 0x7F, 0x01}}}), "range_size_bytes",
       24ull << 30, nullptr},
      {"range extended",
       Structure(19, 0x1F,
                 {{0x04, TestBytes(8, 0xFF)},
                  {0x0F, {0, 0, 0, 0, 0, 1}},
                  {0x17, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1}}}),
       "range_size_bytes", 1ull << 40, nullptr},
      {"device range extended",
       Structure(20, 0x23,
                 {{0x04, TestBytes(8, 0xFF)},
                  {0x13, {0, 0, 0, 0, 0, 1}},
                  {0x1B, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 3}}}),
       "starting_address", 1ull << 40, nullptr},
      {"device range extended missing", Structure(20, 0x13, {{0x04, TestBytes(8, 0xFF)}}),
       "starting_address", kAbsent, nullptr},
  };
  for (const Case& c : cases) {
    const DecodedStructure s = DecodeStructure(View(c.bytes), 0, 3, 9);
    ASSERT_TRUE(s.decoded) << c.what;
    const FieldValue* value = Get(s, c.field);
    if (c.number == kAbsent) {
      EXPECT_EQ(value, nullptr) << c.what;
      continue;
    }
    ASSERT_NE(value, nullptr) << c.what;
    EXPECT_EQ(value->number, c.number) << c.what;
    if (value->kind == FieldValue::Kind::kEnum || value->kind == FieldValue::Kind::kHandle) {
      if (c.name) EXPECT_STREQ(value->name, c.name) << c.what;
      else EXPECT_EQ(value->name, nullptr) << c.what;  // out of row
    } else {
      EXPECT_EQ(c.name, nullptr) << c.what << ": not an enumeration";
    }
  }
}

TEST(MemoryTypes, ListsAndManufacturerIds) {
  // Type 6: RAS 2 alone (2Fh); the F nibble connects nothing.
  const DecodedStructure module =
      DecodeStructure(View(Structure(6, 0x0C, {{0x05, {0x2F}}})), 0, 2, 0);
  ASSERT_EQ(Get(module, "bank_connections")->items.size(), 1u);
  EXPECT_EQ(Get(module, "bank_connections")->items[0].number, 2u);
  // Type 6 error status 05h: bit 2 sends to the event log, so bit 0 is
  // reserved there.
  const DecodedStructure logged =
      DecodeStructure(View(Structure(6, 0x0C, {{0x0B, {0x05}}})), 0, 2, 0);
  ASSERT_EQ(Get(logged, "error_status")->bits.size(), 2u);
  EXPECT_EQ(Get(logged, "error_status")->bits[0].name, nullptr);
  EXPECT_STREQ(Get(logged, "error_status")->bits[1].name, "Error status held in the event log");
  // Type 17: module maker in bank 6 (five continuation codes, parity bit
  // set), ID 9Bh.
  const DecodedStructure device =
      DecodeStructure(View(Structure(17, 0x34, {{0x2C, {0x85, 0x9B}}})), 0, 3, 2);
  const FieldValue* maker = Get(device, "module_manufacturer_id");
  ASSERT_EQ(maker->members.size(), 2u);
  EXPECT_EQ(maker->members[0].value.number, 6u);
  EXPECT_EQ(maker->members[1].value.number, 0x9Bu);
  // Type 5: the handle list stops at the structure's end.
  const DecodedStructure controller =
      DecodeStructure(View(Structure(5, 0x11, {{0x0E, {4, 7, 0}}})), 0, 2, 0);
  ASSERT_EQ(Get(controller, "memory_module_configuration_handles")->items.size(), 1u);
  EXPECT_EQ(Get(controller, "enabled_error_correcting_capabilities"), nullptr);
}

}  // namespace
