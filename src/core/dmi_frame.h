// Entry of the structure decoder: every structure of the dump, in file order.
#pragma once

#include <cstdint>

// Returns 1 to go on with the next structure.
int DMI_Print_Structure(uint8_t* bStructureBuffer, int* piNumMemDevices,
                        int* piNumMemArrrayMappedAddresses, int* piNumMemDevMappedAddresses,
                        int* pbProcessingPortConnInfoStructs,
                        int* pbProcessingSystemSlotStructs, int iStructBufferSize);

void FinishProcessingPortConnInfoStructs(int* pbProcessingPortConnInfoStructs);
void FinishProcessingSystemSlotStructs(int* pbProcessingSystemSlotStructs);
