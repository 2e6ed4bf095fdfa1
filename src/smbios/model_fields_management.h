// Named decoders of the power, probe and management structures (types 21
// to 46): values with an "unknown" marker, codes with vendor ranges, BCD
// times, and the lists and blocks whose layout depends on earlier bytes.
#pragma once

#include "model.h"

// A number whose marker says "unknown": shown as the code named Unknown,
// else a number in row.unit. The probes' words use 8000h, other fields all
// ones (FFh, FFFFh...).
void DecodeNumberOrUnknown(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// The same for a signed reading (probe values, thresholds): 8000h unknown.
void DecodeSignedOrUnknown(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeNumberOrAllOnes(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// A code of row.values whose vendor or OEM range is named by its first code.
void DecodeRangedEnum(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 22: the design capacity times the multiplier of 2.2; the SBDS date.
void DecodeBatteryCapacity(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeSbdsDate(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 25: one BCD byte of the next scheduled power-on.
void DecodeBcd(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 32: the boot status code and the bytes after it.
void DecodeBootStatus(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 37: the memory devices of the channel (load and handle each).
void DecodeChannelDevices(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 38: the revision byte as major.minor; the base address with its
// least significant bit from the modifier byte.
void DecodeNibbleRevision(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeIpmiBaseAddress(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 40: the additional information entries.
void DecodeAdditionalEntries(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 43: the vendor ID's four characters; the firmware revision in the
// form of the TPM family (1.2 or 2.0).
void DecodeTpmVendor(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeTpmFirmware(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 44: the processor-specific data; the RISC-V block by its own table.
void DecodeProcessorBlock(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// A 128-bit value as hexadecimal text (RISC-V IDs and delegation masks).
void DecodeHex128(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);

// Bytes as hexadecimal text, "01 A2 ..."; empty for none.
std::string HexBytesText(ByteView bytes);

// The field table of the RISC-V processor-specific data (types_21_46.cpp);
// offsets count from the start of the data, offset 08h of type 44.
extern const TypeTable kRiscVBlock;

// Type 44's RISC-V block: the revision word, major in the high byte.
void DecodeRiscVRevision(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
