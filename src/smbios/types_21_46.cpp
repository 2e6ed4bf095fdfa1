// Field tables of types 21 to 46 (power, probes and management), every
// field up to SMBIOS 3.9. Columns: offset, width, kind, field name, value
// section, first version, bit mask, unit, decoder. Type 33 and the device
// types 41 belong to other groups; 126 (inactive) keeps the generic view
// (the standard defines no fields for it), 127 has none to show.
#include "model_fields.h"
#include "model_fields_host_interface.h"
#include "model_fields_management.h"

namespace {

using K = FieldKind;
constexpr Unit N = Unit::kNone;

constexpr FieldRow kPointingDevice[] = {
    {0x04, 1, K::kEnum, "type", "PNTDEV", 0x0201},
    {0x05, 1, K::kEnum, "interface", "PNTDEVINT", 0x0201},
    {0x06, 1, K::kNumber, "number_of_buttons", nullptr, 0x0201},
};

constexpr FieldRow kBattery[] = {
    {0x04, 1, K::kString, "location", nullptr, 0x0201},
    {0x05, 1, K::kString, "manufacturer", nullptr, 0x0201},
    // 0 here: the SBDS date at 12h gives it.
    {0x06, 1, K::kString, "manufacture_date", nullptr, 0x0201},
    {0x07, 1, K::kString, "serial_number", nullptr, 0x0201},
    {0x08, 1, K::kString, "device_name", nullptr, 0x0201},
    // 02h (unknown) with a string at 14h: the SBDS chemistry.
    {0x09, 1, K::kEnum, "device_chemistry", "BATTYP", 0x0201},
    // mWh, times the multiplier at 15h; 0: unknown.
    {0x0A, 2, K::kCustom, "design_capacity_mwh", nullptr, 0x0201, 0, Unit::kMWh,
     DecodeBatteryCapacity},
    {0x0C, 2, K::kNumber, "design_voltage_mv", nullptr, 0x0201, 0, Unit::kMV},
    {0x0E, 1, K::kString, "sbds_version_number", nullptr, 0x0201},
    // Percent.
    {0x0F, 1, K::kCustom, "maximum_error_in_battery_data", nullptr, 0x0201, 0, N,
     DecodeNumberOrAllOnes},
    {0x10, 2, K::kHex, "sbds_serial_number", nullptr, 0x0202},
    {0x12, 2, K::kCustom, "sbds_manufacture_date", nullptr, 0x0202, 0, N, DecodeSbdsDate},
    {0x14, 1, K::kString, "sbds_device_chemistry", nullptr, 0x0202},
    {0x15, 1, K::kNumber, "design_capacity_multiplier", nullptr, 0x0202},
    {0x16, 4, K::kHex, "oem_specific", nullptr, 0x0202},
};

constexpr FieldRow kSystemReset[] = {
    {0x04, 1, K::kFlag, "status_enabled", nullptr, 0x0202, 0x01},
    {0x04, 1, K::kEnum, "boot_option", "RESETBOOTOPTION", 0x0202, 0x06},
    {0x04, 1, K::kEnum, "boot_option_on_limit", "RESETBOOTOPTION", 0x0202, 0x18},
    {0x04, 1, K::kFlag, "watchdog_timer_present", nullptr, 0x0202, 0x20},
    {0x05, 2, K::kCustom, "reset_count", nullptr, 0x0202, 0, N, DecodeNumberOrAllOnes},
    {0x07, 2, K::kCustom, "reset_limit", nullptr, 0x0202, 0, N, DecodeNumberOrAllOnes},
    {0x09, 2, K::kCustom, "timer_interval_minutes", nullptr, 0x0202, 0, Unit::kMinutes,
     DecodeNumberOrAllOnes},
    {0x0B, 2, K::kCustom, "timeout_minutes", nullptr, 0x0202, 0, Unit::kMinutes,
     DecodeNumberOrAllOnes},
};

constexpr FieldRow kHardwareSecurity[] = {
    {0x04, 1, K::kEnum, "power_on_password_status", "HWSECURITYSTATUS", 0x0202, 0xC0},
    {0x04, 1, K::kEnum, "keyboard_password_status", "HWSECURITYSTATUS", 0x0202, 0x30},
    {0x04, 1, K::kEnum, "administrator_password_status", "HWSECURITYSTATUS", 0x0202, 0x0C},
    {0x04, 1, K::kEnum, "front_panel_reset_status", "HWSECURITYSTATUS", 0x0202, 0x03},
};

// BCD values; a byte that is not BCD stays raw.
constexpr FieldRow kPowerControls[] = {
    {0x04, 1, K::kCustom, "next_scheduled_power_on_month", nullptr, 0x0202, 0, N, DecodeBcd},
    {0x05, 1, K::kCustom, "next_scheduled_power_on_day_of_month", nullptr, 0x0202, 0, N, DecodeBcd},
    {0x06, 1, K::kCustom, "next_scheduled_power_on_hour", nullptr, 0x0202, 0, N, DecodeBcd},
    {0x07, 1, K::kCustom, "next_scheduled_power_on_minute", nullptr, 0x0202, 0, N, DecodeBcd},
    {0x08, 1, K::kCustom, "next_scheduled_power_on_second", nullptr, 0x0202, 0, N, DecodeBcd},
};

// Probes (26, 28, 29) share one layout; their words read 8000h when
// unknown. The units differ: voltage in mV (resolution 1/10 mV), current in
// mA (resolution 1/10 mA), temperature in 1/10 degree C (resolution 1/1000).
// clang-format off
#define PROBE_HEAD(locations)                                                           \
  {0x04, 1, K::kString, "description", nullptr, 0x0202},                                \
      {0x05, 1, K::kEnum, "location", locations, 0x0202, 0x1F},                         \
      {0x05, 1, K::kEnum, "status", "PROBESTATUS", 0x0202, 0xE0}
#define PROBE_WORD(offset, name, unit) \
  {offset, 2, K::kCustom, name, nullptr, 0x0202, 0, unit, DecodeNumberOrUnknown}
// A reading, signed (a temperature below zero).
#define PROBE_SIGNED(offset, name, unit) \
  {offset, 2, K::kCustom, name, nullptr, 0x0202, 0, unit, DecodeSignedOrUnknown}
// clang-format on

constexpr FieldRow kVoltageProbe[] = {
    PROBE_HEAD("PROBELOCATION"),
    PROBE_SIGNED(0x06, "maximum_value_mv", Unit::kMV),
    PROBE_SIGNED(0x08, "minimum_value_mv", Unit::kMV),
    PROBE_WORD(0x0A, "resolution_tenths_millivolts", Unit::kTenthsMV),
    PROBE_WORD(0x0C, "tolerance_mv", Unit::kMV),
    PROBE_WORD(0x0E, "accuracy_hundredths_percent", Unit::kHundredthsPercent),
    {0x10, 4, K::kHex, "oem_defined", nullptr, 0x0202},
    PROBE_SIGNED(0x14, "nominal_value_mv", Unit::kMV),
};

constexpr FieldRow kCoolingDevice[] = {
    {0x04, 2, K::kHandle, "temperature_probe_handle", "HANDLENONE", 0x0202},
    {0x06, 1, K::kEnum, "device_type", "COOLINGDEVICETYPE", 0x0202, 0x1F},
    {0x06, 1, K::kEnum, "status", "PROBESTATUS", 0x0202, 0xE0},
    // 0: the device is in no cooling unit group.
    {0x07, 1, K::kNumber, "cooling_unit_group", nullptr, 0x0202},
    {0x08, 4, K::kHex, "oem_defined", nullptr, 0x0202},
    PROBE_WORD(0x0C, "nominal_speed_rpm", Unit::kRpm),
    {0x0E, 1, K::kString, "description", nullptr, 0x0207},
};

constexpr FieldRow kTemperatureProbe[] = {
    PROBE_HEAD("TEMPPROBELOCATION"),
    PROBE_SIGNED(0x06, "maximum_value_tenths_celsius", Unit::kTenthsCelsius),
    PROBE_SIGNED(0x08, "minimum_value_tenths_celsius", Unit::kTenthsCelsius),
    PROBE_WORD(0x0A, "resolution_millicelsius", Unit::kMilliCelsius),
    PROBE_WORD(0x0C, "tolerance_tenths_celsius", Unit::kTenthsCelsius),
    PROBE_WORD(0x0E, "accuracy_hundredths_percent", Unit::kHundredthsPercent),
    {0x10, 4, K::kHex, "oem_defined", nullptr, 0x0202},
    PROBE_SIGNED(0x14, "nominal_value_tenths_celsius", Unit::kTenthsCelsius),
};

constexpr FieldRow kCurrentProbe[] = {
    PROBE_HEAD("PROBELOCATION"),
    PROBE_SIGNED(0x06, "maximum_value_milliamps", Unit::kMilliamps),
    PROBE_SIGNED(0x08, "minimum_value_milliamps", Unit::kMilliamps),
    PROBE_WORD(0x0A, "resolution_tenths_milliamps", Unit::kTenthsMilliamps),
    PROBE_WORD(0x0C, "tolerance_milliamps", Unit::kMilliamps),
    PROBE_WORD(0x0E, "accuracy_hundredths_percent", Unit::kHundredthsPercent),
    {0x10, 4, K::kHex, "oem_defined", nullptr, 0x0202},
    PROBE_SIGNED(0x14, "nominal_value_milliamps", Unit::kMilliamps),
};

constexpr FieldRow kRemoteAccess[] = {
    {0x04, 1, K::kString, "manufacturer_name", nullptr, 0x0202},
    {0x05, 1, K::kFlag, "inbound_connection_enabled", nullptr, 0x0202, 0x01},
    {0x05, 1, K::kFlag, "outbound_connection_enabled", nullptr, 0x0202, 0x02},
};

constexpr FieldRow kBootIntegrity[] = {
    {0x04, 1, K::kHex, "checksum", nullptr, 0x0203},
    // Segment in the high word, offset in the low one.
    {0x08, 4, K::kHex, "bis_entry_point_16_bit", nullptr, 0x0203},
    {0x0C, 4, K::kHex, "bis_entry_point_32_bit", nullptr, 0x0203},
};

constexpr FieldRow kBootInformation[] = {
    {0x0A, 1, K::kCustom, "boot_status", "BOOTSTATUS", 0x0203, 0, N, DecodeBootStatus},
};

constexpr FieldRow kManagementDevice[] = {
    {0x04, 1, K::kString, "description", nullptr, 0x0203},
    {0x05, 1, K::kEnum, "type", "MGMTDEVICETYPE", 0x0203},
    {0x06, 4, K::kHex, "address", nullptr, 0x0203},
    {0x0A, 1, K::kEnum, "address_type", "MGMTADDRESSTYPE", 0x0203},
};

constexpr FieldRow kManagementComponent[] = {
    {0x04, 1, K::kString, "description", nullptr, 0x0203},
    {0x05, 2, K::kHandle, "management_device_handle", nullptr, 0x0203},
    // A probe or cooling device (types 26 to 29), or a power supply.
    {0x07, 2, K::kHandle, "component_handle", nullptr, 0x0203},
    {0x09, 2, K::kHandle, "threshold_handle", "HANDLENONE", 0x0203},
};

// In the units of the component the thresholds belong to; 8000h: not given.
constexpr FieldRow kManagementThresholds[] = {
    PROBE_SIGNED(0x04, "lower_threshold_non_critical", N),
    PROBE_SIGNED(0x06, "upper_threshold_non_critical", N),
    PROBE_SIGNED(0x08, "lower_threshold_critical", N),
    PROBE_SIGNED(0x0A, "upper_threshold_critical", N),
    PROBE_SIGNED(0x0C, "lower_threshold_non_recoverable", N),
    PROBE_SIGNED(0x0E, "upper_threshold_non_recoverable", N),
};

constexpr FieldRow kMemoryChannel[] = {
    {0x04, 1, K::kEnum, "channel_type", "MEMCHANNELTYPE", 0x0203},
    {0x05, 1, K::kNumber, "maximum_channel_load", nullptr, 0x0203},
    {0x06, 1, K::kNumber, "memory_device_count", nullptr, 0x0203},
    {0x07, 3, K::kCustom, "memory_devices", nullptr, 0x0203, 0, N, DecodeChannelDevices},
};

constexpr FieldRow kIpmiDevice[] = {
    {0x04, 1, K::kEnum, "interface_type", "IPMIINTERFACETYPE", 0x0203},
    {0x05, 1, K::kCustom, "ipmi_revision", nullptr, 0x0203, 0, N, DecodeNibbleRevision},
    {0x06, 1, K::kHex, "i2c_target_address", nullptr, 0x0203},
    // FFh: no non-volatile storage device.
    {0x07, 1, K::kHex, "nv_storage_device_address", nullptr, 0x0203},
    {0x08, 8, K::kCustom, "base_address", nullptr, 0x0203, 0, N, DecodeIpmiBaseAddress},
    {0x10, 1, K::kEnum, "register_spacing", "IPMIREGISTERSPACING", 0x0203, 0xC0},
    {0x10, 1, K::kFlag, "interrupt_information_given", nullptr, 0x0203, 0x08},
    {0x10, 1, K::kFlag, "interrupt_active_high", nullptr, 0x0203, 0x02},
    {0x10, 1, K::kFlag, "interrupt_level_triggered", nullptr, 0x0203, 0x01},
    // 0: no interrupt.
    {0x11, 1, K::kNumber, "interrupt_number", nullptr, 0x0203},
};

constexpr FieldRow kPowerSupply[] = {
    // 0: the supply is in no redundant power unit.
    {0x04, 1, K::kNumber, "power_unit_group", nullptr, 0x0203},
    {0x05, 1, K::kString, "location", nullptr, 0x0203},
    {0x06, 1, K::kString, "device_name", nullptr, 0x0203},
    {0x07, 1, K::kString, "manufacturer", nullptr, 0x0203},
    {0x08, 1, K::kString, "serial_number", nullptr, 0x0203},
    {0x09, 1, K::kString, "asset_tag_number", nullptr, 0x0203},
    {0x0A, 1, K::kString, "model_part_number", nullptr, 0x0203},
    {0x0B, 1, K::kString, "revision_level", nullptr, 0x0203},
    PROBE_WORD(0x0C, "max_power_capacity_watts", Unit::kWatts),
    {0x0E, 2, K::kEnum, "power_supply_type", "PSUTYPE", 0x0203, 0x3C00},
    {0x0E, 2, K::kEnum, "status", "PSUSTATUS", 0x0203, 0x0380},
    {0x0E, 2, K::kEnum, "input_voltage_range_switching", "PSUINPUTRANGE", 0x0203, 0x0078},
    {0x0E, 2, K::kFlag, "unplugged_from_wall", nullptr, 0x0203, 0x0004},
    {0x0E, 2, K::kFlag, "present", nullptr, 0x0203, 0x0002},
    {0x0E, 2, K::kFlag, "hot_replaceable", nullptr, 0x0203, 0x0001},
    // FFFFh: none.
    {0x10, 2, K::kHandle, "input_voltage_probe_handle", "HANDLENONE", 0x0203},
    {0x12, 2, K::kHandle, "cooling_device_handle", "HANDLENONE", 0x0203},
    {0x14, 2, K::kHandle, "input_current_probe_handle", "HANDLENONE", 0x0203},
};

constexpr FieldRow kAdditionalInformation[] = {
    {0x04, 1, K::kNumber, "number_of_additional_information_entries", nullptr, 0x0206},
    {0x05, 0, K::kCustom, "additional_information_entries", nullptr, 0x0206, 0, N,
     DecodeAdditionalEntries},
};

constexpr FieldRow kHostInterface[] = {
    {0x04, 1, K::kEnum, "interface_type", "HOSTINTERFACETYPE", 0x0207},
    {0x05, 1, K::kNumber, "interface_type_specific_data_length", nullptr, 0x0207},
    {0x06, 0, K::kCustom, "interface_type_specific_data", nullptr, 0x0300, 0, N,
     DecodeInterfaceData},
    {0x06, 0, K::kCustom, "protocol_records", nullptr, 0x0300, 0, N, DecodeProtocolRecords},
};

constexpr FieldRow kTpmDevice[] = {
    {0x04, 4, K::kCustom, "vendor_id", nullptr, 0x0301, 0, N, DecodeTpmVendor},
    // The version of the TPM family the device implements: 1.2 or 2.0.
    {0x08, 1, K::kNumber, "major_version", nullptr, 0x0301},
    {0x09, 1, K::kNumber, "minor_version", nullptr, 0x0301},
    {0x0A, 4, K::kHex, "firmware_version_1", nullptr, 0x0301},
    {0x0E, 4, K::kHex, "firmware_version_2", nullptr, 0x0301},
    {0x0A, 4, K::kCustom, "firmware_revision", nullptr, 0x0301, 0, N, DecodeTpmFirmware},
    {0x12, 1, K::kString, "description", nullptr, 0x0301},
    {0x13, 8, K::kBits, "characteristics", "TPMCHARACTERISTICS", 0x0301},
    {0x1B, 4, K::kHex, "oem_defined", nullptr, 0x0301},
};

constexpr FieldRow kProcessorAdditional[] = {
    {0x04, 2, K::kHandle, "referenced_handle", nullptr, 0x0303},
    {0x06, 1, K::kNumber, "block_length", nullptr, 0x0303},
    {0x07, 1, K::kEnum, "processor_type", "PROCESSORARCHTYPE", 0x0303},
    {0x08, 0, K::kCustom, "processor_specific_data", nullptr, 0x0303, 0, N, DecodeProcessorBlock},
};

constexpr FieldRow kRiscVFields[] = {
    {0x00, 2, K::kCustom, "revision", nullptr, 0x0303, 0, N, DecodeRiscVRevision},
    {0x02, 1, K::kNumber, "structure_length", nullptr, 0x0303},
    {0x03, 16, K::kCustom, "hart_id", nullptr, 0x0303, 0, N, DecodeHex128},
    {0x13, 1, K::kFlag, "boot_hart", nullptr, 0x0303},
    {0x14, 16, K::kCustom, "machine_vendor_id", nullptr, 0x0303, 0, N, DecodeHex128},
    {0x24, 16, K::kCustom, "machine_architecture_id", nullptr, 0x0303, 0, N, DecodeHex128},
    {0x34, 16, K::kCustom, "machine_implementation_id", nullptr, 0x0303, 0, N, DecodeHex128},
    {0x44, 4, K::kBits, "instruction_set_supported", "RISCVISA", 0x0303},
    {0x48, 1, K::kBits, "privilege_level_supported", "RISCVPRIVILEGE", 0x0303},
    {0x49, 16, K::kCustom, "machine_exception_trap_delegation", nullptr, 0x0303, 0, N,
     DecodeHex128},
    {0x59, 16, K::kCustom, "machine_interrupt_trap_delegation", nullptr, 0x0303, 0, N,
     DecodeHex128},
    {0x69, 1, K::kEnum, "register_width_xlen", "RISCVXLEN", 0x0303},
    {0x6A, 1, K::kEnum, "machine_mode_xlen", "RISCVXLEN", 0x0303},
    // 6Bh is reserved (for a hypervisor mode).
    {0x6C, 1, K::kEnum, "supervisor_mode_xlen", "RISCVXLEN", 0x0303},
    {0x6D, 1, K::kEnum, "user_mode_xlen", "RISCVXLEN", 0x0303},
};

constexpr FieldRow kFirmwareInventory[] = {
    {0x04, 1, K::kString, "firmware_component_name", nullptr, 0x0305},
    {0x05, 1, K::kString, "firmware_version", nullptr, 0x0305},
    {0x06, 1, K::kCustom, "version_format", "FWVERSIONFORMAT", 0x0305, 0, N, DecodeRangedEnum},
    {0x07, 1, K::kString, "firmware_id", nullptr, 0x0305},
    {0x08, 1, K::kCustom, "firmware_id_format", "FWIDFORMAT", 0x0305, 0, N, DecodeRangedEnum},
    {0x09, 1, K::kString, "release_date", nullptr, 0x0305},
    {0x0A, 1, K::kString, "manufacturer", nullptr, 0x0305},
    {0x0B, 1, K::kString, "lowest_supported_firmware_version", nullptr, 0x0305},
    {0x0C, 8, K::kCustom, "image_size_bytes", nullptr, 0x0305, 0, Unit::kBytes,
     DecodeNumberOrAllOnes},
    {0x14, 2, K::kBits, "characteristics", "FWCHARACTERISTICS", 0x0305},
    {0x16, 1, K::kEnum, "state", "FWSTATE", 0x0305},
    {0x17, 1, K::kNumber, "number_of_associated_components", nullptr, 0x0305},
    {0x17, 1, K::kCustom, "associated_component_handles", nullptr, 0x0305, 0, N, DecodeHandleList},
};

constexpr FieldRow kStringProperty[] = {
    {0x04, 2, K::kCustom, "string_property_id", "STRINGPROPERTYID", 0x0305, 0, N, DecodeRangedEnum},
    {0x06, 1, K::kString, "string_property_value", nullptr, 0x0305},
    {0x07, 2, K::kHandle, "parent_handle", nullptr, 0x0305},
};

#undef PROBE_HEAD
#undef PROBE_WORD

template <size_t N>
constexpr TypeTable Type(uint8_t type, const FieldRow (&fields)[N]) {
  return TypeTable{type, fields, N};
}

constexpr TypeTable kTypes[] = {
    Type(21, kPointingDevice),
    Type(22, kBattery),
    Type(23, kSystemReset),
    Type(24, kHardwareSecurity),
    Type(25, kPowerControls),
    Type(26, kVoltageProbe),
    Type(27, kCoolingDevice),
    Type(28, kTemperatureProbe),
    Type(29, kCurrentProbe),
    Type(30, kRemoteAccess),
    Type(31, kBootIntegrity),
    Type(32, kBootInformation),
    Type(34, kManagementDevice),
    Type(35, kManagementComponent),
    Type(36, kManagementThresholds),
    Type(37, kMemoryChannel),
    Type(38, kIpmiDevice),
    Type(39, kPowerSupply),
    Type(40, kAdditionalInformation),
    Type(42, kHostInterface),
    Type(43, kTpmDevice),
    Type(44, kProcessorAdditional),
    Type(45, kFirmwareInventory),
    Type(46, kStringProperty),
    // End of table: the header is all there is.
    TypeTable{127, nullptr, 0},
};

}  // namespace

extern const TypeTable kRiscVBlock = Type(44, kRiscVFields);
extern const TypeGroup kTypes21To46 = {kTypes, sizeof kTypes / sizeof kTypes[0]};
