// The sample override module for Windows: CustomStrings.DLL exporting
// "_GetQmrkString@20" (five 32-bit arguments, the callee pops them on
// 32-bit Windows), which answers from CustomStrings.txt beside the DLL. The
// export name is fixed by the .def file of each target.
#include <windows.h>

#include <cstring>

#include "override_text.h"

extern "C" DWORD WINAPI GetQmrkString(const char* moduleName, DWORD stringId, DWORD langId,
                                      char* buffer, DWORD bufferLength) {
  // The DLL's own file tells where the text file is, wherever the program
  // found the DLL.
  HMODULE self = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(&GetQmrkString), &self)) {
    return kOverrideNoFile;
  }
  char path[MAX_PATH + sizeof kOverrideTextFileName];
  const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return kOverrideNoFile;
  // CharNextA steps over double-byte characters, whose second byte may be
  // the value of a backslash.
  char* separator = nullptr;
  for (char* p = path; *p; p = CharNextA(p)) {
    if (*p == '\\' || *p == '/') separator = p;
  }
  char* name = separator ? separator + 1 : path;
  memcpy(name, kOverrideTextFileName, sizeof kOverrideTextFileName);
  return AnswerFromFile(path, moduleName, stringId, langId, buffer, bufferLength);
}
