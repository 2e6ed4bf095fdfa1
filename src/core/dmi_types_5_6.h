// Decodings of the structure types 5 and 6: memory controller and memory
// module.
#pragma once

#include "dmi_rows.h"

void DecodeMemoryControllerInformation(const DmiStructure& s);
// Numbers its property keys with the dump's key counters and increases them.
void DecodeMemoryModuleInformation(const DmiStructure& s, DmiDumpState& state);
