// Frame of the structure decoder: closes a pending port-connector or slot
// table when another type arrives, filters by type and language, and hands
// the structure to its type's decoding.
#include "dmi_frame.h"

#include "int_str.h"
#include "qmrkw32.h"
#include "syslens.h"

namespace {

constexpr uint8_t kPortConnectorType = 8;
constexpr uint8_t kSystemSlotType = 9;
// Types from here on are reported in English only.
constexpr uint8_t kFirstEnglishOnlyType = 16;
constexpr uint8_t kFirstOemType = 128;

}  // namespace

int DMI_Print_Structure(uint8_t* bStructureBuffer, int* /*piNumMemDevices*/,
                        int* /*piNumMemArrrayMappedAddresses*/,
                        int* /*piNumMemDevMappedAddresses*/,
                        int* pbProcessingPortConnInfoStructs,
                        int* pbProcessingSystemSlotStructs, int iStructBufferSize) {
  if (!bStructureBuffer || iStructBufferSize < 1) return 1;
  const uint8_t bType = bStructureBuffer[0];
  // A structure that is not reported still ends a pending table.
  if (*pbProcessingPortConnInfoStructs && bType != kPortConnectorType) {
    FinishProcessingPortConnInfoStructs(pbProcessingPortConnInfoStructs);
  }
  if (*pbProcessingSystemSlotStructs && bType != kSystemSlotType) {
    FinishProcessingSystemSlotStructs(pbProcessingSystemSlotStructs);
  }
  if (bType >= kFirstEnglishOnlyType && iCurrentLanguage != 0) return 1;
  if (bType >= kFirstOemType) return 1;
  // The decodings of the structure types plug in here.
  return 1;
}

void FinishProcessingPortConnInfoStructs(int* pbProcessingPortConnInfoStructs) {
  if (bHTML) QMRKEndTable(&wnd_data);
  *pbProcessingPortConnInfoStructs = 0;
}

void FinishProcessingSystemSlotStructs(int* pbProcessingSystemSlotStructs) {
  if (bHTML) QMRKEndTable(&wnd_data);
  *pbProcessingSystemSlotStructs = 0;
}
