// Decodings of the structure types 5 to 8: memory controller, memory module,
// cache and port connector.
#pragma once

#include "dmi_rows.h"

void DecodeMemoryControllerInformation(const DmiStructure& s);
// Number their property keys with the dump's key counters and increase them.
void DecodeMemoryModuleInformation(const DmiStructure& s, DmiDumpState& state);
void DecodeCacheInformation(const DmiStructure& s, DmiDumpState& state);
// One line of the port-connector table. The first structure of a run (no
// port table open) writes the table's heading and opens it; the frame ends
// the table when another type arrives.
void DecodePortConnectorInformation(const DmiStructure& s, DmiDumpState& state);
