// Rules of the power, probe and management types (21 to 46), as annotated
// bytes: one case per length gate, per "unknown" marker and vendor range,
// and per named decoder.
#include <gtest/gtest.h>

#include <string>

#include "model.h"
#include "model_fields_management.h"
#include "test_tables.h"
#include "values.h"

namespace {

// A value as one short text: a number, "name" of a code ("?" when out of
// range), the text, or the count of items.
std::string Show(const FieldValue& v) {
  switch (v.kind) {
    case FieldValue::Kind::kEnum: return v.name ? v.name : "?";
    case FieldValue::Kind::kText:
    case FieldValue::Kind::kString: return v.text;
    case FieldValue::Kind::kList: return std::to_string(v.items.size()) + " items";
    case FieldValue::Kind::kSigned: return std::to_string(static_cast<int64_t>(v.number));
    default: return std::to_string(v.number);
  }
}

const FieldValue* Find(const std::vector<Field>& fields, const char* name) {
  const Field* field = FindField(fields, name);
  return field ? &field->value : nullptr;
}

// JSON gives enumerations and bit sets the keys "value" and "bits": no field
// or member may take them.
void ExpectFreeKeys(const std::vector<Field>& fields, const char* what) {
  for (const Field& field : fields) {
    EXPECT_STRNE(field.name, "value") << what;
    EXPECT_STRNE(field.name, "bits") << what;
    ExpectFreeKeys(field.value.members, what);
    for (const FieldValue& item : field.value.items) ExpectFreeKeys(item.members, what);
  }
}

struct Case {
  const char* what;
  TestBytes formatted;  // header included; length byte as the table has it
  const char* field;
  const char* shown;  // null: the field must be absent
};

// Battery of 2.1 (16 bytes) and 2.2 (26 bytes): capacity 4800 mWh, x10
// in 2.2; SBDS date 2015-03-12 = (35 << 9) | (3 << 5) | 12 = 0x466C.
const TestBytes kBattery21 = {22, 0x10, 0, 0, 1, 2, 0, 3, 4, 0x06, 0xC0, 0x12, 0x30, 0x2A, 0, 5};
const TestBytes kBattery22 = {22,   0x1A, 0, 0,    1,    2,    0,    3, 4,  0x06, 0xC0, 0x12, 0x30,
                              0x2A, 0,    5, 0x34, 0x12, 0x6C, 0x46, 0, 10, 0,    0,    0,    0};

const Case kCases[] = {
    {"battery 2.1: capacity as it is", kBattery21, "design_capacity_mwh", "4800"},
    {"battery 2.1: no multiplier", kBattery21, "design_capacity_multiplier", nullptr},
    {"battery 2.2: capacity times 10", kBattery22, "design_capacity_mwh", "48000"},
    {"battery 2.2: SBDS date", kBattery22, "sbds_manufacture_date", "2015-03-12"},
    // Reset capabilities 2Dh: enabled, boot option 2, on limit 1, watchdog.
    {"reset option",
     {23, 0x0D, 0, 0, 0x2D, 0, 0, 0, 0, 0, 0, 0, 0},
     "boot_option",
     "System utilities"},
    {"reset option on limit",
     {23, 0x0D, 0, 0, 0x2D, 0, 0, 0, 0, 0, 0, 0, 0},
     "boot_option_on_limit",
     "Operating system"},
    {"reset count unknown",
     {23, 0x0D, 0, 0, 0x2B, 0xFF, 0xFF, 5, 0, 0, 0, 0, 0},
     "reset_count",
     "Unknown"},
    {"reset limit", {23, 0x0D, 0, 0, 0x2B, 0xFF, 0xFF, 5, 0, 0, 0, 0, 0}, "reset_limit", "5"},
    {"reset watchdog",
     {23, 0x0D, 0, 0, 0x2B, 0, 0, 0, 0, 0, 0, 0, 0},
     "watchdog_timer_present",
     "1"},
    // Security 6Ch = 01 10 11 00: power-on enabled, keyboard not
    // implemented, administrator unknown, front panel disabled.
    {"security", {24, 5, 0, 0, 0x6C}, "keyboard_password_status", "Not implemented"},
    {"power-on password", {24, 5, 0, 0, 0x6C}, "power_on_password_status", "Enabled"},
    {"administrator password", {24, 5, 0, 0, 0x6C}, "administrator_password_status", "Unknown"},
    {"power-on BCD",
     {25, 9, 0, 0, 0x12, 0x31, 0x23, 0x59, 0x58},
     "next_scheduled_power_on_day_of_month",
     "31"},
    {"power-on not BCD",
     {25, 9, 0, 0, 0xFF, 0x31, 0x23, 0x59, 0x58},
     "next_scheduled_power_on_month",
     "255"},
    // Voltage probe: maximum unknown (8000h), minimum 1100 mV; 20 bytes of
    // 2.2 have no nominal value, 22 bytes do.
    {"probe unknown",
     {26, 0x14, 0, 0, 1, 0x67, 0, 0x80, 0x4C, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     "maximum_value_mv",
     "Unknown"},
    {"probe status",
     {26, 0x14, 0, 0, 1, 0x67, 0, 0x80, 0x4C, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     "status",
     "OK"},
    {"probe without nominal",
     {26, 0x14, 0, 0, 1, 0x67, 0, 0x80, 0x4C, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     "nominal_value_mv",
     nullptr},
    {"probe nominal",
     {26, 0x16, 0, 0, 1, 0x67, 0, 0x80, 0x4C, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xB0, 0x04},
     "nominal_value_mv",
     "1200"},
    // FF9Ch: -10.0 degrees C; the tolerance is no reading and stays unsigned.
    {"temperature below zero",
     {28, 0x14, 0, 0, 1, 0x6F, 0x9C, 0xFF, 0, 0, 0, 0, 0x9C, 0xFF, 0, 0, 0, 0, 0, 0},
     "maximum_value_tenths_celsius",
     "-100"},
    {"tolerance unsigned",
     {28, 0x14, 0, 0, 1, 0x6F, 0x9C, 0xFF, 0, 0, 0, 0, 0x9C, 0xFF, 0, 0, 0, 0, 0, 0},
     "tolerance_tenths_celsius",
     "65436"},
    {"temperature location",
     {28, 0x14, 0, 0, 1, 0x6F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     "location",
     "Drive back plane"},
    // Cooling device: 12 bytes (2.2) end before the nominal speed; 15 (2.7)
    // add it and the description.
    {"cooling 2.2",
     {27, 0x0C, 0, 0, 0xFF, 0xFF, 0x63, 1, 0, 0, 0, 0},
     "nominal_speed_rpm",
     nullptr},
    {"cooling type", {27, 0x0C, 0, 0, 0xFF, 0xFF, 0x63, 1, 0, 0, 0, 0}, "device_type", "Fan"},
    {"cooling 2.7",
     {27, 0x0F, 0, 0, 0xFF, 0xFF, 0x63, 1, 0, 0, 0, 0, 0xB8, 0x0B, 1},
     "nominal_speed_rpm",
     "3000"},
    {"cooling description",
     {27, 0x0F, 0, 0, 0xFF, 0xFF, 0x63, 1, 0, 0, 0, 0, 0xB8, 0x0B, 1},
     "description",
     "s1"},
    // Boot status: a vendor code, a reserved one, the bytes after it.
    {"boot vendor",
     {32, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0x85},
     "boot_status",
     "Vendor or OEM-specific"},
    {"boot reserved", {32, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0x20}, "boot_status", "?"},
    {"boot data",
     {32, 0x0D, 0, 0, 0, 0, 0, 0, 0, 0, 0xC1, 0xAB, 0x01},
     "boot_status_additional_data",
     "AB 01"},
    {"thresholds",
     {36, 0x10, 0, 0, 0, 0x80, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     "upper_threshold_non_critical",
     "16"},
    // Memory channel: two devices announced, one present.
    {"channel", {37, 0x0A, 0, 0, 3, 10, 2, 5, 0x20, 0}, "memory_devices", "1 items"},
    // IPMI KCS at I/O CA2h: bit 0 marks I/O space; the modifier's bit 4
    // is the address's own bit 0.
    {"ipmi revision",
     {38, 0x12, 0, 0, 1, 0x20, 0x20, 0xFF, 0xA3, 0x0C, 0, 0, 0, 0, 0, 0, 0, 0},
     "ipmi_revision",
     "2.0"},
    {"ipmi address",
     {38, 0x12, 0, 0, 1, 0x20, 0x20, 0xFF, 0xA3, 0x0C, 0, 0, 0, 0, 0, 0, 0, 0},
     "base_address",
     "3234"},
    {"ipmi odd address",
     {38, 0x12, 0, 0, 1, 0x20, 0x20, 0xFF, 0xA3, 0x0C, 0, 0, 0, 0, 0, 0, 0x10, 0},
     "base_address",
     "3235"},
    {"ipmi 16 bytes",
     {38, 0x10, 0, 0, 1, 0x20, 0x20, 0xFF, 0xA3, 0x0C, 0, 0, 0, 0, 0, 0},
     "interrupt_number",
     nullptr},
    // Power supply characteristics 11A2h: switching, OK, auto-switch,
    // present; capacity unknown.
    {"psu type",
     {39, 0x16, 0,    0,    1,    0,    0,    0,    0,    0,    0,
      0,  0,    0x80, 0xA2, 0x11, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
     "power_supply_type",
     "Switching"},
    {"psu range",
     {39, 0x16, 0,    0,    1,    0,    0,    0,    0,    0,    0,
      0,  0,    0x80, 0xA2, 0x11, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
     "input_voltage_range_switching",
     "Auto-switch"},
    {"psu capacity",
     {39, 0x16, 0,    0,    1,    0,    0,    0,    0,    0,    0,
      0,  0,    0x80, 0xA2, 0x11, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
     "max_power_capacity_watts",
     "Unknown"},
    // Additional information: an entry of 6 bytes, then one too long.
    {"entries",
     {40, 0x10, 0, 0, 2, 6, 0x10, 0, 0x05, 1, 0x7F, 9, 0x10, 0, 0x05, 1},
     "additional_information_entries",
     "1 items"},
    // Host interface: network, 2 data bytes, one Redfish record of 1 byte.
    {"host data",
     {42, 0x0D, 0, 0, 0x40, 2, 0x02, 0x03, 1, 0x04, 1, 0xEE, 0},
     "interface_type_specific_data",
     "02 03"},
    {"host records",
     {42, 0x0D, 0, 0, 0x40, 2, 0x02, 0x03, 1, 0x04, 1, 0xEE, 0},
     "protocol_records",
     "1 items"},
    // TPM 2.0, firmware words 00070002h and 0: revision 7.2.
    {"tpm vendor",
     {43, 0x1F, 0, 0,    'I', 'F', 'X', 0, 2, 0, 0x02, 0, 0x07, 0, 0, 0,
      0,  0,    1, 0x08, 0,   0,   0,   0, 0, 0, 0,    0, 0,    0, 0},
     "vendor_id",
     "IFX"},
    {"tpm firmware",
     {43, 0x1F, 0, 0,    'I', 'F', 'X', 0, 2, 0, 0x02, 0, 0x07, 0, 0, 0,
      0,  0,    1, 0x08, 0,   0,   0,   0, 0, 0, 0,    0, 0,    0, 0},
     "firmware_revision",
     "7.2"},
    // Firmware inventory: an OEM version format, size unknown, two handles.
    {"fw format",
     {45,   0x1C, 0,    0,    1,    0,    0x90, 0, 0x01, 0, 0,    0, 0xFF, 0xFF,
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1,    0, 4,    2, 0x10, 0, 0x11, 0},
     "version_format",
     "BIOS vendor or OEM-specific"},
    {"fw size",
     {45,   0x1C, 0,    0,    1,    0,    0x90, 0, 0x01, 0, 0,    0, 0xFF, 0xFF,
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1,    0, 4,    2, 0x10, 0, 0x11, 0},
     "image_size_bytes",
     "Unknown"},
    {"fw handles",
     {45,   0x1C, 0,    0,    1,    0,    0x90, 0, 0x01, 0, 0,    0, 0xFF, 0xFF,
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1,    0, 4,    2, 0x10, 0, 0x11, 0},
     "associated_component_handles",
     "2 items"},
    {"string property OEM",
     {46, 9, 0, 0, 0x01, 0xC0, 1, 0x10, 0},
     "string_property_id",
     "OEM-specific"},
    {"string property reserved", {46, 9, 0, 0, 0x02, 0x00, 1, 0x10, 0}, "string_property_id", "?"},
};

TEST(ManagementTypes, FieldsFollowTheirRules) {
  for (const Case& c : kCases) {
    const TestBytes bytes = [&] {
      TestBytes b = c.formatted;
      for (const char* s : {"s1", "s2", "s3", "s4", "s5"}) b.insert(b.end(), s, s + 3);
      b.push_back(0);
      return b;
    }();
    const DecodedStructure s = DecodeStructure(View(bytes), 0, 3, 9);
    ASSERT_TRUE(s.decoded) << c.what;
    ExpectFreeKeys(s.fields, c.what);
    const FieldValue* value = Find(s.fields, c.field);
    if (!c.shown) {
      EXPECT_EQ(value, nullptr) << c.what;
      continue;
    }
    ASSERT_NE(value, nullptr) << c.what;
    EXPECT_EQ(Show(*value), c.shown) << c.what;
  }
}

TEST(ManagementTypes, RiscVBlockByItsTable) {
  // Type 44 of a RV64 hart: block of 110 bytes; hart 5, the boot hart,
  // I, M, A, C and the S and U modes; 64-bit XLEN.
  TestBytes t(0x08 + 0x6E, 0);
  t[0] = 44;
  t[1] = static_cast<uint8_t>(t.size());
  t[4] = 0x04;  // referenced handle 4
  t[6] = 0x6E;
  t[7] = 0x07;
  uint8_t* d = t.data() + 8;
  d[0] = 0x00, d[1] = 0x01, d[2] = 0x6E;  // revision 1.0
  d[3] = 5;
  d[0x13] = 1;
  d[0x44] = 0x05, d[0x45] = 0x11, d[0x14 + 15] = 0xAB;
  d[0x69] = 2, d[0x6C] = 2, d[0x6D] = 2;
  t.push_back(0), t.push_back(0);
  const DecodedStructure s = DecodeStructure(View(t), 0, 3, 9);
  EXPECT_EQ(Show(*Find(s.fields, "processor_type")), "64-bit RISC-V (RV64)");
  const FieldValue* block = Find(s.fields, "risc_v");
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(Show(*Find(block->members, "revision")), "1.0");
  EXPECT_EQ(Show(*Find(block->members, "hart_id")), "0x00000000000000000000000000000005");
  EXPECT_EQ(Show(*Find(block->members, "machine_vendor_id")).substr(0, 4), "0xab");
  EXPECT_EQ(Show(*Find(block->members, "boot_hart")), "1");
  EXPECT_EQ(Find(block->members, "instruction_set_supported")->bits.size(), 4u);  // A C I M
  EXPECT_EQ(Show(*Find(block->members, "supervisor_mode_xlen")), "64-bit");
  // A block length shorter than the structure cuts the block there.
  t[6] = 0x20;
  const DecodedStructure cut = DecodeStructure(View(t), 0, 3, 9);
  EXPECT_EQ(Find(Find(cut.fields, "risc_v")->members, "machine_architecture_id"), nullptr);
  // Other architectures keep their data as bytes.
  t[7] = 0x05;
  EXPECT_EQ(
      Show(*Find(DecodeStructure(View(t), 0, 3, 9).fields, "processor_specific_data")).substr(0, 8),
      "00 01 6E");
  for (size_t i = 0; i < kRiscVBlock.count; ++i) {
    const char* section = kRiscVBlock.fields[i].values;
    if (section) {
      EXPECT_GT(FindValueSection(section).count, 0u) << section;
    }
  }
}

TEST(ManagementTypes, HostInterfaceDeviceAndRedfishRecord) {
  // Network interface: a PCI/PCIe v2 device 8086h:1533h with MAC
  // 00:11:22:33:44:55 at bus 3, device 1, function 2; one Redfish-over-IP
  // record (DHCP host 192.168.1.5/24, service port 443, host name "bmc").
  TestBytes t = {42,   0,    0,    0,    0x40, 24, 0x05, 0x17, 0x86, 0x80, 0x33,
                 0x15, 0x86, 0x80, 0,    0,    0,  0x11, 0x22, 0x33, 0x44, 0x55,
                 0,    0,    3,    0x0A, 1,    0,  0xFF, 0xFF, 1,    0x04, 0x5E};
  TestBytes redfish(0x5E, 0);
  redfish[0x10] = 2, redfish[0x11] = 1;
  for (uint8_t i : {0, 1, 2, 3}) redfish[0x12 + i] = TestBytes{192, 168, 1, 5}[i];
  for (uint8_t i : {0, 1, 2}) redfish[0x22 + i] = 255;
  redfish[0x54] = 0xBB, redfish[0x55] = 0x01, redfish[0x5A] = 3;
  redfish[0x5B] = 'b', redfish[0x5C] = 'm', redfish[0x5D] = 'c';
  t.insert(t.end(), redfish.begin(), redfish.end());
  t[1] = static_cast<uint8_t>(t.size());
  t.push_back(0), t.push_back(0);
  const DecodedStructure s = DecodeStructure(View(t), 0, 3, 9);
  EXPECT_EQ(Show(*Find(s.fields, "device_type")), "PCI/PCIe network interface (v2)");
  const FieldValue* device = Find(s.fields, "device_description");
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(Show(*Find(device->members, "device_id")), std::to_string(0x1533));
  EXPECT_EQ(Show(*Find(device->members, "mac_address")), "00:11:22:33:44:55");
  EXPECT_EQ(Show(*Find(device->members, "function_number")), "2");
  EXPECT_EQ(Find(device->members, "credential_bootstrapping_handle")->name,
            std::string("Not provided"));
  const FieldValue& record = Find(s.fields, "protocol_records")->items.at(0);
  const FieldValue* ip = Find(record.members, "redfish_over_ip");
  ASSERT_NE(ip, nullptr);
  EXPECT_EQ(Show(*Find(ip->members, "host_ip_assignment_type")), "DHCP");
  EXPECT_EQ(Show(*Find(ip->members, "host_ip_address")), "192.168.1.5");
  EXPECT_EQ(Show(*Find(ip->members, "host_ip_mask")), "255.255.255.0");
  EXPECT_EQ(Show(*Find(ip->members, "service_ip_port")), "443");
  EXPECT_EQ(Show(*Find(ip->members, "service_hostname")), "bmc");
  // A record cut before the host name keeps the rows it holds.
  t[0x20] = 0x56, t[1] = static_cast<uint8_t>(0x21 + 0x56);
  const DecodedStructure cut = DecodeStructure(View(t), 0, 3, 9);
  const FieldValue& short_ip =
      *Find(Find(cut.fields, "protocol_records")->items.at(0).members, "redfish_over_ip");
  EXPECT_NE(Find(short_ip.members, "service_ip_port"), nullptr);
  EXPECT_EQ(Find(short_ip.members, "service_hostname"), nullptr);
}

TEST(ManagementTypes, UsbSerialNumberDescriptor) {
  // v1 USB network interface 0B1Fh:03EEh; the serial number descriptor's
  // length counts its two header bytes.
  struct Case {
    const char* what;
    TestBytes descriptor;  // length, type 03h, UTF-16LE text
    const char* text;
  };
  const Case cases[] = {
      {"ascii, NUL padding", {8, 0x03, 'S', 0, '1', 0, 0, 0}, "S1"},
      {"pair and lone surrogate",
       {8, 0x03, 0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xDC},
       "\xF0\x9F\x98\x80\xEF\xBF\xBD"},
      {"length past the data", {0x40, 0x03, 0xAC, 0x20, 'x', 0}, "\xE2\x82\xACx"},
  };
  for (const Case& c : cases) {
    TestBytes t = {42, 0, 0, 0, 0x40, 0, 0x02, 0x1F, 0x0B, 0xEE, 0x03};
    t.insert(t.end(), c.descriptor.begin(), c.descriptor.end());
    t[5] = static_cast<uint8_t>(t.size() - 6);
    t.push_back(0);  // no protocol records
    t[1] = static_cast<uint8_t>(t.size());
    t.push_back(0), t.push_back(0);
    const DecodedStructure s = DecodeStructure(View(t), 0, 3, 9);
    const FieldValue* device = Find(s.fields, "device_description");
    ASSERT_NE(device, nullptr) << c.what;
    EXPECT_EQ(Show(*Find(device->members, "id_product")), std::to_string(0x03EE)) << c.what;
    EXPECT_EQ(Show(*Find(device->members, "serial_number")), c.text) << c.what;
  }
}

}  // namespace
