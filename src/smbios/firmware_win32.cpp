// Windows hands out the SMBIOS table through the firmware table provider
// 'RSMB' (Windows Vista / Server 2003 SP1 and later): a small header with the
// version and length, then the table. The call itself lies behind the
// platform seam.
#include <string>

#include "firmware.h"
#include "platform.h"

namespace {

// 'RSMB' as the provider signature: the characters from the most
// significant byte down.
constexpr uint32_t kRawSmbiosProvider = ('R' << 24) | ('S' << 16) | ('M' << 8) | 'B';

}  // namespace

FirmwareTables ReadFirmwareTables() {
  FirmwareTables firmware;
  firmware.form = FirmwareTables::Form::kRawSmbiosData;
  firmware.origin = "GetSystemFirmwareTable('RSMB')";
  uint32_t error = 0;
  const uint32_t needed = PlatReadFirmwareTable(kRawSmbiosProvider, nullptr, 0, &error);
  if (needed == 0) {
    // No provider or no table: the machine reports no SMBIOS.
    firmware.state = FirmwareTables::State::kAbsent;
    return firmware;
  }
  if (needed > kLargestTableFile) {
    firmware.state = FirmwareTables::State::kUnreadable;
    firmware.error = firmware.origin + " announces " + std::to_string(needed) +
                     " bytes, too many for an SMBIOS table";
    return firmware;
  }
  firmware.table.resize(needed);
  const uint32_t got =
      PlatReadFirmwareTable(kRawSmbiosProvider, firmware.table.data(), needed, &error);
  if (got == 0 || got > needed) {
    firmware.state = FirmwareTables::State::kUnreadable;
    firmware.error = firmware.origin + " failed (error " + std::to_string(error) + ")";
    firmware.table.clear();
    return firmware;
  }
  firmware.table.resize(got);
  firmware.state = FirmwareTables::State::kRead;
  return firmware;
}
