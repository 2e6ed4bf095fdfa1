// Linux exposes the SMBIOS entry point and the structure table as two files
// (kernel 4.2 and later); both are readable by root only.
#include <string>

#include "dmi_id.h"
#include "firmware.h"

FirmwareTables ReadFirmwareTables() {
  FirmwareTables firmware;
  firmware.form = FirmwareTables::Form::kEntryPointAndTable;
  const std::string tables = SysfsRoot() + "/firmware/dmi/tables/";
  const std::string entryPointFile = tables + "smbios_entry_point";
  const std::string tableFile = tables + "DMI";
  firmware.origin = tableFile;
  std::string error;
  bool missing = false;
  if (!ReadWholeFile(entryPointFile, kLargestTableFile, &firmware.entryPoint, &error, &missing) ||
      !ReadWholeFile(tableFile, kLargestTableFile, &firmware.table, &error, &missing)) {
    // Without the files the machine (or container) shows no SMBIOS tables;
    // with them but unreadable, the tables exist and only rights are missing.
    firmware.state = missing ? FirmwareTables::State::kAbsent : FirmwareTables::State::kUnreadable;
    firmware.error = error;
    return firmware;
  }
  firmware.state = FirmwareTables::State::kRead;
  return firmware;
}
