// The command line's options, in the established SMBIOS tool's conventions
// so that habits and scripts carry over.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct CliOptions {
  std::array<bool, 256> types{};  // -t: the types to show
  bool anyType = false;           // a -t was given
  std::vector<uint16_t> handles;  // -H
  bool rawBytes = false;          // -u
  std::string keyword;            // -s
  bool listStrings = false;
  bool listTypes = false;
  bool json = false;
  bool quiet = false;
  bool mask = false;  // --mask: serial numbers, UUIDs and asset tags hidden
  bool version = false;
  bool help = false;
  std::string dumpPath;      // --from-dump
  std::string tableVersion;  // --table-version, for a bare table
  std::string dumpBinPath;   // --dump-bin: save the table instead of showing it
};

// Parses the arguments after the program name. False with *error set (one
// line saying what to do) when they are not a valid command line.
bool ParseCliOptions(const std::vector<std::string>& args, CliOptions* options, std::string* error);

// The types a -t value names: numbers 0 to 255, comma lists, and the
// keywords with their groups (bios, system, baseboard, chassis, processor,
// memory, cache, connector, slot). False for anything else.
bool AddTypes(const std::string& value, std::array<bool, 256>* types);

// The -t keywords with their types, for the help text.
std::string TypeKeywordList();

extern const char* const kCliUsage;
