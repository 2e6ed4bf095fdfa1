// Shared body of the dump-reader targets: the input is a dump file, read by
// the viewer's dump reader with the whole decoder behind it, into one sink.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "decoder_harness.h"

inline int FuzzDumpIntoSink(Sink sink, const uint8_t* data, size_t size) {
  static DecoderHarness* harness = [] {
    DecoderHarness* h = new DecoderHarness;
    h->Start();
    return h;
  }();
  if (size == 0) return 0;
  const std::string dump = harness->dir.File("dump.bin");
  FILE* out = fopen(dump.c_str(), "wb");
  if (!out) return 0;
  const bool written = fwrite(data, 1, size, out) == size;
  if (fclose(out) != 0 || !written) return 0;
  harness->Run(sink, [&] { ReadDumpFile(dump); });
  ResetReportState();
  return 0;
}
