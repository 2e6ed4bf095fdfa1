#include "tovarin_system.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "tovarin_paths.h"

namespace {

// The 8.3 name of one directory entry, or its own name when it has none
// (a name that already is 8.3, or a volume without short names).
bool EntryShortName(const char* path, char* out, size_t size, void*) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(path, &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  FindClose(h);
  // The structure's names are fixed arrays; do not trust them to be ended.
  const char* name = fd.cAlternateFileName;
  size_t len = strnlen(name, sizeof fd.cAlternateFileName);
  if (len == 0 || len == sizeof fd.cAlternateFileName) {
    name = fd.cFileName;
    len = strnlen(name, sizeof fd.cFileName);
    if (len == sizeof fd.cFileName) return false;
  }
  if (len == 0 || len >= size) return false;
  memcpy(out, name, len);
  out[len] = '\0';
  return true;
}

bool IsDirectory(const char* path) {
  DWORD attr = GetFileAttributesA(path);
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Identity of a directory: volume and file index.
bool DirectoryId(const char* path, BY_HANDLE_FILE_INFORMATION* info) {
  char buf[kPathSize];
  size_t len = strlen(path);
  if (len == 0) {
    path = ".";
  } else if (len < sizeof buf && len > 1 && path[len - 1] == '\\' && path[len - 2] != ':' &&
             path[len - 2] != '\\') {
    // Drop the trailing backslash of "C:\dir\", keep that of "C:\".
    memcpy(buf, path, len - 1);
    buf[len - 1] = '\0';
    path = buf;
  }
  // Backup semantics lets CreateFile open a directory; no data access needed.
  HANDLE h = CreateFileA(path, FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BOOL ok = GetFileInformationByHandle(h, info);
  CloseHandle(h);
  return ok && (info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsModifierKey(WORD vk) {
  return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || vk == VK_CAPITAL ||
         vk == VK_NUMLOCK || vk == VK_SCROLL || vk == VK_LWIN || vk == VK_RWIN;
}

}  // namespace

bool ShortPathFromEntries(const char* dir, char* out, size_t size) {
  return BuildShortPathFromEntries(dir, EntryShortName, nullptr, out, size);
}

bool GetShortDirectory(const char* dir, char* out, size_t size) {
  if (size == 0) return false;
  out[0] = '\0';
  DWORD cap = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
  DWORD n = GetShortPathNameA(dir, out, cap);
  if (n == 0 && GetLastError() == ERROR_NOT_SUPPORTED) {
    if (!ShortPathFromEntries(dir, out, size)) return false;
  } else if (n == 0 || n >= cap || memchr(out, '\0', size) == nullptr) {
    // A result of size or more is the length the buffer would have needed.
    out[0] = '\0';
    return false;
  }
  if (!IsDirectory(out)) {
    out[0] = '\0';
    return false;
  }
  return true;
}

bool IsSameDirectory(const char* a, const char* b) {
  BY_HANDLE_FILE_INFORMATION ia, ib;
  if (!DirectoryId(a, &ia) || !DirectoryId(b, &ib)) return false;
  return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

void ClearScreen() {
  HANDLE h = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (h == nullptr || h == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(h, &info)) return;
  fflush(stdout);
  COORD origin = {0, 0};
  DWORD cells = static_cast<DWORD>(info.dwSize.X > 0 ? info.dwSize.X : 0) *
                static_cast<DWORD>(info.dwSize.Y > 0 ? info.dwSize.Y : 0);
  DWORD written = 0;
  FillConsoleOutputCharacterA(h, ' ', cells, origin, &written);
  FillConsoleOutputAttribute(h, info.wAttributes, cells, origin, &written);
  SetConsoleCursorPosition(h, origin);
}

void WaitForKey() {
  fflush(stdout);
  HANDLE h = GetStdHandle(STD_INPUT_HANDLE);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  if (GetConsoleMode(h, &mode)) {
    // Console input records are never echoed; a key going down that is not
    // a bare modifier ends the wait.
    INPUT_RECORD rec;
    DWORD got = 0;
    while (ReadConsoleInputA(h, &rec, 1, &got) && got == 1) {
      if (rec.EventType == KEY_EVENT && rec.Event.KeyEvent.bKeyDown &&
          !IsModifierKey(rec.Event.KeyEvent.wVirtualKeyCode))
        return;
    }
    return;
  }
  char c;
  DWORD got = 0;
  ReadFile(h, &c, 1, &got, nullptr);
}
