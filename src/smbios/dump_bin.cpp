#include "dump_bin.h"

#include <algorithm>
#include <cstring>

#include "smbios_table.h"

namespace {

// The byte that makes bytes [from, from + count) sum to zero, at at.
void Checksum(std::vector<uint8_t>* bytes, size_t from, size_t count, size_t at) {
  (*bytes)[at] = 0;
  uint8_t sum = 0;
  for (size_t i = from; i < from + count; ++i) sum = static_cast<uint8_t>(sum + (*bytes)[i]);
  (*bytes)[at] = static_cast<uint8_t>(0x100 - sum);
}

void Store(std::vector<uint8_t>* bytes, size_t at, uint64_t value, size_t width) {
  for (size_t i = 0; i < width; ++i) (*bytes)[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void EntryPoint3(const TableSource& source, size_t length, std::vector<uint8_t>* out) {
  memcpy(out->data(), "_SM3_", 5);
  (*out)[0x06] = kEntryPoint3Size;
  (*out)[0x07] = source.table.major;
  (*out)[0x08] = source.table.minor;
  (*out)[0x09] = source.haveEntryPoint ? source.entryPoint.docrev : 0;
  (*out)[0x0A] = 1;  // entry point revision: the 3.0 layout
  Store(out, 0x0C, length, 4);
  Store(out, 0x10, kDumpTableOffset, 8);
  Checksum(out, 0, kEntryPoint3Size, 0x05);
}

void EntryPoint2(const TableSource& source, const TableWalk& walk, size_t length,
                 std::vector<uint8_t>* out) {
  size_t largest = 0;
  for (const ByteView& s : walk.structures) largest = std::max(largest, s.size());
  const uint8_t major = source.table.major;
  const uint8_t minor = source.table.minor;
  memcpy(out->data(), "_SM_", 4);
  (*out)[0x05] = kEntryPoint2Size;
  (*out)[0x06] = major;
  (*out)[0x07] = minor;
  Store(out, 0x08, largest > 0xFFFF ? 0xFFFF : largest, 2);
  memcpy(out->data() + 0x10, "_DMI_", 5);
  Store(out, 0x16, length > 0xFFFF ? 0xFFFF : length, 2);
  Store(out, 0x18, kDumpTableOffset, 4);
  // dmidecode walks as many structures as the count says: a firmware's
  // count is kept so that a saved table reads as the machine's did.
  const size_t count =
      source.haveEntryPoint ? source.entryPoint.structureCount : walk.structures.size();
  Store(out, 0x1C, count > 0xFFFF ? 0xFFFF : count, 2);
  (*out)[0x1E] = major < 10 && minor < 10 ? static_cast<uint8_t>(major << 4 | minor) : 0;
  Checksum(out, 0x10, 0x0F, 0x15);
  Checksum(out, 0, kEntryPoint2Size, 0x04);
}

}  // namespace

std::vector<uint8_t> MakeDmidecodeDump(const TableSource& source, ByteView table) {
  std::vector<uint8_t> out(kDumpTableOffset, 0);
  const bool three = source.haveEntryPoint ? source.entryPoint.kind == EntryPointKind::kSmbios3
                                           : source.table.major >= 3;
  if (three) EntryPoint3(source, table.size(), &out);
  else EntryPoint2(source, WalkTable(table), table.size(), &out);
  out.insert(out.end(), table.data(), table.data() + table.size());
  return out;
}
