// Decoding of the structure types 18 to 21: memory error, memory array and
// memory device mapped addresses and built-in pointing device.
#pragma once

#include "dmi_rows.h"

void DecodeMemoryError(const DmiStructure& s);
// The dump's count of structures of the type numbers the property keys; it
// grows by one once the structure is reported.
void DecodeMemoryArrayMappedAddress(const DmiStructure& s, DmiDumpState& state);
void DecodeMemoryDeviceMappedAddress(const DmiStructure& s, DmiDumpState& state);
void DecodeBuiltinPointingDevice(const DmiStructure& s);
