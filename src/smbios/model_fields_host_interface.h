// Decoders of the management controller host interface (type 42): the
// network host interface's device description and the Redfish-over-IP
// protocol record, as the Redfish host interface standard (DSP0270) lays
// them out. Each layout is a field table of its own, decoded on the slice
// of the structure that holds it.
#pragma once

#include "model.h"

// Interface-specific data of a network host interface (type 40h): the
// device type and its description; other interface types keep hex bytes.
void DecodeInterfaceData(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
// The protocol records after the interface data; Redfish over IP (04h)
// decoded into rows, other protocols as hex bytes.
void DecodeProtocolRecords(const DecodeContext& c, const FieldRow& row, std::vector<Field>* out);
