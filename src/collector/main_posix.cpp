// probex <dump file>: writes this machine's SMBIOS structures (or those of
// the saved table named by PROBEX_SMBIOS_DUMP) into the dump file.
#include <cstdlib>
#include <string>

#include "collector.h"
#include "firmware.h"

int main(int argc, char** argv) {
  // The viewer passes the dump path unquoted; the process starter splits it
  // at blanks, and joining the pieces gives it back.
  std::string path;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) path += ' ';
    path += argv[i];
  }
  CollectorSettings settings;
  settings.dumpPath = path;
  if (const char* saved = getenv(kSavedTableVariable)) {
    settings.savedTablePath = saved;
    settings.savedTableSet = true;
  }
  if (const char* version = getenv(kBareTableVersionVariable)) settings.bareTableVersion = version;
  settings.readFirmware = ReadFirmwareTables;
  return RunCollector(settings);
}
