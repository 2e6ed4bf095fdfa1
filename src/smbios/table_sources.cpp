#include "table_sources.h"

#include <cstring>

namespace {

constexpr size_t kRawHeaderSize = 8;
constexpr size_t kRawMajor = 1;
constexpr size_t kRawMinor = 2;
constexpr size_t kRawLength = 4;

// The table the entry point describes, found at offset within data (the
// saved file, or the firmware's table data); dataName names data in messages.
bool LocateTable(const SmbiosEntryPoint& entry, ByteView data, uint64_t offset,
                 const char* dataName, SmbiosTable* out, Diagnostics* diag) {
  if (entry.tableLength == 0) {
    diag->error = "the entry point gives the table a length of 0";
    return false;
  }
  if (offset >= data.size()) {
    diag->error = "the entry point places the table at offset " + std::to_string(offset) +
                  ", past the end of the " + dataName + " (" + std::to_string(data.size()) +
                  " bytes)";
    return false;
  }
  const size_t available = data.size() - static_cast<size_t>(offset);
  size_t length = entry.tableLength;
  out->cutByData = false;
  if (length > available) {
    // Walked as far as the data go: the caller reports what precedes the cut.
    length = available;
    out->cutByData = true;
  }
  out->major = entry.major;
  out->minor = entry.minor;
  out->table = data.Slice(static_cast<size_t>(offset), length);
  return true;
}

bool StartsWith(ByteView bytes, const char* anchor) {
  const size_t n = strlen(anchor);
  return bytes.Has(0, n) && memcmp(bytes.data(), anchor, n) == 0;
}

// Only an entry point anchor makes a file a saved table with entry point; a
// bare table begins with a structure of any type, '_' (95) included.
bool HasAnchor(ByteView file) { return StartsWith(file, "_SM_") || StartsWith(file, "_SM3_"); }

}  // namespace

bool ParseVersionText(const char* text, uint8_t* major, uint8_t* minor) {
  if (!text) return false;
  unsigned parts[2] = {0, 0};
  int part = 0;
  size_t digits = 0;
  for (const char* p = text;; ++p) {
    if (*p >= '0' && *p <= '9') {
      parts[part] = parts[part] * 10 + static_cast<unsigned>(*p - '0');
      if (++digits > 3 || parts[part] > 255) return false;
    } else if (*p == '.' && part == 0 && digits > 0) {
      part = 1;
      digits = 0;
    } else if (*p == '\0' && part == 1 && digits > 0) {
      *major = static_cast<uint8_t>(parts[0]);
      *minor = static_cast<uint8_t>(parts[1]);
      return true;
    } else {
      return false;
    }
  }
}

bool TableFromSavedFile(ByteView file, const char* bareTableVersion, SmbiosTable* out,
                        Diagnostics* diag) {
  if (file.size() == 0) {
    diag->error = "the file is empty";
    return false;
  }
  if (!HasAnchor(file) && bareTableVersion && *bareTableVersion) {
    if (!ParseVersionText(bareTableVersion, &out->major, &out->minor)) {
      diag->error = "the version \"" + std::string(bareTableVersion) +
                    "\" given for the bare table is not of the form major.minor";
      return false;
    }
    out->table = file;
    out->cutByData = false;
    return true;
  }
  SmbiosEntryPoint entry;
  if (!ParseEntryPoint(file, &entry, diag)) return false;
  return LocateTable(entry, file, entry.tableAddress, "file", out, diag);
}

bool TableFromEntryPointAndData(ByteView entryPoint, ByteView data, SmbiosTable* out,
                                Diagnostics* diag) {
  SmbiosEntryPoint entry;
  if (!ParseEntryPoint(entryPoint, &entry, diag)) return false;
  return LocateTable(entry, data, 0, "table data", out, diag);
}

bool TableFromRawSmbiosData(ByteView raw, SmbiosTable* out, Diagnostics* diag) {
  if (!raw.Has(0, kRawHeaderSize)) {
    diag->error = "the raw SMBIOS data are cut short (" + std::to_string(raw.size()) +
                  " bytes, the header alone has 8)";
    return false;
  }
  const uint32_t length = raw.U32(kRawLength);
  if (length == 0) {
    diag->error = "the raw SMBIOS data give the table a length of 0";
    return false;
  }
  if (!raw.Has(kRawHeaderSize, length)) {
    diag->error = "the raw SMBIOS data announce a table of " + std::to_string(length) +
                  " bytes but hold " + std::to_string(raw.size() - kRawHeaderSize);
    return false;
  }
  out->major = raw.U8(kRawMajor);
  out->minor = raw.U8(kRawMinor);
  out->table = raw.Slice(kRawHeaderSize, length);
  out->cutByData = false;
  return true;
}
