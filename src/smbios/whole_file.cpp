// Whole-file reads of saved tables and firmware table files, bounded by a
// size limit so that a wrong path (a device, a huge file) cannot exhaust memory.
#include <cerrno>
#include <cstring>

#include "firmware.h"
#include "platform.h"

bool ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>* out,
                   std::string* error, bool* missing) {
  if (missing) *missing = false;
  out->clear();
  std::string bytes;
  const PlatReadResult read = PlatReadWholeFile(path.c_str(), limit, &bytes);
  switch (read.status) {
    case PlatReadStatus::kRead: out->assign(bytes.begin(), bytes.end()); return true;
    case PlatReadStatus::kCannotOpen:
      if (missing) *missing = read.error == ENOENT;
      *error = "cannot open " + path + ": " +
               (read.error == EINVAL ? std::string("not a regular file") : strerror(read.error));
      return false;
    case PlatReadStatus::kTooLarge:
      *error = path + " is larger than " + std::to_string(limit) + " bytes: it is no SMBIOS table";
      return false;
    case PlatReadStatus::kCannotRead:
      *error = "cannot read " + path + ": " + strerror(read.error);
      return false;
  }
  return false;
}
