// Named decoders of the port, slot and device structures (types 8 to 15 and
// 41): records repeated after a count, fields that follow them, and fields
// whose meaning depends on another field. Field tables (types_8_15.cpp) name
// them in kCustom rows.
#pragma once

#include "model.h"

// Type 9: the slot ID (its meaning depends on the slot type), the peer
// segment/bus/device/function/width groups, and the fields after the
// groups (row.offset counts from the end of the groups; row.values names
// the section of an enumeration, none for a number).
void DecodeSlotId(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeSlotPeerGroups(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeAfterPeerGroups(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeSlotPitch(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 10: the device records that fill the structure.
void DecodeOnboardDevices(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Types 11, 12 and 13: the strings 1 to the count at row.offset.
void DecodeCountedStrings(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 14: the item records that fill the structure.
void DecodeGroupItems(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// Type 15: the access method address in the form the access method gives
// it, and the supported log type descriptors.
void DecodeEventLogAddress(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
void DecodeLogTypeDescriptors(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
