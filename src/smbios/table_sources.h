// Where an SMBIOS structure table comes from, in byte form: a saved table
// file (as `dmidecode --dump-bin` writes it, or a bare table whose version is
// given alongside), the Linux pair of entry point and table files, or the
// raw SMBIOS data of Windows' firmware table provider 'RSMB'.
#pragma once

#include <cstdint>
#include <string>

#include "bytes.h"
#include "smbios_entry.h"

struct SmbiosTable {
  uint8_t major = 0;
  uint8_t minor = 0;
  ByteView table;
  // The entry point announced more bytes than the data holds (an SMBIOS 3
  // maximum size, or a 2.x table cut short); the table then counts only as
  // whole when it ends with its end-of-table structure.
  bool cutByData = false;
};

// A saved table file: an entry point in the first bytes, the table at the
// offset the entry point names. Without an entry point, and only then, a
// version text ("3.2") makes the whole file a bare table; null: none given.
bool TableFromSavedFile(ByteView file, const char* bareTableVersion, SmbiosTable* out,
                        Diagnostics* diag);

// The entry point and the table as separate data (Linux: smbios_entry_point
// and DMI under /sys/firmware/dmi/tables); the entry point's table address
// is a physical address and is not used.
bool TableFromEntryPointAndData(ByteView entryPoint, ByteView data, SmbiosTable* out,
                                Diagnostics* diag);

// Raw SMBIOS data as GetSystemFirmwareTable('RSMB') returns it: a calling
// method byte, major and minor version, DMI revision, a 32-bit length, then
// the table.
bool TableFromRawSmbiosData(ByteView raw, SmbiosTable* out, Diagnostics* diag);

// "major.minor" with numbers 0 to 255; false for anything else.
bool ParseVersionText(const char* text, uint8_t* major, uint8_t* minor);
