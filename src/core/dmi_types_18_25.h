// Decoding of the structure types 18 to 25: memory error, memory array and
// memory device mapped addresses, built-in pointing device, portable
// battery, system reset, hardware security and system power controls.
#pragma once

#include "dmi_rows.h"

void DecodeMemoryError(const DmiStructure& s);
// The dump's count of structures of the type numbers the property keys; it
// grows by one once the structure is reported.
void DecodeMemoryArrayMappedAddress(const DmiStructure& s, DmiDumpState& state);
void DecodeMemoryDeviceMappedAddress(const DmiStructure& s, DmiDumpState& state);
void DecodeBuiltinPointingDevice(const DmiStructure& s);
void DecodePortableBattery(const DmiStructure& s);
void DecodeSystemReset(const DmiStructure& s);
void DecodeHardwareSecurity(const DmiStructure& s);
void DecodeSystemPowerControls(const DmiStructure& s);
