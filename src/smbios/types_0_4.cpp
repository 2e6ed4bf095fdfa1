// Field tables of types 0 to 4 (BIOS, system, baseboard, chassis,
// processor), every field up to SMBIOS 3.9. Columns: offset, width, kind,
// field name, value section, first version, bit mask, unit, decoder.
#include "model_fields.h"

namespace {

using K = FieldKind;

constexpr FieldRow kBios[] = {
    {0x04, 1, K::kString, "vendor", nullptr, 0x0200},
    {0x05, 1, K::kString, "bios_version", nullptr, 0x0200},
    {0x06, 2, K::kCustom, "bios_runtime_size_bytes", nullptr, 0x0200, 0, Unit::kBytes,
     DecodeBiosRuntime},
    {0x08, 1, K::kString, "bios_release_date", nullptr, 0x0200},
    {0x09, 1, K::kCustom, "bios_rom_size_bytes", nullptr, 0x0200, 0, Unit::kBytes,
     DecodeBiosRomSize},
    {0x0A, 8, K::kBits, "bios_characteristics", "BIOSCHARACTERISTICS", 0x0200},
    {0x12, 1, K::kBits, "bios_characteristics_extension_byte_1", "BIOSCHAREXT1", 0x0204},
    {0x13, 1, K::kBits, "bios_characteristics_extension_byte_2", "BIOSCHAREXT2", 0x0204},
    {0x14, 1, K::kNumber, "system_bios_major_release", nullptr, 0x0204},
    {0x15, 1, K::kNumber, "system_bios_minor_release", nullptr, 0x0204},
    {0x16, 1, K::kNumber, "embedded_controller_firmware_major_release", nullptr, 0x0204},
    {0x17, 1, K::kNumber, "embedded_controller_firmware_minor_release", nullptr, 0x0204},
    {0x18, 2, K::kHex, "extended_bios_rom_size", nullptr, 0x0301},
};

constexpr FieldRow kSystem[] = {
    {0x04, 1, K::kString, "manufacturer", nullptr, 0x0200},
    {0x05, 1, K::kString, "product_name", nullptr, 0x0200},
    {0x06, 1, K::kString, "version", nullptr, 0x0200},
    {0x07, 1, K::kString, "serial_number", nullptr, 0x0200},
    {0x08, 16, K::kCustom, "uuid", nullptr, 0x0201, 0, Unit::kNone, DecodeUuid},
    {0x18, 1, K::kEnum, "wake_up_type", "WAKEUPTYPE", 0x0201},
    {0x19, 1, K::kString, "sku_number", nullptr, 0x0204},
    {0x1A, 1, K::kString, "family", nullptr, 0x0204},
};

constexpr FieldRow kBaseboard[] = {
    {0x04, 1, K::kString, "manufacturer", nullptr, 0x0200},
    {0x05, 1, K::kString, "product", nullptr, 0x0200},
    {0x06, 1, K::kString, "version", nullptr, 0x0200},
    {0x07, 1, K::kString, "serial_number", nullptr, 0x0200},
    {0x08, 1, K::kString, "asset_tag", nullptr, 0x0200},
    {0x09, 1, K::kBits, "feature_flags", "BOARDFEATURES", 0x0200},
    {0x0A, 1, K::kString, "location_in_chassis", nullptr, 0x0200},
    {0x0B, 2, K::kHandle, "chassis_handle", nullptr, 0x0200},
    {0x0D, 1, K::kEnum, "board_type", "BOARDTYPE", 0x0200},
    {0x0E, 1, K::kNumber, "number_of_contained_object_handles", nullptr, 0x0200},
    {0x0E, 1, K::kCustom, "contained_object_handles", nullptr, 0x0200, 0, Unit::kNone,
     DecodeHandleList},
};

constexpr FieldRow kChassis[] = {
    {0x04, 1, K::kString, "manufacturer", nullptr, 0x0200},
    {0x05, 1, K::kEnum, "type", "DMICHASSISTYPE", 0x0200, 0x7F},
    {0x05, 1, K::kFlag, "chassis_lock_present", nullptr, 0x0200, 0x80},
    {0x06, 1, K::kString, "version", nullptr, 0x0200},
    {0x07, 1, K::kString, "serial_number", nullptr, 0x0200},
    {0x08, 1, K::kString, "asset_tag_number", nullptr, 0x0200},
    {0x09, 1, K::kEnum, "boot_up_state", "CHASSISSTATE", 0x0201},
    {0x0A, 1, K::kEnum, "power_supply_state", "CHASSISSTATE", 0x0201},
    {0x0B, 1, K::kEnum, "thermal_state", "CHASSISSTATE", 0x0201},
    {0x0C, 1, K::kEnum, "security_status", "CHASSISSECURITY", 0x0201},
    {0x0D, 4, K::kHex, "oem_defined", nullptr, 0x0203},
    // Height in rack units (U, 1.75 in); 0: not given.
    {0x11, 1, K::kNumber, "height_u", nullptr, 0x0203, 0, Unit::kRackUnits},
    {0x12, 1, K::kNumber, "number_of_power_cords", nullptr, 0x0203},
    {0x13, 1, K::kNumber, "contained_element_count", nullptr, 0x0203},
    {0x14, 1, K::kNumber, "contained_element_record_length", nullptr, 0x0203},
    {0x15, 0, K::kCustom, "contained_elements", nullptr, 0x0203, 0, Unit::kNone,
     DecodeContainedElements},
    // Offsets below count from the end of the contained element records.
    {0x00, 1, K::kCustom, "sku_number", nullptr, 0x0207, 0, Unit::kNone, DecodeAfterElementsString},
    // 3.9: the rack unit that the rack height counts.
    {0x01, 1, K::kCustom, "rack_type", "RACKTYPE", 0x0309, 0, Unit::kNone,
     DecodeAfterElementsNumber},
    // Counted in the rack type's unit, which need not be the U of 1.75 in.
    {0x02, 1, K::kCustom, "rack_height", nullptr, 0x0309, 0, Unit::kNone,
     DecodeAfterElementsNumber},
};

constexpr FieldRow kProcessor[] = {
    {0x04, 1, K::kString, "socket_designation", nullptr, 0x0200},
    {0x05, 1, K::kEnum, "processor_type", "DMIPROCESSORTYPE", 0x0200},
    {0x06, 1, K::kEnum, "processor_family", "DMIPROCESSORFAMILY", 0x0200},
    {0x07, 1, K::kString, "processor_manufacturer", nullptr, 0x0200},
    {0x08, 8, K::kCustom, "processor_id", nullptr, 0x0200, 0, Unit::kNone, DecodeProcessorId},
    {0x10, 1, K::kString, "processor_version", nullptr, 0x0200},
    {0x11, 1, K::kCustom, "voltage", nullptr, 0x0200, 0, Unit::kMV, DecodeProcessorVoltage},
    // Speeds: 0 means unknown.
    {0x12, 2, K::kNumber, "external_clock_mhz", nullptr, 0x0200, 0, Unit::kMHz},
    {0x14, 2, K::kNumber, "max_speed_mhz", nullptr, 0x0200, 0, Unit::kMHz},
    {0x16, 2, K::kNumber, "current_speed_mhz", nullptr, 0x0200, 0, Unit::kMHz},
    {0x18, 1, K::kFlag, "socket_populated", nullptr, 0x0200, 0x40},
    {0x18, 1, K::kEnum, "cpu_status", "CPUSTATUS", 0x0200, 0x07},
    {0x19, 1, K::kEnum, "processor_upgrade", "DMIPROCESSORUPGRADE", 0x0200},
    // FFFF: no cache of that level (or none described).
    {0x1A, 2, K::kHandle, "l1_cache_handle", "HANDLENONE", 0x0201},
    {0x1C, 2, K::kHandle, "l2_cache_handle", "HANDLENONE", 0x0201},
    {0x1E, 2, K::kHandle, "l3_cache_handle", "HANDLENONE", 0x0201},
    {0x20, 1, K::kString, "serial_number", nullptr, 0x0203},
    {0x21, 1, K::kString, "asset_tag", nullptr, 0x0203},
    {0x22, 1, K::kString, "part_number", nullptr, 0x0203},
    // FF in a byte count: the count lies in the word of 3.0 below.
    {0x23, 1, K::kNumber, "core_count", nullptr, 0x0205},
    {0x24, 1, K::kNumber, "core_enabled", nullptr, 0x0205},
    {0x25, 1, K::kNumber, "thread_count", nullptr, 0x0205},
    {0x26, 2, K::kBits, "processor_characteristics", "CPUCHARACTERISTICS", 0x0205},
    {0x28, 2, K::kEnum, "processor_family_2", "DMIPROCESSORFAMILY", 0x0206},
    {0x2A, 2, K::kNumber, "core_count_2", nullptr, 0x0300},
    {0x2C, 2, K::kNumber, "core_enabled_2", nullptr, 0x0300},
    {0x2E, 2, K::kNumber, "thread_count_2", nullptr, 0x0300},
    {0x30, 2, K::kNumber, "thread_enabled", nullptr, 0x0306},
    {0x32, 1, K::kString, "socket_type", nullptr, 0x0308},
};

template <size_t N>
constexpr TypeTable Type(uint8_t type, const FieldRow (&fields)[N]) {
  return TypeTable{type, fields, N};
}

constexpr TypeTable kTypes[] = {
    Type(0, kBios), Type(1, kSystem), Type(2, kBaseboard), Type(3, kChassis), Type(4, kProcessor),
};

}  // namespace

extern const TypeGroup kTypes0To4 = {kTypes, sizeof kTypes / sizeof kTypes[0]};
