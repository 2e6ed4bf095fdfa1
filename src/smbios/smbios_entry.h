// SMBIOS entry points: the 2.x "_SM_" structure (31 bytes, with the "_DMI_"
// intermediate part) and the 3.x "_SM3_" structure (24 bytes). Both name the
// version and where the structure table lies and how long it is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bytes.h"

// Messages collected while reading firmware data. Warnings leave the data
// usable; an error means it cannot be used.
struct Diagnostics {
  std::vector<std::string> warnings;
  std::string error;
};

enum class EntryPointKind { kSmbios2, kSmbios3 };

struct SmbiosEntryPoint {
  EntryPointKind kind = EntryPointKind::kSmbios2;
  uint8_t major = 0;
  uint8_t minor = 0;
  // 3.x only: the document revision, which is not part of the version.
  uint8_t docrev = 0;
  uint64_t tableAddress = 0;
  // 2.x: the table's exact length; 3.x: its maximum length (the table ends
  // at the end-of-table structure, possibly earlier).
  uint32_t tableLength = 0;
  // 2.x only: the number of structures the firmware announces.
  uint16_t structureCount = 0;
};

constexpr size_t kEntryPoint2Size = 0x1F;
constexpr size_t kEntryPoint3Size = 0x18;

// Reads the entry point at the start of bytes. False (and diag->error set)
// when the bytes hold no entry point or one cut short; wrong checksums and
// unusual lengths only add warnings, since firmware with a bad checksum often
// still has a good table.
bool ParseEntryPoint(ByteView bytes, SmbiosEntryPoint* entry, Diagnostics* diag);
