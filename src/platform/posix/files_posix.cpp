// Files, paths and text rules on POSIX.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ini_file.h"
#include "platform.h"

namespace {

// The temporary dump still to be removed, for the signal handler: a killed
// viewer (SIGTERM, or SIGPIPE when its reader goes) must not leave it behind.
char pendingDump[kMaxPath];
volatile sig_atomic_t havePendingDump = 0;

extern "C" void RemovePendingDumpAndDie(int signal) {
  if (havePendingDump) unlink(pendingDump);
  ::signal(signal, SIG_DFL);
  raise(signal);
}

void RemoveDumpOnSignals() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  for (int sig : {SIGHUP, SIGINT, SIGTERM, SIGPIPE}) {
    struct sigaction action;
    if (sigaction(sig, nullptr, &action) != 0 || action.sa_handler == SIG_IGN) continue;
    memset(&action, 0, sizeof action);
    action.sa_handler = RemovePendingDumpAndDie;
    sigemptyset(&action.sa_mask);
    sigaction(sig, &action, nullptr);
  }
}

// A descriptor of a regular file as a FILE, or null with errno set. The
// open never blocks (O_NONBLOCK), and blocking is restored for the reads.
std::FILE* RegularFileStream(int fd, const char* mode) {
  if (fd < 0) return nullptr;
  struct stat st;
  const bool known = fstat(fd, &st) == 0;
  if (!known || !S_ISREG(st.st_mode)) {
    // A failed fstat leaves st unset: keep its own errno then.
    const int error = !known ? errno : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    close(fd);
    errno = error;
    return nullptr;
  }
  const int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* file = fdopen(fd, mode);
  if (!file) close(fd);
  return file;
}

}  // namespace

bool PlatDeleteFile(const char* path) {
  if (!path) return false;
  if (havePendingDump && strcmp(path, pendingDump) == 0) havePendingDump = 0;
  return unlink(path) == 0;
}

uint32_t PlatReadFirmwareTable(uint32_t, void*, uint32_t, uint32_t*) { return 0; }

std::FILE* PlatOpenRegularFile(const char* path) {
  if (!path) return nullptr;
  return RegularFileStream(open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC), "rb");
}

std::FILE* PlatRewriteExistingFile(const char* path) {
  if (!path) return nullptr;
  std::FILE* file =
      RegularFileStream(open(path, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC), "wb");
  if (file && ftruncate(fileno(file), 0) != 0) {
    const int error = errno;
    fclose(file);
    errno = error;
    return nullptr;
  }
  return file;
}

std::FILE* PlatCreateNewFile(const char* path) {
  if (!path) return nullptr;
  // 0666 so the process umask decides, as for any file the program creates.
  const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (!file) close(fd);
  return file;
}

std::FILE* PlatCreateTempFile(const char* dir, const char* prefix, char* out) {
  std::string pattern = std::string(dir ? dir : "") + (prefix ? prefix : "") + "XXXXXX";
  if (pattern.size() + 1 > kMaxPath) {
    errno = ENAMETOOLONG;
    return nullptr;
  }
  RemoveDumpOnSignals();
  char name[kMaxPath];
  snprintf(name, sizeof name, "%s", pattern.c_str());
  // The signals wait while the file is made and its name published, so that
  // no moment of the file's life is outside the handler's reach.
  sigset_t ending, before;
  sigemptyset(&ending);
  for (int sig : {SIGHUP, SIGINT, SIGTERM, SIGPIPE}) sigaddset(&ending, sig);
  sigprocmask(SIG_BLOCK, &ending, &before);
  const int fd = mkostemp(name, O_CLOEXEC);
  if (fd >= 0) {
    memcpy(pendingDump, name, sizeof name);
    havePendingDump = 1;
  }
  const int error = errno;
  sigprocmask(SIG_SETMASK, &before, nullptr);
  errno = error;
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "rb");
  if (!file) {
    havePendingDump = 0;
    unlink(name);
    close(fd);
    return nullptr;
  }
  snprintf(out, kMaxPath, "%s", name);
  return file;
}

namespace {

// Moves from to to unless to exists in any form. renameat2 does it in one
// step; file systems without it (and old kernels) get link then unlink,
// which refuses an existing name just as well.
// *moved tells that from is gone.
int MoveToFreeName(const char* from, const char* to, bool* moved) {
  *moved = false;
#ifdef RENAME_NOREPLACE
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
    *moved = true;
    return 0;
  }
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
#endif
  return link(from, to) == 0 ? 0 : errno;
}

bool WriteAll(int fd, std::string_view content) {
  for (size_t at = 0; at < content.size();) {
    const ssize_t wrote = write(fd, content.data() + at, content.size() - at);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    at += static_cast<size_t>(wrote);
  }
  return fsync(fd) == 0;
}

}  // namespace

int PlatPublishNewFile(const char* path, std::string_view content) {
  if (!path || !*path) return EINVAL;
  struct stat existing;
  if (lstat(path, &existing) == 0) return EEXIST;
  const std::string target = path;
  const size_t slash = target.rfind('/');
  std::string pattern = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
                        ".syslens-XXXXXX";
  if (pattern.size() + 1 > kMaxPath) return ENAMETOOLONG;
  // The temporary name is the signal handler's to remove, as the viewer's
  // dump is, unless that slot is taken (then a signal may leave it behind,
  // under its own name: never at path).
  RemoveDumpOnSignals();
  char name[kMaxPath];
  snprintf(name, sizeof name, "%s", pattern.c_str());
  sigset_t ending, before;
  sigemptyset(&ending);
  for (int sig : {SIGHUP, SIGINT, SIGTERM, SIGPIPE}) sigaddset(&ending, sig);
  sigprocmask(SIG_BLOCK, &ending, &before);
  const bool guarded = !havePendingDump;
  const int fd = mkostemp(name, O_CLOEXEC);
  if (fd >= 0 && guarded) {
    memcpy(pendingDump, name, sizeof name);
    havePendingDump = 1;
  }
  int error = errno;
  sigprocmask(SIG_SETMASK, &before, nullptr);
  if (fd < 0) return error;
  // mkostemp makes the file 0600; a saved table is no secret of the user's,
  // so it gets the mode any new file would.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  error = WriteAll(fd, content) ? 0 : errno;
  if (close(fd) != 0 && error == 0) error = errno;
  bool moved = false;
  if (error == 0) error = MoveToFreeName(name, path, &moved);
  sigprocmask(SIG_BLOCK, &ending, &before);
  if (!moved) unlink(name);  // after a move by link, or after a failure
  if (guarded) havePendingDump = 0;
  sigprocmask(SIG_SETMASK, &before, nullptr);
  return error;
}

void PlatReportFailure(const std::string& text) {
  const std::string line = "syslens: " + text + "\n";
  (void)!write(2, line.data(), line.size());
}

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

std::string PlatRawCommandLine() { return std::string(); }

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
