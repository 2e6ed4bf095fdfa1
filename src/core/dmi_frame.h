// Entry of the structure decoder: every structure of the dump, in file order.
#pragma once

#include <cstdint>

#include "dmi_rows.h"

// Decodes the structure at the start of a buffer of iStructBufferSize bytes
// with the dump's state. Returns 1 to go on with the next structure.
int DMI_Print_Structure(uint8_t* bStructureBuffer, DmiDumpState& state, int iStructBufferSize);

// Ends a run of port connectors or of system slots still open: its table
// ends and the state says so.
void FinishProcessingPortConnInfoStructs(DmiDumpState& state);
void FinishProcessingSystemSlotStructs(DmiDumpState& state);
