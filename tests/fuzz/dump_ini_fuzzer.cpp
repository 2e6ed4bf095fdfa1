// The dump reader and the decoder behind it, reporting into the property
// file.
#include "dump_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzDumpIntoSink(Sink::kIni, data, size);
}
