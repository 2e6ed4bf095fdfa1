// SYSLENSC.EXE: the command line as a Windows console program of its own
// (SYSLENS.EXE stays the suite's GUI program). The table comes from
// GetSystemFirmwareTable('RSMB') in process.
#include <cstdio>
#include <string>
#include <vector>

#include "cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunCommandLine(args, ReadFirmwareTables, stdout, stderr);
}
