// The one SMBIOS byte builder of the C++ tests and of the sample-table maker
// (tools/sample_table): structures and whole dump files as the collector
// writes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// One structure: header (type, length, handle), the fields after the header,
// then the string set with its closing double NUL. length overrides the
// formatted length written into the header (default: 4 + fields.size()).
Bytes Structure(uint8_t type, uint16_t handle, const Bytes& fields,
                const std::vector<std::string>& strings = {}, int length = -1);

struct DumpOptions {
  int16_t wroteAllData = 1;
  int16_t found = 1;
  uint8_t major = 2;
  uint8_t minor = 3;
  // 0: the size of the largest record.
  uint16_t bufferSize = 0;
};

// Header, summary and one size-prefixed record per structure.
Bytes Dump(const DumpOptions& options, const std::vector<Bytes>& structures);

// Little-endian helpers for writing fields.
void PutU8(Bytes& out, uint8_t value);
void PutU16(Bytes& out, uint16_t value);
void PutU32(Bytes& out, uint32_t value);
void PutU64(Bytes& out, uint64_t value);

bool WriteBytes(const std::string& path, const Bytes& bytes);
Bytes ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
