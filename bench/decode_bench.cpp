// In-process speed of the decoder: a collector dump of a big server's table
// read by the dump reader, the whole decoder behind it, into each sink (window
// text, HTML, properties), as the viewer runs it once the collector is done.
//
//   syslens_bench [benchmark flags] DUMP_DIR
//
// reads DUMP_DIR/server-N.dump for every N the directory holds (written by
// bench/make_tables.py). Runs from the directory with DMI.DAT; QMRKW32H.INI
// lies beside the program, as for the viewer. Benchmarks are named
// SINK/N; "per_structure" is the time per structure of the table.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "decoder_harness.h"
#include "edit_posix.h"
#include "qmrkw32.h"
#include "run.h"
#include "sink_state.h"
#include "test_env.h"

namespace {

struct Case {
  Sink sink;
  const char* name;
};
constexpr Case kSinks[] = {{Sink::kText, "text"}, {Sink::kHtml, "html"}, {Sink::kIni, "ini"}};

// What the viewer does around the dump reader, without starting the
// collector: FillScreen's own frame of the sinks.
void DecodeAsViewer(const std::string& dump) {
  ReportIntoSinks([&] { ReadDumpFile(dump); });
}

// The report window's text as the viewer makes it: streamed out in whole
// lines (to /dev/null), not kept whole as the harness's control keeps it for
// the tests. Returns the bytes the control received.
size_t DecodeIntoWindow(const std::string& dump) {
  ResetReportState();
  EditControl edit;
  edit.streamTo = open("/dev/null", O_WRONLY);
  bEdit = 1;
  wnd_data.heditWnd = &edit;
  DecodeAsViewer(dump);
  StreamEditText(edit, true);
  wnd_data.heditWnd = nullptr;
  close(edit.streamTo);
  return edit.streamed;
}

void Decode(benchmark::State& state, DecoderHarness* harness, Sink sink, std::string dump,
            long structures) {
  size_t outputBytes = 0;
  for (auto _ : state) {
    outputBytes = sink == Sink::kText ? DecodeIntoWindow(dump)
                                      : harness->Run(sink, [&] { DecodeAsViewer(dump); }).size();
    if (outputBytes == 0) {
      state.SkipWithError("the sink got no report");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * structures);
  state.counters["per_structure"] = benchmark::Counter(
      static_cast<double>(structures),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["output_bytes"] = static_cast<double>(outputBytes);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc != 2) {
    fprintf(stderr, "usage: syslens_bench [benchmark flags] DUMP_DIR\n");
    return 1;
  }
  std::vector<std::pair<long, std::string>> dumps;
  for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
    const std::string name = entry.path().filename().string();
    long n = 0;
    if (sscanf(name.c_str(), "server-%ld", &n) == 1 &&
        name == "server-" + std::to_string(n) + ".dump") {
      dumps.emplace_back(n, entry.path().string());
    }
  }
  if (dumps.empty()) {
    fprintf(stderr, "syslens_bench: no server-N.dump in %s\n", argv[1]);
    return 1;
  }
  std::sort(dumps.begin(), dumps.end());
  // One harness for all runs: report state is cleared by each Run, and the
  // sinks' files go to its directory.
  DecoderHarness harness;
  harness.Start();
  for (const Case& c : kSinks) {
    for (const auto& [n, path] : dumps) {
      benchmark::RegisterBenchmark((std::string(c.name) + "/" + std::to_string(n)).c_str(), Decode,
                                   &harness, c.sink, path, n)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  harness.Stop();
  return 0;
}
