// Decodings of the structure types 9 to 13, 16 and 17: system slots, on-board
// devices, OEM strings, system configuration options, BIOS language,
// physical memory array and memory device.
#pragma once

#include "dmi_rows.h"

// System slots: consecutive slot structures share one table. The first of a
// run writes the table's heading and sets the pending-table flag, which the
// frame clears (and closes the table) when another type arrives.
void DecodeSystemSlots(const DmiStructure& s, int* pbProcessingSystemSlotStructs);
void DecodeOnBoardDevices(const DmiStructure& s);
void DecodeOemStrings(const DmiStructure& s);
void DecodeSystemConfigOptions(const DmiStructure& s);
void DecodeBiosLanguage(const DmiStructure& s);
void DecodePhysicalMemoryArray(const DmiStructure& s);
// piNumMemDevices numbers the keys of the memory devices of one dump; it is
// increased by one after each device.
void DecodeMemoryDevice(const DmiStructure& s, int* piNumMemDevices);
