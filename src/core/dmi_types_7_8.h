// Decodings of the structure types 7 and 8: cache and port connector.
#pragma once

#include "dmi_rows.h"

// Numbers its property keys with the dump's key counters and increases them.
void DecodeCacheInformation(const DmiStructure& s, DmiDumpState& state);
// One line of the port-connector table. The first structure of a run (no
// port table open) writes the table's heading and opens it; the frame ends
// the table when another type arrives.
void DecodePortConnectorInformation(const DmiStructure& s, DmiDumpState& state);
