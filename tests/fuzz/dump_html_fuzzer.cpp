// The dump reader and the decoder behind it, reporting into the HTML report
// file.
#include "dump_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzDumpIntoSink(Sink::kHtml, data, size);
}
