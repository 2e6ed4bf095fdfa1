// Decoding of the structure types 18 to 25: memory error, memory array and
// memory device mapped addresses, built-in pointing device, portable
// battery, system reset, hardware security and system power controls.
#pragma once

#include "dmi_rows.h"

void DecodeMemoryError(const DmiStructure& s);
// The counter numbers the structure's property keys; it grows by one once
// the structure is reported.
void DecodeMemoryArrayMappedAddress(const DmiStructure& s, int* piNumMemArrrayMappedAddresses);
void DecodeMemoryDeviceMappedAddress(const DmiStructure& s, int* piNumMemDevMappedAddresses);
void DecodeBuiltinPointingDevice(const DmiStructure& s);
void DecodePortableBattery(const DmiStructure& s);
void DecodeSystemReset(const DmiStructure& s);
void DecodeHardwareSecurity(const DmiStructure& s);
void DecodeSystemPowerControls(const DmiStructure& s);
