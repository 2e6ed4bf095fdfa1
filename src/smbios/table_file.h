// The table of the command line, from one of its sources, with the facts a
// report names: where it came from, its entry point, and what was wrong.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "firmware.h"
#include "model.h"
#include "smbios_entry.h"
#include "smbios_table.h"
#include "table_sources.h"

struct TableSource {
  enum class Failure { kNone, kAbsent, kUnreadable, kUnusable };
  Failure failure = Failure::kNone;
  std::string error;  // one line, for kAbsent to kUnusable
  // "sysfs", "rsmb", "dmidecode-dump", "probex-dump" or "bare-table".
  std::string kind;
  std::string path;
  bool haveEntryPoint = false;
  SmbiosEntryPoint entryPoint;
  std::vector<uint8_t> bytes;  // owns what table.table points into
  SmbiosTable table;
  std::vector<std::string> warnings;
};

// A saved file in one of three shapes, told apart by content: the dump of
// `dmidecode --dump-bin` (entry point at 0), the viewer's dump file written
// by PROBEX, or a bare table, which needs bareVersion ("3.2"; null: none).
// *source holds owned bytes: do not copy it while its table is in use.
void LoadTableFile(const std::string& path, const char* bareVersion, TableSource* source);

// The running machine's table through the platform's reader.
void LoadFirmwareTable(FirmwareReader read, TableSource* source);

// Walks the table and decodes every structure; a table that breaks part-way
// keeps the structures before the break, with a warning.
Model BuildModel(const TableSource& source);
// The same without decoding: the model with no structures, and in *walk the
// structures' bytes (views into source's table), for a front end that
// decodes and shows one at a time.
Model DescribeTable(const TableSource& source, TableWalk* walk);
