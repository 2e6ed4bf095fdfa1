// The collector's entry-point parser and table walker, and its whole run on
// firmware data taken from the input: the first byte picks the form (entry
// point and table, or raw data as Windows hands it out), the second the
// entry point's length; the rest is the table.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "collector.h"
#include "smbios_entry.h"
#include "smbios_table.h"
#include "test_env.h"

namespace {

FirmwareTables g_tables;

FirmwareTables ReadFuzzedFirmware() { return g_tables; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TempDir* dir = new TempDir;
  static FILE* sinkhole = fopen("/dev/null", "w");
  if (size < 2) return 0;
  const bool raw = data[0] & 1;
  const size_t entryLength = data[1] < size - 2 ? data[1] : size - 2;
  const ByteView entry(data + 2, entryLength);
  const ByteView table(data + 2 + entryLength, size - 2 - entryLength);

  // The parts on their own.
  SmbiosEntryPoint point;
  Diagnostics diag;
  ParseEntryPoint(entry, &point, &diag);
  const TableWalk walk = WalkTable(table);
  if (WalkStoppedAtFault(walk)) DescribeWalkStop(walk);

  // The whole run, the dump written into the temp directory.
  g_tables = FirmwareTables();
  g_tables.state = FirmwareTables::State::kRead;
  g_tables.form =
      raw ? FirmwareTables::Form::kRawSmbiosData : FirmwareTables::Form::kEntryPointAndTable;
  if (!raw) g_tables.entryPoint.assign(entry.data(), entry.data() + entry.size());
  g_tables.table.assign(table.data(), table.data() + table.size());
  g_tables.origin = "fuzz";
  CollectorSettings settings;
  settings.dumpPath = dir->File("dump.bin");
  // The collector writes only a dump file that exists, as the viewer makes it.
  if (FILE* made = fopen(settings.dumpPath.c_str(), "wb")) fclose(made);
  settings.readFirmware = ReadFuzzedFirmware;
  settings.messages = sinkhole ? sinkhole : stderr;
  RunCollector(settings);
  return 0;
}
