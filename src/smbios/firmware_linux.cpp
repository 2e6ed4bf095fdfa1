// Linux exposes the SMBIOS entry point and the structure table as two files
// (kernel 4.2 and later); both are readable by root only.
#include <string>

#include "firmware.h"

namespace {

constexpr const char* kEntryPointFile = "/sys/firmware/dmi/tables/smbios_entry_point";
constexpr const char* kTableFile = "/sys/firmware/dmi/tables/DMI";

}  // namespace

FirmwareTables ReadFirmwareTables() {
  FirmwareTables firmware;
  firmware.form = FirmwareTables::Form::kEntryPointAndTable;
  firmware.origin = kTableFile;
  std::string error;
  bool missing = false;
  if (!ReadWholeFile(kEntryPointFile, kLargestTableFile, &firmware.entryPoint, &error, &missing) ||
      !ReadWholeFile(kTableFile, kLargestTableFile, &firmware.table, &error, &missing)) {
    // Without the files the machine (or container) shows no SMBIOS tables;
    // with them but unreadable, the tables exist and only rights are missing.
    firmware.state = missing ? FirmwareTables::State::kAbsent : FirmwareTables::State::kUnreadable;
    firmware.error = error;
    return firmware;
  }
  firmware.state = FirmwareTables::State::kRead;
  return firmware;
}
