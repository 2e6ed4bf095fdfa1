// Named decoders for fields that need logic beyond offset, width and kind:
// sizes with extended forms, the UUID's byte order, lists, fields whose
// offset depends on earlier ones. Field tables name them in kCustom rows.
#pragma once

#include "model.h"

// Type 0: ROM size (with the 3.1 extended size) and the runtime size below
// 1 MiB that the starting segment implies.
void DecodeBiosRomSize(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeBiosRuntime(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 1: the UUID, in the byte order of the table's version.
void DecodeUuid(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 2: the contained object handles (count at row.offset, handles after it).
void DecodeHandleList(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 3: the contained element records, and the fields that follow them
// (row.offset counts from the end of the records; row.kind of the row is
// kCustom, the field's own kind is named by the decoder; a number with a
// value section is an enumeration).
void DecodeContainedElements(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeAfterElementsString(const DecodeContext& c, const FieldRow& row,
                               std::vector<Field>* out);
void DecodeAfterElementsNumber(const DecodeContext& c, const FieldRow& row,
                               std::vector<Field>* out);
// Type 4: the processor ID with, for x86 processors, its signature and
// feature flags; the voltage in its two forms.
void DecodeProcessorId(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeProcessorVoltage(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);

// The UUID text of 16 bytes; the first three groups little-endian from
// SMBIOS 2.6 on, as the standard has it (earlier tables stored them as they
// read, and firmware of that time did so).
std::string UuidText(ByteView bytes, size_t offset, bool littleEndianGroups);
