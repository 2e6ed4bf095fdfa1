// Field tables of the memory and cache structures: types 5 and 6 (legacy
// controller and modules), 7 (cache), 16 to 20 (memory array, devices,
// 32-bit errors, mapped addresses) and 33 (64-bit errors), every field up to
// SMBIOS 3.9. Columns: offset, width, kind, field name, value section, first
// version, bit mask, unit, decoder.
#include "model_fields.h"
#include "model_fields_memory.h"

namespace {

using K = FieldKind;

constexpr uint64_t kTop32 = 0x80000000ull;
constexpr uint64_t kTop64 = 0x8000000000000000ull;

constexpr FieldRow kMemoryController[] = {
    {0x04, 1, K::kEnum, "error_detecting_method", "DMIMEMCTRLEDM", 0x0200},
    {0x05, 1, K::kBits, "error_correcting_capability", "MEMCTRLECC", 0x0200},
    {0x06, 1, K::kEnum, "supported_interleave", "DMIINTERLEAVESUP", 0x0200},
    {0x07, 1, K::kEnum, "current_interleave", "DMIINTERLEAVESUP", 0x0200},
    {0x08, 1, K::kCustom, "maximum_memory_module_size_bytes", nullptr, 0x0200, 0, Unit::kBytes,
     DecodeModuleSizePower},
    {0x09, 2, K::kBits, "supported_speeds", "MEMCTRLSPEEDS", 0x0200},
    {0x0B, 2, K::kBits, "supported_memory_types", "MEMMODULETYPES", 0x0200},
    // The same three voltages as the processor's legacy capability bits.
    {0x0D, 1, K::kBits, "memory_module_voltage", "CPUVOLTAGES", 0x0200},
    {0x0E, 1, K::kNumber, "number_of_associated_memory_slots", nullptr, 0x0200},
    {0x0E, 1, K::kCustom, "memory_module_configuration_handles", nullptr, 0x0200, 0, Unit::kNone,
     DecodeHandleList},
    // Offset from the end of the handle list.
    {0x00, 1, K::kCustom, "enabled_error_correcting_capabilities", "MEMCTRLECC", 0x0201, 0,
     Unit::kNone, DecodeAfterHandlesBits},
};

constexpr FieldRow kMemoryModule[] = {
    {0x04, 1, K::kString, "socket_designation", nullptr, 0x0200},
    {0x05, 1, K::kCustom, "bank_connections", nullptr, 0x0200, 0, Unit::kNone,
     DecodeBankConnections},
    // Nanoseconds; 0: unknown.
    {0x06, 1, K::kNumber, "current_speed_ns", "ZEROUNKNOWN", 0x0200, 0, Unit::kNs},
    {0x07, 2, K::kBits, "current_memory_type", "MEMMODULETYPES", 0x0200},
    {0x09, 1, K::kCustom, "installed_size_bytes", nullptr, 0x0200, 0, Unit::kBytes,
     DecodeModuleSize},
    {0x09, 1, K::kFlag, "installed_double_bank", nullptr, 0x0200, 0x80},
    {0x0A, 1, K::kCustom, "enabled_size_bytes", nullptr, 0x0200, 0, Unit::kBytes, DecodeModuleSize},
    {0x0A, 1, K::kFlag, "enabled_double_bank", nullptr, 0x0200, 0x80},
    {0x0B, 1, K::kCustom, "error_status", "MEMMODERRORS", 0x0200, 0, Unit::kNone,
     DecodeModuleErrorStatus},
};

constexpr FieldRow kCache[] = {
    {0x04, 1, K::kString, "socket_designation", nullptr, 0x0200},
    // The cache configuration word, field by field.
    {0x05, 2, K::kCustom, "cache_level", nullptr, 0x0200, 0, Unit::kNone, DecodeCacheLevel},
    {0x05, 2, K::kFlag, "cache_socketed", nullptr, 0x0200, 0x0008},
    {0x05, 2, K::kEnum, "location", "CACHELOCATION", 0x0200, 0x0060},
    {0x05, 2, K::kFlag, "enabled", nullptr, 0x0200, 0x0080},
    {0x05, 2, K::kEnum, "operational_mode", "CACHEMODE", 0x0200, 0x0300},
    // With the 3.1 double words at 13h and 17h.
    {0x07, 2, K::kCustom, "maximum_cache_size_bytes", nullptr, 0x0200, 0, Unit::kBytes,
     DecodeCacheSize},
    {0x09, 2, K::kCustom, "installed_size_bytes", nullptr, 0x0200, 0, Unit::kBytes,
     DecodeCacheSize},
    {0x0B, 2, K::kBits, "supported_sram_type", "CACHESRAM", 0x0200},
    {0x0D, 2, K::kBits, "current_sram_type", "CACHESRAM", 0x0200},
    // Nanoseconds; 0: unknown.
    {0x0F, 1, K::kNumber, "cache_speed_ns", "ZEROUNKNOWN", 0x0201, 0, Unit::kNs},
    {0x10, 1, K::kEnum, "error_correction_type", "CACHEERRORCORRECTION", 0x0201},
    {0x11, 1, K::kEnum, "system_cache_type", "CACHESYSTEMTYPE", 0x0201},
    {0x12, 1, K::kEnum, "associativity", "CACHEASSOCIATIVITY", 0x0201},
};

constexpr FieldRow kMemoryArray[] = {
    {0x04, 1, K::kEnum, "location", "MEMARRLOC", 0x0201},
    {0x05, 1, K::kEnum, "use", "MEMARRUSE", 0x0201},
    {0x06, 1, K::kEnum, "memory_error_correction", "CACHEECC", 0x0201},
    // With the 2.7 extended capacity at 0Fh.
    {0x07, 4, K::kCustom, "maximum_capacity_bytes", nullptr, 0x0201, 0, Unit::kBytes,
     DecodeArrayCapacity},
    // FFFE: not provided; FFFF: no error detected.
    {0x0B, 2, K::kHandle, "memory_error_information_handle", "ERRORHANDLE", 0x0201},
    {0x0D, 2, K::kNumber, "number_of_memory_devices", nullptr, 0x0201},
};

constexpr FieldRow kMemoryDevice[] = {
    {0x04, 2, K::kHandle, "physical_memory_array_handle", nullptr, 0x0201},
    // FFFE: not provided; FFFF: no error detected.
    {0x06, 2, K::kHandle, "memory_error_information_handle", "ERRORHANDLE", 0x0201},
    // Widths in bits; FFFF: unknown.
    {0x08, 2, K::kNumber, "total_width_bits", "ALLONESUNKNOWN", 0x0201, 0, Unit::kBits},
    {0x0A, 2, K::kNumber, "data_width_bits", "ALLONESUNKNOWN", 0x0201, 0, Unit::kBits},
    // With the 2.7 extended size at 1Ch.
    {0x0C, 2, K::kCustom, "size_bytes", nullptr, 0x0201, 0, Unit::kBytes, DecodeMemoryDeviceSize},
    {0x0E, 1, K::kEnum, "form_factor", "MEMFORMFACTOR", 0x0201},
    // 0: not part of a set; FF: unknown.
    {0x0F, 1, K::kNumber, "device_set", nullptr, 0x0201},
    {0x10, 1, K::kString, "device_locator", nullptr, 0x0201},
    {0x11, 1, K::kString, "bank_locator", nullptr, 0x0201},
    {0x12, 1, K::kEnum, "memory_type", "MEMTYPE", 0x0201},
    {0x13, 2, K::kBits, "type_detail", "MEMTYPEDETAIL", 0x0201},
    // With the 3.3 extended speeds at 54h and 58h; 0: unknown.
    {0x15, 2, K::kCustom, "speed_mts", "ZEROUNKNOWN", 0x0203, 0, Unit::kMTs, DecodeMemorySpeed},
    {0x17, 1, K::kString, "manufacturer", nullptr, 0x0203},
    {0x18, 1, K::kString, "serial_number", nullptr, 0x0203},
    {0x19, 1, K::kString, "asset_tag", nullptr, 0x0203},
    {0x1A, 1, K::kString, "part_number", nullptr, 0x0203},
    // Bits 3:0 of the attributes; 0: unknown.
    {0x1B, 1, K::kNumber, "rank", "ZEROUNKNOWN", 0x0206, 0x0F},
    {0x20, 2, K::kCustom, "configured_memory_speed_mts", "ZEROUNKNOWN", 0x0207, 0, Unit::kMTs,
     DecodeMemorySpeed},
    // Millivolts; 0: unknown.
    {0x22, 2, K::kNumber, "minimum_voltage_mv", "ZEROUNKNOWN", 0x0208, 0, Unit::kMV},
    {0x24, 2, K::kNumber, "maximum_voltage_mv", "ZEROUNKNOWN", 0x0208, 0, Unit::kMV},
    {0x26, 2, K::kNumber, "configured_voltage_mv", "ZEROUNKNOWN", 0x0208, 0, Unit::kMV},
    {0x28, 1, K::kEnum, "memory_technology", "MEMTECHNOLOGY", 0x0302},
    {0x29, 2, K::kBits, "memory_operating_mode_capability", "MEMOPERATINGMODE", 0x0302},
    {0x2B, 1, K::kString, "firmware_version", nullptr, 0x0302},
    // IDs as the SPD holds them; 0: unknown (the mask of an "unless
    // unknown" row is the unknown value).
    {0x2C, 2, K::kCustom, "module_manufacturer_id", nullptr, 0x0302, 0, Unit::kNone, DecodeJedecId},
    {0x2E, 2, K::kCustom, "module_product_id", nullptr, 0x0302, 0, Unit::kNone,
     DecodeUnlessUnknown},
    {0x30, 2, K::kCustom, "memory_subsystem_controller_manufacturer_id", nullptr, 0x0302, 0,
     Unit::kNone, DecodeJedecId},
    {0x32, 2, K::kCustom, "memory_subsystem_controller_product_id", nullptr, 0x0302, 0, Unit::kNone,
     DecodeUnlessUnknown},
    // Bytes; all bits set: unknown (0: no such portion).
    {0x34, 8, K::kCustom, "non_volatile_size_bytes", nullptr, 0x0302, ~0ull, Unit::kBytes,
     DecodeUnlessUnknown},
    {0x3C, 8, K::kCustom, "volatile_size_bytes", nullptr, 0x0302, ~0ull, Unit::kBytes,
     DecodeUnlessUnknown},
    {0x44, 8, K::kCustom, "cache_size_bytes", nullptr, 0x0302, ~0ull, Unit::kBytes,
     DecodeUnlessUnknown},
    {0x4C, 8, K::kCustom, "logical_size_bytes", nullptr, 0x0302, ~0ull, Unit::kBytes,
     DecodeUnlessUnknown},
    {0x5C, 2, K::kCustom, "pmic0_manufacturer_id", nullptr, 0x0307, 0, Unit::kNone, DecodeJedecId},
    {0x5E, 2, K::kHex, "pmic0_revision_number", nullptr, 0x0307},
    {0x60, 2, K::kCustom, "rcd_manufacturer_id", nullptr, 0x0307, 0, Unit::kNone, DecodeJedecId},
    {0x62, 2, K::kHex, "rcd_revision_number", nullptr, 0x0307},
};

// Types 18 and 33: the same fields, with 64-bit addresses in 33. Bit 31
// (63) alone: unknown.
constexpr FieldRow kMemoryError32[] = {
    {0x04, 1, K::kEnum, "error_type", "MEMERRTYPE", 0x0201},
    {0x05, 1, K::kEnum, "error_granularity", "MEMERRGRA", 0x0201},
    {0x06, 1, K::kEnum, "error_operation", "MEMERROPE", 0x0201},
    // 0: unknown.
    {0x07, 4, K::kCustom, "vendor_syndrome", nullptr, 0x0201, 0, Unit::kNone, DecodeUnlessUnknown},
    {0x0B, 4, K::kCustom, "memory_array_error_address", nullptr, 0x0201, kTop32, Unit::kNone,
     DecodeUnlessUnknown},
    {0x0F, 4, K::kCustom, "device_error_address", nullptr, 0x0201, kTop32, Unit::kNone,
     DecodeUnlessUnknown},
    {0x13, 4, K::kCustom, "error_resolution_bytes", nullptr, 0x0201, kTop32, Unit::kBytes,
     DecodeUnlessUnknown},
};

constexpr FieldRow kMemoryError64[] = {
    {0x04, 1, K::kEnum, "error_type", "MEMERRTYPE", 0x0203},
    {0x05, 1, K::kEnum, "error_granularity", "MEMERRGRA", 0x0203},
    {0x06, 1, K::kEnum, "error_operation", "MEMERROPE", 0x0203},
    {0x07, 4, K::kCustom, "vendor_syndrome", nullptr, 0x0203, 0, Unit::kNone, DecodeUnlessUnknown},
    {0x0B, 8, K::kCustom, "memory_array_error_address", nullptr, 0x0203, kTop64, Unit::kNone,
     DecodeUnlessUnknown},
    {0x13, 8, K::kCustom, "device_error_address", nullptr, 0x0203, kTop64, Unit::kNone,
     DecodeUnlessUnknown},
    {0x1B, 4, K::kCustom, "error_resolution_bytes", nullptr, 0x0203, kTop32, Unit::kBytes,
     DecodeUnlessUnknown},
};

// Types 19 and 20: the range in KiB, or the 2.7 extended addresses in bytes.
constexpr FieldRow kArrayMappedAddress[] = {
    {0x04, 8, K::kCustom, "range_size_bytes", nullptr, 0x0201, 0, Unit::kBytes, DecodeMappedRange},
    {0x0C, 2, K::kHandle, "memory_array_handle", nullptr, 0x0201},
    {0x0E, 1, K::kNumber, "partition_width", nullptr, 0x0201},
};

constexpr FieldRow kDeviceMappedAddress[] = {
    {0x04, 8, K::kCustom, "range_size_bytes", nullptr, 0x0201, 0, Unit::kBytes, DecodeMappedRange},
    {0x0C, 2, K::kHandle, "memory_device_handle", nullptr, 0x0201},
    {0x0E, 2, K::kHandle, "memory_array_mapped_address_handle", nullptr, 0x0201},
    // FF: unknown; an interleave position of 0: not interleaved.
    {0x10, 1, K::kNumber, "partition_row_position", nullptr, 0x0201},
    {0x11, 1, K::kNumber, "interleave_position", nullptr, 0x0201},
    {0x12, 1, K::kNumber, "interleaved_data_depth", nullptr, 0x0201},
};

template <size_t N>
constexpr TypeTable Type(uint8_t type, const FieldRow (&fields)[N]) {
  return TypeTable{type, fields, N};
}

constexpr TypeTable kTypes[] = {
    Type(5, kMemoryController),    Type(6, kMemoryModule),         Type(7, kCache),
    Type(16, kMemoryArray),        Type(17, kMemoryDevice),        Type(18, kMemoryError32),
    Type(19, kArrayMappedAddress), Type(20, kDeviceMappedAddress), Type(33, kMemoryError64),
};

}  // namespace

extern const TypeGroup kTypes5To33 = {kTypes, sizeof kTypes / sizeof kTypes[0]};
