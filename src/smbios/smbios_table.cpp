#include "smbios_table.h"

namespace {

// Offset just past the double NUL of the string set that starts at offset,
// or 0 when the table ends first. An empty string set is the double NUL alone.
size_t StringSetEnd(ByteView table, size_t offset) {
  for (size_t i = offset; table.Has(i, 2); ++i) {
    if (table.U8(i) == 0 && table.U8(i + 1) == 0) return i + 2;
  }
  return 0;
}

bool OnlyZerosFrom(ByteView table, size_t offset) {
  for (size_t i = offset; i < table.size(); ++i) {
    if (table.U8(i) != 0) return false;
  }
  return true;
}

}  // namespace

TableWalk WalkTable(ByteView table) {
  TableWalk walk;
  size_t offset = 0;
  while (offset < table.size()) {
    walk.stopOffset = offset;
    if (!table.Has(offset, kStructureHeaderLength)) {
      walk.stop = WalkStop::kCutStructure;
      return walk;
    }
    const uint8_t type = table.U8(offset);
    const uint8_t length = table.U8(offset + 1);
    if (length < kStructureHeaderLength) {
      // Firmware often rounds its table up with zeros and leaves out the
      // end-of-table structure; zeros to the end are no broken structure.
      walk.stop = OnlyZerosFrom(table, offset) ? WalkStop::kZeroPadding : WalkStop::kShortStructure;
      return walk;
    }
    const size_t end = table.Has(offset, length) ? StringSetEnd(table, offset + length) : 0;
    if (end == 0) {
      walk.stop = WalkStop::kCutStructure;
      return walk;
    }
    walk.structures.push_back(table.Slice(offset, end - offset));
    offset = end;
    if (type == kEndOfTableType) {
      walk.stop = WalkStop::kEndOfTable;
      walk.stopOffset = offset;
      return walk;
    }
  }
  walk.stop = WalkStop::kTableEnd;
  walk.stopOffset = table.size();
  return walk;
}

bool WalkStoppedAtFault(const TableWalk& walk) {
  return walk.stop == WalkStop::kShortStructure || walk.stop == WalkStop::kCutStructure;
}

std::string DescribeWalkStop(const TableWalk& walk) {
  const std::string where = "the structure at table offset " + std::to_string(walk.stopOffset);
  switch (walk.stop) {
    case WalkStop::kShortStructure:
      return where + " states a length below 4; the table is broken from there on";
    case WalkStop::kCutStructure: return where + " or its strings run past the table's end";
    case WalkStop::kEndOfTable: return "the table ends with its end-of-table structure";
    case WalkStop::kZeroPadding: return "the table ends with zero padding";
    case WalkStop::kTableEnd: break;
  }
  return "the table ends after its last structure";
}
