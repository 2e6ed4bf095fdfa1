// Writing the dump file the viewer reads: file header, summary, then one
// size-prefixed record per SMBIOS structure, in table order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bytes.h"

struct DumpContent {
  // False: the machine has no SMBIOS tables ("no DMI BIOS").
  bool found = false;
  uint8_t major = 0;
  uint8_t minor = 0;
  std::vector<ByteView> structures;
};

// The viewer's structure buffer size is a 16-bit field, so a record larger
// than this cannot be read and is left out.
constexpr size_t kLargestRecord = 0xFFFF;

// The whole dump, its header still marked incomplete (m_bWroteAllData 0).
// Structures larger than kLargestRecord are left out, each with a line in
// warnings.
std::vector<uint8_t> EncodeDump(const DumpContent& content, std::vector<std::string>* warnings);

// Offset of m_bWroteAllData in the dump.
constexpr size_t kWroteAllDataOffset = 52;

// Replaces the contents of the existing regular file with dump (a missing
// file, a symbolic link or a special file is refused), flushes it, and only
// then marks it complete. False, with a message, when any step fails; the file is then
// never marked complete.
bool WriteDumpFile(const std::string& path, const std::vector<uint8_t>& dump, std::string* error);
