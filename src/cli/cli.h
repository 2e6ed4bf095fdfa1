// The command line's run: options, the table read in process (no collector,
// no temporary file), the model, and its text, JSON or one value.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "firmware.h"
#include "syslens_version.h"

enum CliExit {
  kCliDone = 0,
  kCliNoTable = 1,   // no usable table: absent, unreadable or broken
  kCliBadUsage = 2,  // a bad command line
};

constexpr const char* kCliVersion = SYSLENS_VERSION;

// args: the arguments after the program's name. read gives the machine's
// own table when no --from-dump names a file.
int RunCommandLine(const std::vector<std::string>& args, FirmwareReader read, FILE* out, FILE* err);
