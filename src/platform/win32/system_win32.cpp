// Profile, files, paths, processes and message boxes: thin wrappers over the
// Win32 API.
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform.h"

int PlatGetProfileInt(const char* section, const char* key, int defaultValue) {
  return static_cast<int>(GetProfileIntA(section, key, defaultValue));
}

unsigned PlatGetProfileString(const char* section, const char* key, const char* defaultValue,
                              char* out, unsigned size) {
  return GetProfileStringA(section, key, defaultValue, out, size);
}

bool PlatWriteProfileString(const char* section, const char* key, const char* value) {
  return WriteProfileStringA(section, key, value) != 0;
}

unsigned PlatGetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                     char* out, unsigned size, const char* file) {
  return GetPrivateProfileStringA(section, key, defaultValue, out, size, file);
}

bool PlatWritePrivateProfileString(const char* section, const char* key, const char* value,
                                   const char* file) {
  return WritePrivateProfileStringA(section, key, value, file) != 0;
}

bool PlatDeleteFile(const char* path) { return DeleteFileA(path) != 0; }

bool PlatGetFileStamp(const char* path, PlatFileStamp* stamp) {
  WIN32_FILE_ATTRIBUTE_DATA info;
  if (!path || !stamp || !GetFileAttributesExA(path, GetFileExInfoStandard, &info)) return false;
  const auto join = [](DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; };
  stamp->size = join(info.nFileSizeHigh, info.nFileSizeLow);
  stamp->modified = static_cast<int64_t>(
      join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime));
  stamp->changed = static_cast<int64_t>(
      join(info.ftCreationTime.dwHighDateTime, info.ftCreationTime.dwLowDateTime));
  stamp->identity = 0;
  return true;
}

namespace {

// Writes content into a new temporary file in the directory of path, so that
// moving it there is a rename on one volume; its name goes to temp. 0, or the
// errno-style cause of the failure (the temporary file is then removed).
int WriteTempBeside(const char* path, const char* prefix, std::string_view content,
                    char (&temp)[MAX_PATH]) {
  char directory[MAX_PATH];
  const char* separator = nullptr;
  for (const char* p = path; *p; p = CharNextA(p)) {
    if (*p == '\\' || *p == '/' || *p == ':') separator = p;
  }
  const size_t length = separator ? static_cast<size_t>(separator - path) + 1 : 0;
  if (length >= sizeof directory) return ENAMETOOLONG;
  memcpy(directory, path, length);
  directory[length] = '\0';
  if (length == 0) snprintf(directory, sizeof directory, ".");
  if (!GetTempFileNameA(directory, prefix, 0, temp)) return EACCES;
  HANDLE file =
      CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool ok = file != INVALID_HANDLE_VALUE;
  for (size_t at = 0; ok && at < content.size();) {
    DWORD written = 0;
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(content.size() - at, 1u << 20));
    ok = WriteFile(file, content.data() + at, piece, &written, nullptr) && written == piece;
    at += written;
  }
  if (file != INVALID_HANDLE_VALUE) ok = FlushFileBuffers(file) && CloseHandle(file) && ok;
  if (ok) return 0;
  DeleteFileA(temp);
  return EIO;
}

}  // namespace

bool PlatReplaceFile(const char* path, std::string_view content) {
  if (!path || !*path) return false;
  char temp[MAX_PATH];
  if (WriteTempBeside(path, "prp", content, temp) != 0) return false;
  const bool ok = MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING) != 0;
  if (!ok) DeleteFileA(temp);
  return ok;
}

bool PlatGetTempPath(char* out, unsigned size) {
  const DWORD length = GetTempPathA(size, out);
  return length != 0 && length < size;
}

bool PlatGetTempFileName(const char* dir, const char* prefix, char* out) {
  return GetTempFileNameA(dir, prefix, 0, out) != 0;
}

namespace {

// errno for a failed open, so that callers' messages read as on POSIX.
void SetErrnoFromLastError() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: errno = ENOENT; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: errno = EACCES; break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: errno = EEXIST; break;
    default: errno = EIO; break;
  }
}

