// A report file kept open for a run. Text is collected and written in whole
// lines, a few kilobytes at a time, so a large report costs one system call
// per chunk instead of an open, a write and a close per snippet; flushing
// leaves the file holding a whole prefix of the report.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

struct OutputFile {
  std::string path;
  std::FILE* file = nullptr;
  std::string pending;
};

// Opens path for appending unless it is open already (another path closes
// the first). False when it cannot be opened.
bool OutputOpen(OutputFile& out, const char* path);
// Collects text; the collected lines are written once they fill a chunk and
// the text ends a line.
void OutputAppend(OutputFile& out, std::string_view text);
// Writes everything collected; false on a write error.
bool OutputFlush(OutputFile& out);
// Flushes and closes; the next OutputOpen opens the file again.
bool OutputClose(OutputFile& out);
