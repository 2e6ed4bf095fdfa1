// PROBEX.EXE <dump file>: writes this machine's SMBIOS structures (or those
// of the saved table named by PROBEX_SMBIOS_DUMP) into the dump file. A
// console program: the viewer starts it hidden, and run by hand its messages
// reach the console.
#include <cstdlib>
#include <string>

#include "collector.h"
#include "firmware.h"
#include "platform.h"

int main(int argc, char** argv) {
  // The viewer's command line is "<collector path> <dump path>", neither
  // quoted, and either may hold blanks; the dump file already exists, which
  // tells where the dump path begins.
  std::string joined;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) joined += ' ';
    joined += argv[i];
  }
  CollectorSettings settings;
  settings.dumpPath = ChooseDumpPath(PlatRawCommandLine(), joined, FileExists);
  if (const char* saved = getenv(kSavedTableVariable)) {
    settings.savedTablePath = saved;
    settings.savedTableSet = true;
  }
  if (const char* version = getenv(kBareTableVersionVariable)) settings.bareTableVersion = version;
  settings.readFirmware = ReadFirmwareTables;
  return RunCollector(settings);
}
