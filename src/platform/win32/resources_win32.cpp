// Resources of a module and the override module, through the Win32 API.
#include <windows.h>

#include "platform.h"

namespace {
// The export takes five 32-bit arguments and pops them itself.
using GetQmrkStringFn = DWORD(WINAPI*)(const char*, DWORD, DWORD, char*, DWORD);
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

bool PlatCallOverrideModule(const char* programName, int stringId, unsigned langId,
                            char* buffer, uint32_t size, uint32_t* result) {
  // Loaded at every lookup and never freed: the module's reference count
  // grows, and a module installed while the program runs is found next time.
  HMODULE module = LoadLibraryA("CustomStrings.DLL");
  if (!module) return false;
  auto fn = reinterpret_cast<GetQmrkStringFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "_GetQmrkString@20")));
  if (!fn) return false;
  *result = fn(programName, static_cast<DWORD>(stringId), langId, buffer, size);
  return true;
}
