// Resources of a module and the override module, through the Win32 API.
#include <windows.h>

#include <cstring>

#include "platform.h"

namespace {
// The export takes five 32-bit arguments and pops them itself.
using GetQmrkStringFn = DWORD(WINAPI*)(const char*, DWORD, DWORD, char*, DWORD);

constexpr char kOverrideModuleName[] = "CustomStrings.DLL";

// Only the module beside the program, the one a site installs with it, by
// full path: the system's search for a bare name visits the current
// directory, where a planted module would run. Its own dependencies are
// searched from its directory.
HMODULE LoadOverrideModule() {
  char path[MAX_PATH + sizeof kOverrideModuleName];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    // CharNextA steps over double-byte characters, whose second byte may be
    // the value of a backslash.
    char* separator = nullptr;
    for (char* p = path; *p; p = CharNextA(p)) {
      if (*p == '\\' || *p == '/') separator = p;
    }
    if (separator) {
      memcpy(separator + 1, kOverrideModuleName, sizeof kOverrideModuleName);
      return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
  }
  return nullptr;
}
}  // namespace

int PlatLoadString(QHANDLE module, unsigned id, char* out, int size) {
  // Before the language module is known every lookup fails.
  if (!module) return 0;
  return LoadStringA(static_cast<HINSTANCE>(module), id, out, size);
}

bool PlatFindResource(QHANDLE module, unsigned id, ResKind kind) {
  if (!module) return false;
  LPCSTR type = RT_MENU;
  switch (kind) {
    case ResKind::Menu: type = RT_MENU; break;
    case ResKind::Icon: type = RT_ICON; break;
    case ResKind::Bitmap: type = RT_BITMAP; break;
    case ResKind::Dialog: type = RT_DIALOG; break;
    case ResKind::Accelerator: type = RT_ACCELERATOR; break;
  }
  return FindResourceA(static_cast<HMODULE>(module), MAKEINTRESOURCEA(id), type) != nullptr;
}

QHANDLE PlatLoadIcon(QHANDLE module, unsigned id) {
  return LoadIconA(static_cast<HINSTANCE>(module), MAKEINTRESOURCEA(id));
}

bool PlatCallOverrideModule(const char* programName, int stringId, unsigned langId, char* buffer,
                            uint32_t size, uint32_t* result) {
  // Every report string asks the module, so it is looked for once per
  // process (never freed): a failed search walks the whole DLL search path.
  // A module installed while the program runs is found at its next start.
  static const GetQmrkStringFn fn = [] {
    HMODULE module = LoadOverrideModule();
    return module ? reinterpret_cast<GetQmrkStringFn>(
                        reinterpret_cast<void*>(GetProcAddress(module, "_GetQmrkString@20")))
                  : nullptr;
  }();
  if (!fn) return false;
  *result = fn(programName, static_cast<DWORD>(stringId), langId, buffer, size);
  return true;
}
