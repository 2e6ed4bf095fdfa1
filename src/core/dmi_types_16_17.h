// Decodings of the structure types 16 and 17: physical memory array and
// memory device.
#pragma once

#include "dmi_rows.h"

void DecodePhysicalMemoryArray(const DmiStructure& s);
// The dump's count of memory devices numbers the device's keys; it is
// increased by one after each device.
void DecodeMemoryDevice(const DmiStructure& s, DmiDumpState& state);
