// Frame of the structure decoder: closes a pending port-connector or slot
// table when another type arrives, filters by type and language, and hands
// the structure to its type's decoding.
#include "dmi_frame.h"

// Decodings of the structure groups (one header each):
#include "dmi_types_0_4.h"
#include "dmi_types_5_6.h"
#include "dmi_types_7_8.h"
#include "dmi_types_9_13.h"
#include "dmi_types_16_17.h"
#include "dmi_types_26_30.h"
#include "dmi_types_18_21.h"
#include "dmi_types_22_25.h"
#include "int_str.h"

namespace {

constexpr uint8_t kPortConnectorType = 8;
constexpr uint8_t kSystemSlotType = 9;
// Types from here on are reported in English only.
constexpr uint8_t kFirstEnglishOnlyType = 16;
constexpr uint8_t kFirstOemType = 128;

}  // namespace

int DMI_Print_Structure(uint8_t* bStructureBuffer, DmiDumpState& state, int iStructBufferSize) {
  if (!bStructureBuffer || iStructBufferSize < 1) return 1;
  const uint8_t bType = bStructureBuffer[0];
  // A structure that is not reported still ends a pending table.
  if (state.portTableOpen && bType != kPortConnectorType) {
    FinishProcessingPortConnInfoStructs(state);
  }
  if (state.slotTableOpen && bType != kSystemSlotType) FinishProcessingSystemSlotStructs(state);
  if (bType >= kFirstEnglishOnlyType && iCurrentLanguage != 0) return 1;
  if (bType >= kFirstOemType) return 1;
  // Each decoding reads the structure through a view bounded by the buffer
  // and by the structure's formatted length. Types without a decoding
  // (14, 15, 31 to 127, Inactive and End-of-Table included) report nothing;
  // End-of-Table does not end the reading either.
  const DmiStructure s = ViewStructure(bStructureBuffer, iStructBufferSize);
  switch (bType) {
    case 0: DecodeBiosInformation(s); break;
    case 1: DecodeSystemInformation(s); break;
    case 2: DecodeBaseBoardInformation(s); break;
    case 3: DecodeSystemEnclosure(s); break;
    case 4: DecodeProcessorInformation(s); break;
    // types 5 and 6
    case 5: DecodeMemoryControllerInformation(s); break;
    case 6: DecodeMemoryModuleInformation(s, state); break;
    // types 7 and 8
    case 7: DecodeCacheInformation(s, state); break;
    case 8: DecodePortConnectorInformation(s, state); break;
    // types 9 to 13
    case 9: DecodeSystemSlots(s, state); break;
    case 10: DecodeOnBoardDevices(s); break;
    case 11: DecodeOemStrings(s); break;
    case 12: DecodeSystemConfigOptions(s); break;
    case 13: DecodeBiosLanguage(s); break;
    // types 16 and 17
    case 16: DecodePhysicalMemoryArray(s); break;
    case 17: DecodeMemoryDevice(s, state); break;
    // types 18 to 21
    case 18: DecodeMemoryError(s); break;
    case 19: DecodeMemoryArrayMappedAddress(s, state); break;
    case 20: DecodeMemoryDeviceMappedAddress(s, state); break;
    case 21: DecodeBuiltinPointingDevice(s); break;
    // types 22 to 25
    case 22: DecodePortableBattery(s); break;
    case 23: DecodeSystemReset(s); break;
    case 24: DecodeHardwareSecurity(s); break;
    case 25: DecodeSystemPowerControls(s); break;
    // types 26 to 30
    case 26: DecodeVoltageProbe(s); break;
    case 27: DecodeCoolingDevice(s); break;
    case 28: DecodeTemperatureProbe(s); break;
    case 29: DecodeCurrentProbe(s); break;
    case 30: DecodeOutOfBandRemoteAccess(s); break;
    default: break;
  }
  return 1;
}

void FinishProcessingPortConnInfoStructs(DmiDumpState& state) {
  EndStructure();
  state.portTableOpen = false;
}

void FinishProcessingSystemSlotStructs(DmiDumpState& state) {
  EndStructure();
  state.slotTableOpen = false;
}
