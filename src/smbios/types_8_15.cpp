// Field tables of the port, slot and device structures: types 8 to 15 and
// 41 (onboard devices, extended), every field up to SMBIOS 3.9. Columns:
// offset, width, kind, field name, value section, first version, bit mask,
// unit, decoder.
#include "model_fields_devices.h"

namespace {

using K = FieldKind;

constexpr FieldRow kPortConnector[] = {
    {0x04, 1, K::kString, "internal_reference_designator", nullptr, 0x0200},
    {0x05, 1, K::kEnum, "internal_connector_type", "PORTCONNECTOR", 0x0200},
    {0x06, 1, K::kString, "external_reference_designator", nullptr, 0x0200},
    {0x07, 1, K::kEnum, "external_connector_type", "PORTCONNECTOR", 0x0200},
    {0x08, 1, K::kEnum, "port_type", "PORTTYPE", 0x0200},
};

constexpr FieldRow kSystemSlot[] = {
    {0x04, 1, K::kString, "slot_designation", nullptr, 0x0200},
    {0x05, 1, K::kEnum, "slot_type", "SLOTTYPE", 0x0200},
    {0x06, 1, K::kEnum, "slot_data_bus_width", "SLOTWIDTH", 0x0200},
    {0x07, 1, K::kEnum, "current_usage", "SLOTUSAGE", 0x0200},
    {0x08, 1, K::kEnum, "slot_length", "SLOTLENGTH", 0x0200},
    {0x09, 2, K::kCustom, "slot_id", nullptr, 0x0200, 0, Unit::kNone, DecodeSlotId},
    {0x0B, 1, K::kBits, "slot_characteristics_1", "SLOTCHAR1", 0x0200},
    {0x0C, 1, K::kBits, "slot_characteristics_2", "SLOTCHAR2", 0x0201},
    // The PCI address of the device in the slot (for PCI Express, the
    // endpoint, not the switch above it).
    {0x0D, 2, K::kNumber, "segment_group_number", nullptr, 0x0206},
    {0x0F, 1, K::kNumber, "bus_number", nullptr, 0x0206},
    {0x10, 1, K::kNumber, "device_number", nullptr, 0x0206, 0xF8},
    {0x10, 1, K::kNumber, "function_number", nullptr, 0x0206, 0x07},
    // Electrical width of that device in lanes, and of each peer below.
    {0x11, 1, K::kNumber, "data_bus_width", nullptr, 0x0302},
    {0x12, 1, K::kNumber, "peer_grouping_count", nullptr, 0x0302},
    {0x13, 0, K::kCustom, "peer_groups", nullptr, 0x0302, 0, Unit::kNone, DecodeSlotPeerGroups},
    // Offsets below count from the end of the peer groups. Slot
    // information: the PCI Express generation (reserved for other slot
    // types).
    {0x00, 1, K::kCustom, "slot_information", nullptr, 0x0304, 0, Unit::kNone,
     DecodeAfterPeerGroups},
    {0x01, 1, K::kCustom, "slot_physical_width", "SLOTWIDTH", 0x0304, 0, Unit::kNone,
     DecodeAfterPeerGroups},
    {0x02, 2, K::kCustom, "slot_pitch_um", nullptr, 0x0304, 0, Unit::kMicrometres, DecodeSlotPitch},
    {0x04, 1, K::kCustom, "slot_height", "SLOTHEIGHT", 0x0305, 0, Unit::kNone,
     DecodeAfterPeerGroups},
};

// Obsolete since 2.6 (type 41 replaces it): a two-byte record per device.
constexpr FieldRow kOnboardDevices[] = {
    {0x04, 0, K::kCustom, "devices", nullptr, 0x0200, 0, Unit::kNone, DecodeOnboardDevices},
};

constexpr FieldRow kOemStrings[] = {
    {0x04, 1, K::kNumber, "count", nullptr, 0x0200},
    {0x04, 1, K::kCustom, "strings", nullptr, 0x0200, 0, Unit::kNone, DecodeCountedStrings},
};

constexpr FieldRow kConfigurationOptions[] = {
    {0x04, 1, K::kNumber, "count", nullptr, 0x0200},
    {0x04, 1, K::kCustom, "options", nullptr, 0x0200, 0, Unit::kNone, DecodeCountedStrings},
};

constexpr FieldRow kBiosLanguage[] = {
    {0x04, 1, K::kNumber, "installable_languages", nullptr, 0x0200},
    {0x04, 1, K::kCustom, "languages", nullptr, 0x0200, 0, Unit::kNone, DecodeCountedStrings},
    // Flags bit 0: the language strings are in the abbreviated format
    // ("enUS") rather than the long one ("en|US|iso8859-1").
    {0x05, 1, K::kFlag, "abbreviated_format", nullptr, 0x0201, 0x01},
    // 06h to 14h are reserved.
    {0x15, 1, K::kString, "current_language", nullptr, 0x0200},
};

constexpr FieldRow kGroupAssociations[] = {
    {0x04, 1, K::kString, "group_name", nullptr, 0x0200},
    {0x05, 0, K::kCustom, "items", nullptr, 0x0200, 0, Unit::kNone, DecodeGroupItems},
};

// The log area itself lies outside the table and is not read.
constexpr FieldRow kSystemEventLog[] = {
    {0x04, 2, K::kNumber, "log_area_length_bytes", nullptr, 0x0200, 0, Unit::kBytes},
    {0x06, 2, K::kHex, "log_header_start_offset", nullptr, 0x0200},
    {0x08, 2, K::kHex, "log_data_start_offset", nullptr, 0x0200},
    {0x0A, 1, K::kEnum, "access_method", "EVENTLOGACCESS", 0x0200},
    {0x0B, 1, K::kFlag, "log_area_valid", nullptr, 0x0200, 0x01},
    {0x0B, 1, K::kFlag, "log_area_full", nullptr, 0x0200, 0x02},
    {0x0C, 4, K::kHex, "log_change_token", nullptr, 0x0200},
    {0x10, 4, K::kCustom, "access_method_address", nullptr, 0x0200, 0, Unit::kNone,
     DecodeEventLogAddress},
    {0x14, 1, K::kEnum, "log_header_format", "EVENTLOGHEADER", 0x0201},
    {0x15, 1, K::kNumber, "number_of_supported_log_type_descriptors", nullptr, 0x0201},
    {0x16, 1, K::kNumber, "length_of_each_log_type_descriptor", nullptr, 0x0201},
    {0x17, 0, K::kCustom, "supported_log_type_descriptors", nullptr, 0x0201, 0, Unit::kNone,
     DecodeLogTypeDescriptors},
};

constexpr FieldRow kOnboardDevicesExtended[] = {
    {0x04, 1, K::kString, "reference_designation", nullptr, 0x0206},
    {0x05, 1, K::kEnum, "device_type", "DMIONBOARDDEVTYPES", 0x0206, 0x7F},
    {0x05, 1, K::kFlag, "device_enabled", nullptr, 0x0206, 0x80},
    {0x06, 1, K::kNumber, "device_type_instance", nullptr, 0x0206},
    {0x07, 2, K::kNumber, "segment_group_number", nullptr, 0x0206},
    {0x09, 1, K::kNumber, "bus_number", nullptr, 0x0206},
    {0x0A, 1, K::kNumber, "device_number", nullptr, 0x0206, 0xF8},
    {0x0A, 1, K::kNumber, "function_number", nullptr, 0x0206, 0x07},
};

template <size_t N>
constexpr TypeTable Type(uint8_t type, const FieldRow (&fields)[N]) {
  return TypeTable{type, fields, N};
}

constexpr TypeTable kTypes[] = {
    Type(8, kPortConnector),           Type(9, kSystemSlot),
    Type(10, kOnboardDevices),         Type(11, kOemStrings),
    Type(12, kConfigurationOptions),   Type(13, kBiosLanguage),
    Type(14, kGroupAssociations),      Type(15, kSystemEventLog),
    Type(41, kOnboardDevicesExtended),
};

}  // namespace

extern const TypeGroup kTypes8To15 = {kTypes, sizeof kTypes / sizeof kTypes[0]};
