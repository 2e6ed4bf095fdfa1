// Decodings of the structure types 26 to 30: voltage probe, cooling device,
// temperature probe, electrical current probe and out-of-band remote access.
#pragma once

#include <cstddef>

#include "dmi_rows.h"

void DecodeVoltageProbe(const DmiStructure& s);
void DecodeCoolingDevice(const DmiStructure& s);
void DecodeTemperatureProbe(const DmiStructure& s);
void DecodeCurrentProbe(const DmiStructure& s);
void DecodeOutOfBandRemoteAccess(const DmiStructure& s);

// Text of a temperature reading given in units of 10^-decimals degrees
// (tenths: decimals 1, thousandths: decimals 3), shown through the degree
// format, which takes one whole number: the whole degrees go through the
// format's conversion and the fraction follows them with all its digits, so
// 255 tenths with "%u degrees C" read "25.5 degrees C". A negative reading
// gets a minus sign before the number. A format whose conversions are not
// exactly one integer is copied as plain text.
void FormatTemperature(char* out, size_t size, const char* format, long value, int decimals);
