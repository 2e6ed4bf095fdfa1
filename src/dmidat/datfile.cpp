// The lookup in the table file: the file is read and unscrambled once and
// kept in memory while its stamp (size, times, identity) stays the same, so a
// report that asks for names once or twice per structure reads it once; a
// rewritten file is read again at the next lookup. A refused file (too large,
// not a regular file) is remembered with its stamp the same way, so it is
// not read again at every lookup either.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "platform.h"
#include "readdat.h"

namespace {

struct FileCloser {
  void operator()(std::FILE *file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The whole file, or nothing when it cannot be opened or is larger than the
// table can sensibly be.
std::optional<std::string> read_file(const char *filename) {
  // Regular files only: a FIFO named DMI.DAT must not hang the report.
  FilePtr file(PlatOpenRegularFile(filename));
  if (!file) return std::nullopt;
  std::string bytes;
  char chunk[16384];
  while (const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get())) {
    bytes.append(chunk, got);
    if (bytes.size() > kDmiDatMaxFileSize) return std::nullopt;
  }
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

// The last file read, kept while its stamp stays the same.
struct CachedTable {
  std::string filename;
  PlatFileStamp stamp;
  bool reusable = false;
  bool refused = false;
  DmiDatTable table;
};

bool held = false;

const DmiDatTable *current_table(const char *filename) {
  static CachedTable cached;
  if (held && cached.reusable && cached.filename == filename) {
    return cached.refused ? nullptr : &cached.table;
  }
  PlatFileStamp before;
  const bool stamped = PlatGetFileStamp(filename, &before);
  if (stamped && cached.reusable && cached.filename == filename && cached.stamp == before) {
    return cached.refused ? nullptr : &cached.table;
  }
  std::optional<std::string> bytes = read_file(filename);
  cached.reusable = false;
  cached.refused = !bytes;
  cached.table = bytes ? parse_dmi_dat(*bytes) : DmiDatTable{};
  cached.filename = filename;
  cached.stamp = before;
  // A file rewritten while it was read is read again next time.
  PlatFileStamp after;
  cached.reusable = stamped && PlatGetFileStamp(filename, &after) && after == before;
  return cached.refused ? nullptr : &cached.table;
}

}  // namespace

void hold_dmi_dat(bool hold) { held = hold; }

int lookup_type(const char *filename, const char *sectionname, int desiredvalue, char *s) {
  if (filename == nullptr || sectionname == nullptr || s == nullptr) return 0;
  const DmiDatTable *table = current_table(filename);
  return table ? lookup_in_dmi_dat(*table, sectionname, desiredvalue, s) : 0;
}
