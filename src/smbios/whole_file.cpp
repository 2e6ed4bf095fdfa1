// Whole-file reads of saved tables and firmware table files, bounded by a
// size limit so that a wrong path (a device, a huge file) cannot exhaust memory.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "firmware.h"
#include "platform.h"

bool ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>* out,
                   std::string* error, bool* missing) {
  if (missing) *missing = false;
  out->clear();
  // Regular files only: a FIFO or device would block the run or never end.
  FILE* file = PlatOpenRegularFile(path.c_str());
  if (!file) {
    const int cause = errno;
    if (missing) *missing = cause == ENOENT;
    *error = "cannot open " + path + ": " +
             (cause == EINVAL ? std::string("not a regular file") : strerror(cause));
    return false;
  }
  // Read in pieces rather than trusting a size from the file system: sysfs
  // files report a size of 4096 or 0 whatever they hold.
  uint8_t chunk[16384];
  bool ok = true;
  for (;;) {
    const size_t got = fread(chunk, 1, sizeof chunk, file);
    out->insert(out->end(), chunk, chunk + got);
    if (out->size() > limit) {
      *error = path + " is larger than " + std::to_string(limit) +
               " bytes: it is no SMBIOS table";
      ok = false;
      break;
    }
    if (got < sizeof chunk) {
      if (ferror(file)) {
        *error = "cannot read " + path + ": " + strerror(errno);
        ok = false;
      }
      break;
    }
  }
  fclose(file);
  if (!ok) out->clear();
  return ok;
}
