// Decodings of the structure types 9 to 13: system slots, on-board devices,
// OEM strings, system configuration options and BIOS language.
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
