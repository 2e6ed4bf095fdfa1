// The command line's model and both renderers on firmware data taken from
// the input, in the collector target's input format (and seeds): the first
// byte picks the form (entry point and table, or raw data as Windows hands
// it out), the second the entry point's length; the rest is the table.
#include <cstddef>
#include <cstdint>
#include <string>

#include "render.h"
#include "table_file.h"
#include "text_out.h"

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
  g_tables.form =
      raw ? FirmwareTables::Form::kRawSmbiosData : FirmwareTables::Form::kEntryPointAndTable;
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
  // As the command line shows a table: one structure at a time, each
  // decoded into the last one's room.
  TableWalk walk;
  const Model head = DescribeTable(source, &walk);
  for (const ByteView& s : walk.structures) options.tableHandles.emplace_back(s.U16(2), s.U8(0));
  DecodedStructure reused;
  size_t next = 0;
  const NextStructure decodeNext = [&]() -> const DecodedStructure* {
    if (next == walk.structures.size()) return nullptr;
    const ByteView s = walk.structures[next++];
    DecodeStructureInto(s, static_cast<size_t>(s.data() - source.table.table.data()), head.major,
                        head.minor, &reused);
    return &reused;
  };
  TextOut out;
  RenderJson(head, decodeNext, options, &out);
  next = 0;
  RenderText(head, walk.structures.size(), decodeNext, options, &out);
  return 0;
}
