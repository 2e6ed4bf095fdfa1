// Walking an SMBIOS structure table: each structure is its formatted area
// (type, length, handle, fields) followed by its string set, which ends with
// a double NUL.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "bytes.h"

constexpr uint8_t kEndOfTableType = 127;
constexpr size_t kStructureHeaderLength = 4;

enum class WalkStop {
  kEndOfTable,      // after the end-of-table structure (type 127)
  kTableEnd,        // the last structure ended exactly at the table's end
  kZeroPadding,     // only zero bytes remain: firmware padding, not a fault
  kShortStructure,  // a structure states a length below 4
  kCutStructure,    // a structure or its string set runs off the table's end
};

struct TableWalk {
  // Each structure whole, string set and double NUL included, in table order.
  std::vector<ByteView> structures;
  WalkStop stop = WalkStop::kTableEnd;
  // Offset of the structure the walk stopped at (the table's length when it
  // ran to the end).
  size_t stopOffset = 0;
};

TableWalk WalkTable(ByteView table);

// True when the walk stopped at a fault in the table rather than at its end.
bool WalkStoppedAtFault(const TableWalk& walk);

// One line saying where and why a faulty walk stopped.
std::string DescribeWalkStop(const TableWalk& walk);
