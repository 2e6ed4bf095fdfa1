// A table saved in dmidecode's dump format, which every SMBIOS tool reads:
// the entry point at offset 0, naming the table at offset 32, and the table
// from offset 32.
#pragma once

#include <cstdint>
#include <vector>

#include "bytes.h"
#include "table_file.h"

constexpr uint32_t kDumpTableOffset = 32;

// The dump of table (the source's table, or a masked copy of it): the
// source's entry point facts where it has an entry point (version, document
// revision, the 2.x structure count), one made from the table's version
// otherwise (RSMB, a bare table, PROBEX's dump); the length, the address
// and the checksums always fit the bytes written.
std::vector<uint8_t> MakeDmidecodeDump(const TableSource& source, ByteView table);
