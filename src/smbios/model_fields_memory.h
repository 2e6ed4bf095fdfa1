// Named decoders of the memory and cache structures (types 5, 6, 7, 16 to
// 20 and 33): sizes in their coded and extended forms, speeds with their
// extended forms, JEDEC manufacturer IDs, mapped address ranges, and values
// that stand for "unknown".
#pragma once

#include "model.h"

// A number of row.width bytes, or, when it equals row.mask (the field's
// "unknown" value, 0 included), the state Unknown under the same name.
// Numbers in bytes (unit kBytes) stay numbers; others are hexadecimal.
void DecodeUnlessUnknown(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Field after a list of word handles whose count byte lies at 0x0E (type 5:
// the enabled error correcting capabilities); row.offset counts from the
// end of the list, row.values names the bits.
void DecodeAfterHandlesBits(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 5: maximum module size, 2 to the power of the byte in MiB, and the
// controller's maximum: that size times the slots.
void DecodeModuleSizePower(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 6: the RAS lines of the bank connections (one per nibble, F: none);
// the installed and enabled sizes (2^n MiB, or a state), single or double
// bank.
void DecodeBankConnections(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeModuleSize(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 6: the error status bits (row.values), bits 1:0 reserved when bit 2
// sends the reader to the event log.
void DecodeModuleErrorStatus(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 7: the cache level (bits 2:0 of the configuration, plus one); the
// maximum and installed sizes, from the 3.1 double word when the word says
// FFFF.
void DecodeCacheLevel(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeCacheSize(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 16: maximum capacity in KiB, or the 2.7 extended capacity in bytes.
void DecodeArrayCapacity(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 17: the size (KiB or MiB, the 2.7 extended size, or a state); speeds
// in MT/s with the 3.3 extended forms; JEP-106 manufacturer IDs (bank and
// ID; 0 is the state Unknown).
void DecodeMemoryDeviceSize(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeMemorySpeed(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeJedecId(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Types 19 and 20: starting and ending byte addresses (from KiB, or the 2.7
// extended addresses when the starting address is FFFFFFFF) and the size of
// the range.
void DecodeMappedRange(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
