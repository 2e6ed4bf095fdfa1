// The collector's run: pick the source of the SMBIOS table, walk it, and
// write the dump file the viewer reads. Portable; the firmware itself is read
// by the platform's ReadFirmwareTables (firmware.h), passed in so that tests
// can stand in for it.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "bytes.h"
#include "firmware.h"

// Environment variable naming a saved table file to report instead of the
// machine's firmware tables, and the one giving the version of a bare table.
constexpr const char* kSavedTableVariable = "PROBEX_SMBIOS_DUMP";
constexpr const char* kBareTableVersionVariable = "PROBEX_SMBIOS_VERSION";

// Exit codes of the collector (the viewer does not judge them; they are for
// people and scripts that run it by hand).
enum CollectorExit {
  kExitComplete = 0,           // dump written and marked complete
  kExitUsage = 1,              // no dump path on the command line
  kExitDumpNotWritten = 2,     // the dump file could not be written
  kExitSavedTableBad = 3,      // the saved table named by the environment is unusable
  kExitFirmwareBad = 4,        // the firmware tables exist but are unreadable or unusable
  kExitReportedUpToBreak = 5,  // dump complete, but only up to where the table broke
};

struct CollectorSettings {
  std::string dumpPath;
  // Saved table file and bare-table version; empty when not set.
  std::string savedTablePath;
  std::string bareTableVersion;
  // The saved-table variable is set (an empty value is then an error).
  bool savedTableSet = false;
  FirmwareReader readFirmware = nullptr;
  // Receives every message, one line each, prefixed with "probex: ".
  FILE* messages = stderr;
};

int RunCollector(const CollectorSettings& settings);

// The dump path within a command line made of the collector's path, one
// blank and the dump path, none of them quoted, where either path may
// contain blanks: the longest text after a blank that names an existing file
// (the viewer creates the dump file before starting the collector), else
// fallback.
std::string ChooseDumpPath(const std::string& commandLine, const std::string& fallback,
                           bool (*exists)(const std::string& path));

// True when path names a file that can be opened for reading.
bool FileExists(const std::string& path);