// A handle of a regular disk file as a FILE, or null (errno set); the
// handle is closed on failure.
std::FILE* DiskFileStream(HANDLE handle, int flags, const char* mode) {
  if (handle == INVALID_HANDLE_VALUE) {
    SetErrnoFromLastError();
    return nullptr;
  }
  BY_HANDLE_FILE_INFORMATION info;
  const bool regular =
      GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
  if (!regular) {
    CloseHandle(handle);
    errno = EINVAL;
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, mode);
  if (!file) _close(fd);
  return file;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

uint32_t PlatReadFirmwareTable(uint32_t provider, void* out, uint32_t size, uint32_t* error) {
  const UINT got = GetSystemFirmwareTable(provider, 0, out, size);
  if (got == 0 && error) *error = GetLastError();
  return got;
}

std::FILE* PlatOpenRegularFile(const char* path) {
  if (!path) return nullptr;
  return DiskFileStream(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                        _O_RDONLY, "rb");
}

std::FILE* PlatRewriteExistingFile(const char* path) {
  if (!path) return nullptr;
  // The link itself is opened, and refused as a reparse point.
  HANDLE handle = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  std::FILE* file = DiskFileStream(handle, _O_WRONLY, "wb");
  if (file && !SetEndOfFile(handle)) {
    fclose(file);
    return nullptr;
  }
  return file;
}

std::FILE* PlatCreateNewFile(const char* path) {
  if (!path) return nullptr;
  return DiskFileStream(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr),
                        _O_WRONLY, "wb");
}

int PlatPublishNewFile(const char* path, std::string_view content) {
  if (!path || !*path) return EINVAL;
  if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return EEXIST;
  char temp[MAX_PATH];
  int error = WriteTempBeside(path, "sls", content, temp);
  if (error) return error;
  // Without MOVEFILE_REPLACE_EXISTING the move fails on a taken name.
  if (!MoveFileExA(temp, path, MOVEFILE_WRITE_THROUGH)) {
    const DWORD cause = GetLastError();
    error = cause == ERROR_ALREADY_EXISTS || cause == ERROR_FILE_EXISTS ? EEXIST : EACCES;
    DeleteFileA(temp);
  }
  return error;
}

std::FILE* PlatCreateTempFile(const char* dir, const char* prefix, char* out) {
  if (!GetTempFileNameA(dir, prefix, 0, out)) return nullptr;
  // Shared for the collector's writes and for the delete that follows its
  // run while this handle still reads.
  std::FILE* file = DiskFileStream(CreateFileA(out, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr),
                                   _O_RDONLY, "rb");
  if (!file) DeleteFileA(out);
  return file;
}

void PlatReportFailure(const std::string&) {}

std::string PlatRawCommandLine() { return GetCommandLineA(); }

QHANDLE PlatProgramModule() { return GetModuleHandleA(nullptr); }

unsigned PlatGetModuleFileName(QHANDLE module, char* out, unsigned size) {
  return GetModuleFileNameA(static_cast<HMODULE>(module), out, size);
}

char PlatPathSeparator() { return '\\'; }
const char* PlatDmiDatPath(const char* name) { return name; }
const char* PlatCollectorFileName() { return "PROBEX.EXE"; }
const char* PlatKeywordPropertyFile() { return "c:\\object.ini"; }

void PlatCharUpper(char* text, size_t length) { CharUpperBuffA(text, static_cast<DWORD>(length)); }

QHANDLE PlatStartProcessHidden(const char* program, const char* argument) {
  if (!program || !*program) return nullptr;
  STARTUPINFOA startup;
  GetStartupInfoA(&startup);
  startup.dwFlags |= STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION info;
  // The program is named as the application, so no search runs, and quoted
  // in the command line, so that its own argument parsing cannot take a
  // prefix ending at a blank ("C:\Program") as the program. The argument
  // follows unquoted: the collector finds it as the text after a blank that
  // names an existing file. CreateProcessA may write into the command line.
  char line[2 * MAX_PATH + 4];
  const int length = snprintf(line, sizeof line, "\"%s\" %s", program, argument ? argument : "");
  if (length < 0 || static_cast<size_t>(length) >= sizeof line) return nullptr;
  if (!CreateProcessA(program, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return nullptr;
  }
  CloseHandle(info.hThread);
  return info.hProcess;
}

bool PlatWaitProcess(QHANDLE process, uint32_t timeoutMs) {
  return WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
}

void PlatTerminateProcess(QHANDLE process, uint32_t exitCode) {
  TerminateProcess(process, exitCode);
}

bool PlatGetExitCodeProcess(QHANDLE process, uint32_t* exitCode) {
  DWORD code = 0;
  if (!GetExitCodeProcess(process, &code)) return false;
  *exitCode = code;
  return true;
}

void PlatCloseProcess(QHANDLE process) { CloseHandle(process); }

void PlatSleep(uint32_t ms) { Sleep(ms); }

void PlatMessageBox(QHANDLE owner, const char* text, const char* caption, MsgIcon icon) {
  UINT style = MB_OK;
  if (icon == MsgIcon::Information) style |= MB_ICONINFORMATION;
  if (icon == MsgIcon::Error) style |= MB_ICONERROR;
  MessageBoxA(static_cast<HWND>(owner), text, caption, style);
}
