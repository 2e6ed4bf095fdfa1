// The running machine's SMBIOS tables, read the platform's way:
// firmware_linux.cpp (sysfs) or firmware_win32.cpp (GetSystemFirmwareTable).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What the platform found of the machine's firmware tables.
struct FirmwareTables {
  enum class State { kAbsent, kRead, kUnreadable };
  enum class Form { kEntryPointAndTable, kRawSmbiosData };
  State state = State::kAbsent;
  Form form = Form::kEntryPointAndTable;
  // kEntryPointAndTable: both; kRawSmbiosData: the raw data in table.
  std::vector<uint8_t> entryPoint;
  std::vector<uint8_t> table;
  // Where the data came from, for messages; and why they could not be read.
  std::string origin;
  std::string error;
};

using FirmwareReader = FirmwareTables (*)();

FirmwareTables ReadFirmwareTables();

// Reads a whole file of at most limit bytes. False with a message when it
// cannot be opened or read or is larger; *missing tells that it does not
// exist (may be null).
bool ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>* out,
                   std::string* error, bool* missing);

// Saved tables and firmware tables larger than this are refused: SMBIOS
// tables are a few KiB to a few hundred KiB.
constexpr size_t kLargestTableFile = 16u << 20;
