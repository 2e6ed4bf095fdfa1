// The command line's model and both renderers on firmware data taken from
// the input, in the collector target's input format (and seeds): the first
// byte picks the form (entry point and table, or raw data as Windows hands
// it out), the second the entry point's length; the rest is the table.
#include <cstddef>
#include <cstdint>
#include <string>

#include "render.h"
#include "table_file.h"

namespace {

FirmwareTables g_tables;

FirmwareTables ReadFuzzedFirmware() { return g_tables; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const bool raw = data[0] & 1;
  const size_t entryLength = data[1] < size - 2 ? data[1] : size - 2;
  g_tables = FirmwareTables();
  g_tables.state = FirmwareTables::State::kRead;
  g_tables.form = raw ? FirmwareTables::Form::kRawSmbiosData
                      : FirmwareTables::Form::kEntryPointAndTable;
  if (!raw) g_tables.entryPoint.assign(data + 2, data + 2 + entryLength);
  g_tables.table.assign(data + 2 + entryLength, data + size);
  g_tables.origin = "fuzz";
  TableSource source;
  LoadFirmwareTable(ReadFuzzedFirmware, &source);
  if (source.failure != TableSource::Failure::kNone) return 0;
  const Model model = BuildModel(source);
  RenderOptions options;
  options.rawBytes = data[0] & 2;
  RenderText(model, options);
  RenderJson(model, options);
  return 0;
}
