#include "model.h"

#include <gtest/gtest.h>

#include "test_tables.h"
#include "values.h"

namespace {

// A structure: formatted bytes, then its strings.
TestBytes WithStrings(TestBytes formatted, std::vector<std::string> strings) {
  for (const std::string& s : strings) {
    formatted.insert(formatted.end(), s.begin(), s.end());
    formatted.push_back(0);
  }
  if (strings.empty()) formatted.push_back(0);
  formatted.push_back(0);
  return formatted;
}

const FieldValue* Get(const DecodedStructure& s, const char* name) {
  const Field* field = FindField(s.fields, name);
  return field ? &field->value : nullptr;
}

// Type 1 of 2.6 and later: the UUID's first three groups little-endian.
const TestBytes kSystem27 = {
    0x01, 0x1B, 0x01, 0x00,  // type 1, length 27, handle 1
    0x01, 0x02, 0x00, 0x09,  // manufacturer, product, version (none), serial (bad index)
    0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66,  // UUID
    0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF,
    0x06,        // wake-up: power switch
    0x00, 0x00,  // SKU, family
};

TEST(Model, FieldsFollowTheirTable) {
  const TestBytes bytes = WithStrings(kSystem27, {"Maker", "Box"});
  const DecodedStructure s = DecodeStructure(View(bytes), 0, 2, 7);
  ASSERT_TRUE(s.decoded);
  EXPECT_STREQ(s.name, "System Information");
  EXPECT_EQ(Get(s, "manufacturer")->text, "Maker");
  EXPECT_EQ(Get(s, "version")->number, 0u);
  EXPECT_TRUE(Get(s, "serial_number")->badIndex);
  EXPECT_EQ(Get(s, "uuid")->text, "00112233-4455-6677-8899-aabbccddeeff");
  EXPECT_STREQ(Get(s, "wake_up_type")->name, "Power switch");
  EXPECT_EQ(Get(s, "family")->kind, FieldValue::Kind::kString);
  // Before 2.6 the bytes are read in order.
  EXPECT_EQ(DecodeStructure(View(bytes), 0, 2, 5).fields[4].value.text,
            "33221100-5544-7766-8899-aabbccddeeff");
}

TEST(Model, LengthGatesEveryField) {
  // The same structure cut to the 2.0 length (8): no UUID, no wake-up type.
  TestBytes cut(kSystem27.begin(), kSystem27.begin() + 8);
  cut[1] = 8;
  const DecodedStructure s = DecodeStructure(View(WithStrings(cut, {"Maker"})), 0, 2, 7);
  EXPECT_EQ(s.fields.size(), 4u);
  EXPECT_EQ(Get(s, "uuid"), nullptr);
  EXPECT_EQ(Get(s, "wake_up_type"), nullptr);
}

TEST(Model, CodesKeepTheirRawNumberAndUnknownOnesAreMarked) {
  // Chassis: type 0x7F with the lock bit; states 3 (safe) and 0x42 (none).
  const TestBytes chassis = {0x03, 0x0D, 0x02, 0x00, 0x00, 0xFF, 0x00,
                             0x00, 0x00, 0x03, 0x42, 0x03, 0x03};
  const DecodedStructure s = DecodeStructure(View(WithStrings(chassis, {})), 0, 2, 7);
  EXPECT_EQ(Get(s, "type")->number, 0x7Fu);
  EXPECT_EQ(Get(s, "type")->name, nullptr);
  EXPECT_EQ(Get(s, "chassis_lock_present")->number, 1u);
  EXPECT_STREQ(Get(s, "boot_up_state")->name, "Safe");
  EXPECT_EQ(Get(s, "power_supply_state")->number, 0x42u);
  EXPECT_EQ(Get(s, "power_supply_state")->name, nullptr);
}

TEST(Model, NamedDecoders) {
  struct Case {
    const char* what;
    TestBytes formatted;
    const char* field;
    uint64_t number;
  };
  const Case cases[] = {
      // ROM size code 0F: 16 x 64 KiB; FF with the 3.1 word 0x4002: 2 GiB.
      {"rom",
       {0x00, 0x12, 0, 0, 1, 2, 0x00, 0xF0, 3, 0x0F, 0, 0, 0, 0, 0, 0, 0, 0},
       "bios_rom_size_bytes",
       1u << 20},
      {"extended rom",
       {0x00, 0x1A, 0, 0, 1, 2, 0, 0, 3, 0xFF, 0, 0,    0,
        0,    0,    0, 0, 0, 0, 0, 0, 0, 0,    0, 0x02, 0x40},
       "bios_rom_size_bytes",
       2ull << 30},
      // Segment F000: 64 KiB below 1 MiB.
      {"runtime",
       {0x00, 0x12, 0, 0, 1, 2, 0x00, 0xF0, 3, 0x0F, 0, 0, 0, 0, 0, 0, 0, 0},
       "bios_runtime_size_bytes",
       64u << 10},
      // Voltage byte 8C: 1.2 V now.
      {"voltage",
       {0x04, 0x12, 0, 0, 0, 3, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x8C},
       "voltage_mv",
       1200},
      // Two contained element records of 3 bytes, then the SKU string 1.
      {"chassis sku",
       {0x03, 0x1C, 0, 0, 0, 3, 0, 0,    0, 3, 3,    3, 3, 0,
        0,    0,    0, 0, 0, 2, 3, 0x91, 1, 2, 0x0A, 0, 1, 1},
       "sku_number",
       1},
      // 3.9: rack type 01h and height 2 after the SKU.
      {"chassis rack type",
       {0x03, 0x1E, 0, 0, 0, 3, 0,    0, 0, 3,    3, 3, 3, 0, 0,
        0,    0,    0, 0, 2, 3, 0x91, 1, 2, 0x0A, 0, 1, 1, 1, 2},
       "rack_type",
       1},
  };
  for (const Case& c : cases) {
    const DecodedStructure s = DecodeStructure(View(WithStrings(c.formatted, {"x"})), 0, 3, 1);
    const FieldValue* value = Get(s, c.field);
    ASSERT_NE(value, nullptr) << c.what;
    EXPECT_EQ(value->number, c.number) << c.what;
  }
  const DecodedStructure rack =
      DecodeStructure(View(WithStrings(cases[5].formatted, {"x"})), 0, 3, 9);
  EXPECT_EQ(Get(rack, "rack_type")->kind, FieldValue::Kind::kEnum);
  EXPECT_STREQ(Get(rack, "rack_type")->name, "OU (Open Rack unit)");
  EXPECT_EQ(Get(rack, "rack_height")->number, 2u);
}

TEST(Model, ContainedElementsAndHandleListsStayInTheStructure) {
  // Two elements announced, one present; the count byte claims 5 handles.
  const TestBytes chassis = {0x03, 0x18, 0, 0, 0, 3, 0, 0, 0, 3,    3, 3,
                             3,    0,    0, 0, 0, 0, 0, 2, 3, 0x91, 1, 2};
  const DecodedStructure c = DecodeStructure(View(WithStrings(chassis, {})), 0, 2, 7);
  ASSERT_EQ(Get(c, "contained_elements")->items.size(), 1u);
  EXPECT_STREQ(Get(c, "contained_elements")->items[0].members[0].value.name, "Memory Device");
  const TestBytes board = {0x02, 0x11, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 3, 0, 0x0A, 5, 0x20, 0};
  const DecodedStructure b = DecodeStructure(View(WithStrings(board, {})), 0, 2, 7);
  ASSERT_EQ(Get(b, "contained_object_handles")->items.size(), 1u);
  EXPECT_EQ(Get(b, "contained_object_handles")->items[0].number, 0x20u);
  EXPECT_STREQ(Get(b, "feature_flags")->bits[0].name, "Hosting board (motherboard)");
}

TEST(Model, OtherTypesAreGenericAndEveryValueSectionExists) {
  const DecodedStructure oem =
      DecodeStructure(View(WithStrings({0x85, 5, 9, 0, 0x42}, {"s"})), 0, 3, 0);
  EXPECT_FALSE(oem.decoded);
  EXPECT_EQ(oem.formatted.size(), 5u);
  EXPECT_EQ(oem.strings, std::vector<std::string>{"s"});
  for (unsigned type = 0; type < 256; ++type) {
    const TypeTable* table = FindTypeTable(static_cast<uint8_t>(type));
    for (size_t i = 0; table && i < table->count; ++i) {
      if (!table->fields[i].values) continue;
      EXPECT_GT(FindValueSection(table->fields[i].values).count, 0u) << table->fields[i].name;
    }
  }
}

// The JSON output writes the program's own names unescaped: every field
// name is snake_case and every value name printable ASCII without quote or
// backslash, whatever the bytes (pseudo-random structures of each type,
// every length, reaching the named decoders' branches).
bool PlainName(const char* name, bool snake) {
  if (!name || !*name) return false;
  for (const char* p = name; *p; ++p) {
    const char c = *p;
    if (snake ? !((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')
              : (c < 0x20 || c >= 0x7F || c == '"' || c == '\\'))
      return false;
  }
  return true;
}

void ExpectPlainNames(const FieldValue& v, const std::string& where) {
  if (v.name) {
    EXPECT_TRUE(PlainName(v.name, false)) << where << ": " << v.name;
  }
  for (const BitName& bit : v.bits) {
    if (!bit.name) continue;
    EXPECT_TRUE(PlainName(bit.name, false)) << where << ": " << bit.name;
  }
  for (const FieldValue& item : v.items) ExpectPlainNames(item, where);
  for (const Field& member : v.members) {
    EXPECT_TRUE(PlainName(member.name, true)) << where << ": " << member.name;
    ExpectPlainNames(member.value, where + "." + member.name);
  }
}

TEST(Model, NamesNeedNoEscaping) {
  uint32_t seed = 1;
  for (unsigned type = 0; type < 256; ++type) {
    if (!FindTypeTable(static_cast<uint8_t>(type))) continue;
    for (unsigned length = 4; length < 256; ++length) {
      TestBytes formatted(length);
      for (uint8_t& b : formatted)
        b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
      formatted[0] = static_cast<uint8_t>(type);
      formatted[1] = static_cast<uint8_t>(length);
      const TestBytes bytes = WithStrings(formatted, {"a", "b", "c"});
      const DecodedStructure s = DecodeStructure(View(bytes), 0, 3, 9);
      ASSERT_TRUE(s.decoded);
      EXPECT_TRUE(PlainName(s.name, false)) << type;
      for (const Field& field : s.fields) {
        EXPECT_TRUE(PlainName(field.name, true)) << type << ": " << field.name;
        ExpectPlainNames(field.value, std::to_string(type) + "." + field.name);
      }
    }
  }
}

// What a structure decoded into the last one's room must equal: a fresh
// decode of the same bytes (nothing of the last one left over).
std::string Describe(const DecodedStructure& s) {
  std::string out = std::to_string(s.type) + "/" + std::to_string(s.length) +
                    (s.decoded ? " decoded" : "") + " bytes " +
                    std::string(s.formatted.begin(), s.formatted.end()) + " strings";
  for (const std::string& text : s.strings) out += "|" + text;
  for (const Field& f : s.fields)
    out += std::string(" ") + f.name + "=" + std::to_string(f.value.number) + ":" + f.value.text +
           ":" + std::to_string(f.value.bits.size() + f.value.items.size());
  return out;
}

TEST(Model, DecodingIntoTheLastStructureLeavesNothingOfIt) {
  const TestBytes oem = {0x80, 0x06, 0x05, 0x00, 0xAB, 0xCD};
  TestBytes cut(kSystem27.begin(), kSystem27.begin() + 8);
  cut[1] = 8;
  const TestBytes board = {0x02, 0x11, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 3, 0, 0x0A, 5, 0x20, 0};
  // More strings and fields, then none, then fewer and shorter ones.
  const TestBytes sequence[] = {
      WithStrings(kSystem27, {"A maker's name longer than a short string", "Box"}),
      WithStrings(oem, {}), WithStrings(board, {}), WithStrings(cut, {"M"}),
      WithStrings(oem, {"x", "y", "z"})};
  DecodedStructure reused;
  for (const TestBytes& bytes : sequence) {
    DecodeStructureInto(View(bytes), 0, 2, 7, &reused);
    EXPECT_EQ(Describe(reused), Describe(DecodeStructure(View(bytes), 0, 2, 7)));
  }
}

}  // namespace
