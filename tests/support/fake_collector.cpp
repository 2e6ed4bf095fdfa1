// Stand-in for the collector in tests: started as "<dir>/probex <dump path>",
// it copies a prepared dump into the file it is given.
//   SYSLENS_FAKE_DUMP   file whose bytes become the dump (unset: write nothing)
//   SYSLENS_FAKE_SLEEP  milliseconds to wait first
//   SYSLENS_FAKE_LOG    file that receives the dump path it was given, and
//                       whether that file existed, one line per run
//   SYSLENS_FAKE_SWAP   (POSIX) after writing, the dump is renamed aside and
//                       its name made a link to this file, as a race would
#include <cstdio>
#include <cstdlib>
#include <string>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "dump_builder.h"
#include "platform.h"

int main(int argc, char** argv) {
  // The path follows the program name unquoted, so blanks in it split it
  // into several arguments: joining them gives it back.
  std::string path;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) path += ' ';
    path += argv[i];
  }
  if (const char* sleep = getenv("SYSLENS_FAKE_SLEEP")) {
    PlatSleep(static_cast<uint32_t>(atoi(sleep)));
  }
  if (const char* log = getenv("SYSLENS_FAKE_LOG")) {
    FILE* existing = fopen(path.c_str(), "rb");
    if (FILE* out = fopen(log, "ab")) {
      fprintf(out, "%s|%s\n", path.c_str(), existing ? "exists" : "missing");
      fclose(out);
    }
    if (existing) fclose(existing);
  }
  const char* source = getenv("SYSLENS_FAKE_DUMP");
  if (!source || !*source) return 0;
  const Bytes dump = ReadBytes(source);
  if (!WriteBytes(path, dump)) return 1;
#ifndef _WIN32
  if (const char* swap = getenv("SYSLENS_FAKE_SWAP")) {
    if (rename(path.c_str(), (path + ".aside").c_str()) != 0) return 1;
    if (symlink(swap, path.c_str()) != 0) return 1;
  }
#endif
  return 0;
}
