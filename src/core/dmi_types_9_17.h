// Decodings of the structure types 9 to 13, 16 and 17: system slots, on-board
// devices, OEM strings, system configuration options, BIOS language,
// physical memory array and memory device.
#pragma once

#include "dmi_rows.h"

// System slots: consecutive slot structures share one table. The first of a
// run writes the table's heading and opens it; the frame closes it when
// another type arrives. The slots number their keys with the dump's key
// counters.
void DecodeSystemSlots(const DmiStructure& s, DmiDumpState& state);
void DecodeOnBoardDevices(const DmiStructure& s);
void DecodeOemStrings(const DmiStructure& s);
void DecodeSystemConfigOptions(const DmiStructure& s);
void DecodeBiosLanguage(const DmiStructure& s);
void DecodePhysicalMemoryArray(const DmiStructure& s);
// The dump's count of memory devices numbers the device's keys; it is
// increased by one after each device.
void DecodeMemoryDevice(const DmiStructure& s, DmiDumpState& state);
