// Files, paths and text rules on POSIX.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ini_file.h"
#include "platform.h"

bool PlatDeleteFile(const char* path) { return path && unlink(path) == 0; }

bool PlatGetFileStamp(const char* path, PlatFileStamp* stamp) {
  struct stat info;
  if (!path || !stamp || stat(path, &info) != 0) return false;
  stamp->size = static_cast<uint64_t>(info.st_size);
  stamp->modified = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  stamp->changed = static_cast<int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
  stamp->identity = static_cast<uint64_t>(info.st_ino) ^ (static_cast<uint64_t>(info.st_dev) << 40);
  return true;
}

bool PlatReplaceFile(const char* path, std::string_view content) {
  return IniReplaceFile(path, content);
}

bool PlatGetTempPath(char* out, unsigned size) {
  const char* dir = getenv("TMPDIR");
  if (!dir || !*dir) dir = "/tmp";
  std::string path = dir;
  if (path.back() != '/') path += '/';
  if (path.size() + 1 > size) return false;
  snprintf(out, size, "%s", path.c_str());
  return true;
}

bool PlatGetTempFileName(const char* dir, const char* prefix, char* out) {
  std::string pattern = std::string(dir ? dir : "") + (prefix ? prefix : "") + "XXXXXX";
  if (pattern.size() + 1 > kMaxPath) return false;
  char name[kMaxPath];
  snprintf(name, sizeof name, "%s", pattern.c_str());
  const int fd = mkstemp(name);
  if (fd < 0) return false;
  close(fd);
  snprintf(out, kMaxPath, "%s", name);
  return true;
}

QHANDLE PlatProgramModule() {
  static char programModule;
  return &programModule;
}

// Every module of the viewer is the program itself. As on Windows, a path
// that does not fit is cut and the result is the buffer's size.
unsigned PlatGetModuleFileName(QHANDLE /*module*/, char* out, unsigned size) {
  if (size == 0) return 0;
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) {
    out[0] = '\0';
    return 0;
  }
  path[length] = '\0';
  snprintf(out, size, "%s", path);
  return static_cast<size_t>(length) < size ? static_cast<unsigned>(length) : size;
}

char PlatPathSeparator() { return '/'; }

const char* PlatDmiDatPath(const char* name) {
  if (access(name, F_OK) == 0) return name;
  // /proc/self/exe names the real file, so a program started through a link
  // (bin/syslens into the private directory) still finds its own copy.
  static char beside[kMaxPath];
  const unsigned length = PlatGetModuleFileName(nullptr, beside, sizeof beside);
  if (length == 0 || length >= sizeof beside) return name;
  char* slash = strrchr(beside, '/');
  if (!slash) return name;
  const size_t directory = static_cast<size_t>(slash - beside) + 1;
  if (snprintf(slash + 1, sizeof beside - directory, "%s", name) >=
      static_cast<int>(sizeof beside - directory)) {
    return name;
  }
  return beside;
}
const char* PlatCollectorFileName() { return "probex"; }
const char* PlatKeywordPropertyFile() { return "object.ini"; }

void PlatCharUpper(char* text, size_t length) {
  for (size_t i = 0; i < length && text[i]; ++i) {
    if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
  }
}
