// Decoding of the structure types 22 to 25: portable battery, system reset,
// hardware security and system power controls.
#pragma once

#include "dmi_rows.h"

void DecodePortableBattery(const DmiStructure& s);
void DecodeSystemReset(const DmiStructure& s);
void DecodeHardwareSecurity(const DmiStructure& s);
void DecodeSystemPowerControls(const DmiStructure& s);
