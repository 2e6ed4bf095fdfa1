// Test helpers: annotated SMBIOS entry points and structures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bytes.h"
#include "dump_builder.h"

using TestBytes = Bytes;

inline ByteView View(const TestBytes& bytes) { return ByteView(bytes.data(), bytes.size()); }

// Sets the byte at checksumOffset so that count bytes from start sum to 0.
inline void FixChecksum(TestBytes* bytes, size_t start, size_t count, size_t checksumOffset) {
  (*bytes)[checksumOffset] = 0;
  uint8_t sum = 0;
  for (size_t i = start; i < start + count; ++i) sum = static_cast<uint8_t>(sum + (*bytes)[i]);
  (*bytes)[checksumOffset] = static_cast<uint8_t>(0x100 - sum);
}

// A valid 2.x entry point for version 2.7, table of tableLength bytes at
// tableAddress, with both checksums right.
inline TestBytes EntryPoint2(uint16_t tableLength, uint32_t tableAddress) {
  // clang-format off
  TestBytes e = {
      '_', 'S', 'M', '_',          // 0x00 anchor
      0x00,                        // 0x04 checksum (fixed below)
      0x1F,                        // 0x05 length
      0x02, 0x07,                  // 0x06 version 2.7
      0x40, 0x00,                  // 0x08 largest structure
      0x00,                        // 0x0A entry point revision
      0, 0, 0, 0, 0,               // 0x0B formatted area
      '_', 'D', 'M', 'I', '_',     // 0x10 intermediate anchor
      0x00,                        // 0x15 intermediate checksum (fixed below)
      static_cast<uint8_t>(tableLength), static_cast<uint8_t>(tableLength >> 8),  // 0x16
      static_cast<uint8_t>(tableAddress), static_cast<uint8_t>(tableAddress >> 8),
      static_cast<uint8_t>(tableAddress >> 16), static_cast<uint8_t>(tableAddress >> 24),  // 0x18
      0x03, 0x00,                  // 0x1C number of structures
      0x27,                        // 0x1E BCD revision
  };
  // clang-format on
  FixChecksum(&e, 0x10, 0x0F, 0x15);
  FixChecksum(&e, 0, 0x1F, 0x04);
  return e;
}

// A valid 3.x entry point for version 3.2 (docrev 1), table of at most
// maxLength bytes at tableAddress.
inline TestBytes EntryPoint3(uint32_t maxLength, uint64_t tableAddress) {
  // clang-format off
  TestBytes e = {
      '_', 'S', 'M', '3', '_',     // 0x00 anchor
      0x00,                        // 0x05 checksum (fixed below)
      0x18,                        // 0x06 length
      0x03, 0x02,                  // 0x07 version 3.2
      0x01,                        // 0x09 docrev
      0x01,                        // 0x0A entry point revision
      0x00,                        // 0x0B reserved
  };
  // clang-format on
  for (int i = 0; i < 4; ++i) e.push_back(static_cast<uint8_t>(maxLength >> (8 * i)));     // 0x0C
  for (int i = 0; i < 8; ++i) e.push_back(static_cast<uint8_t>(tableAddress >> (8 * i)));  // 0x10
  FixChecksum(&e, 0, 0x18, 0x05);
  return e;
}

// One structure under the handle 1234H, from the tests' one structure
// builder.
inline TestBytes Structure(uint8_t type, const TestBytes& fields,
                           const std::vector<std::string>& strings = {}) {
  return Structure(type, 0x1234, fields, strings);
}

inline TestBytes Concat(std::initializer_list<TestBytes> parts) {
  TestBytes out;
  for (const TestBytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
