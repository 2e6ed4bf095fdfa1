// The bounded whole-file read, the same on every platform over
// PlatOpenRegularFile.
#include <cerrno>
#include <cstdio>

#include "platform.h"

PlatReadResult PlatReadWholeFile(const char* path, size_t limit, std::string* out) {
  out->clear();
  std::FILE* file = PlatOpenRegularFile(path);
  if (!file) return {PlatReadStatus::kCannotOpen, path ? errno : EINVAL};
  PlatReadResult result;
  char chunk[16384];
  for (;;) {
    const size_t got = std::fread(chunk, 1, sizeof chunk, file);
    out->append(chunk, got);
    // The file may be larger than the limit or grow past it while read.
    if (out->size() > limit) {
      result.status = PlatReadStatus::kTooLarge;
      break;
    }
    if (got < sizeof chunk) {
      if (std::ferror(file)) result = {PlatReadStatus::kCannotRead, errno};
      break;
    }
  }
  std::fclose(file);
  if (result.status != PlatReadStatus::kRead) out->clear();
  return result;
}
