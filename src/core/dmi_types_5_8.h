// Decodings of the structure types 5 to 8: memory controller, memory module,
// cache and port connector.
#pragma once

#include "dmi_rows.h"

void DecodeMemoryControllerInformation(const DmiStructure& s);
// Numbers its property keys with iCounterForModInfo and increases it.
void DecodeMemoryModuleInformation(const DmiStructure& s);
// Numbers its property keys with iCounterForCacheInfo and increases it.
void DecodeCacheInformation(const DmiStructure& s);
// One line of the port-connector table. The first structure of a run (the
// flag at pbProcessingPortConnInfoStructs is 0) writes the table's heading
// and sets the flag; the frame ends the table when another type arrives.
// Numbers its property keys with iCounterForPortConnInfo and increases it.
void DecodePortConnectorInformation(const DmiStructure& s,
                                    int* pbProcessingPortConnInfoStructs);
