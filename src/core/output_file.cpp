#include "output_file.h"

namespace {

constexpr size_t kChunkSize = 16 * 1024;

}  // namespace

bool OutputOpen(OutputFile& out, const char* path) {
  if (out.file && out.path == path) return true;
  OutputClose(out);
  out.file = std::fopen(path, "ab");
  if (!out.file) return false;
  // The chunks are the buffering; the C library's would split lines.
  std::setvbuf(out.file, nullptr, _IONBF, 0);
  out.path = path;
  return true;
}

void OutputAppend(OutputFile& out, std::string_view text) {
  out.pending.append(text);
  if (out.pending.size() >= kChunkSize && out.pending.back() == '\n') OutputFlush(out);
}

bool OutputFlush(OutputFile& out) {
  if (!out.file) return out.pending.empty();
  const bool written =
      std::fwrite(out.pending.data(), 1, out.pending.size(), out.file) == out.pending.size();
  out.pending.clear();
  return written && std::fflush(out.file) == 0;
}

bool OutputClose(OutputFile& out) {
  if (!out.file) return out.pending.empty();
  const bool flushed = OutputFlush(out);
  const bool closed = std::fclose(out.file) == 0;
  out.file = nullptr;
  out.path.clear();
  return flushed && closed;
}
