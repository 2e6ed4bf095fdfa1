// Decodings of the structure types 0 to 4: BIOS, system, base board,
// enclosure and processor.
#pragma once

#include "dmi_rows.h"

void DecodeBiosInformation(const DmiStructure& s);
void DecodeSystemInformation(const DmiStructure& s);
void DecodeBaseBoardInformation(const DmiStructure& s);
void DecodeSystemEnclosure(const DmiStructure& s);
void DecodeProcessorInformation(const DmiStructure& s);
