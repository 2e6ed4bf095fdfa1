#include "tovarin.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "tovarin_system.h"
#include "tovarin_texts.h"

static_assert(kRegTypeSz == REG_SZ && kRegTypeExpandSz == REG_EXPAND_SZ, "registry type constants");
// Two full paths and the command words always fit into one command line.
static_assert(kCommandSize >= 2 * kPathSize + 32, "command buffer");

_sysdir sysdir;
char subprg[kPathSize];

namespace {

constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmark";
constexpr const char* kSuiteKey = "Software\\Quillmark\\Quillmark for Windows";
constexpr const char* kUninstallKey2 =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmarks";

// Replaces the REG_EXPAND_SZ text in buf by its expansion, which must fit
// into size bytes as well.
bool ExpandInPlace(char* buf, DWORD size) {
  char expanded[1024];
  DWORD n = ExpandEnvironmentStringsA(buf, expanded, sizeof expanded);
  if (n == 0 || n > sizeof expanded || memchr(expanded, '\0', sizeof expanded) == nullptr)
    return false;
  size_t len = strlen(expanded);
  if (len >= size) return false;
  memcpy(buf, expanded, len + 1);
  return true;
}

int RefuseUnsafe(const char* path, char bad) {
  char what[32];
  if (static_cast<unsigned char>(bad) < 0x20 || bad == 0x7F)
    snprintf(what, sizeof what, "a control character");
  else snprintf(what, sizeof what, "the character %c", bad);
  printf(kUnsafePathText, path, what, subprg);
  WaitForKey();
  return kExitRefused;
}

}  // namespace

BOOL RegGetKeyStringValue(HKEY hMainKey, LPCSTR szSubKey, LPCSTR szValueName, LPSTR szBuffer,
                          DWORD BufferSize) {
  if (szBuffer == nullptr || BufferSize == 0) return FALSE;
  szBuffer[0] = '\0';
  // Read access is all that is needed; asking for more fails for ordinary
  // users. The suite is a 32-bit program, registered in the 32-bit view of
  // the registry, so that view is searched first (both builds then find the
  // same installation) and the 64-bit view only when the key is not there.
  // 32-bit Windows ignores the view flags.
  HKEY hKey = nullptr;
  LONG rc = ERROR_FILE_NOT_FOUND;
  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    rc = RegOpenKeyExA(hMainKey, szSubKey, 0, KEY_QUERY_VALUE | view, &hKey);
    if (rc == ERROR_SUCCESS) break;
  }
  if (rc != ERROR_SUCCESS) return FALSE;
  DWORD type = REG_NONE;
  DWORD cb = BufferSize;
  rc = RegQueryValueExA(hKey, szValueName, nullptr, &type, reinterpret_cast<BYTE*>(szBuffer), &cb);
  RegCloseKey(hKey);
  // A value longer than the buffer (ERROR_MORE_DATA) counts as missing.
  if (rc != ERROR_SUCCESS) {
    szBuffer[0] = '\0';
    return FALSE;
  }
  if (!FinishRegString(type, szBuffer, cb, BufferSize)) return FALSE;
  if (type == REG_EXPAND_SZ && !ExpandInPlace(szBuffer, BufferSize)) {
    szBuffer[0] = '\0';
    return FALSE;
  }
  return TRUE;
}

void RegRetriveSysDirs() {
  RegGetKeyStringValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", sysdir.progfiles,
                       sizeof sysdir.progfiles);
  RegGetKeyStringValue(HKEY_LOCAL_MACHINE, kSuiteKey, "MainExePath", sysdir.instdir,
                       sizeof sysdir.instdir);
  RegGetKeyStringValue(HKEY_LOCAL_MACHINE, kUninstallKey2, "UninstallString", sysdir.uninstreg,
                       sizeof sysdir.uninstreg);
}

int main(int argc, char* _argv[]) {
  char szModule[kPathSize];
  DWORD n = GetModuleFileNameA(nullptr, szModule, sizeof szModule);
  if (n == 0 || n >= sizeof szModule) szModule[0] = '\0';
  ComputeSubprg(argc > 0 ? _argv[0] : nullptr, szModule, subprg, sizeof subprg);
  printf("\n");

  if (argc != 1) {
    printf("%s", kUsageText);
    return kExitUsage;
  }

  RegRetriveSysDirs();
  SuiteLocation loc = LocateSuite(sysdir);
  if (loc.rule == SuiteRule::None) {
    printf("%s", kNotInstalledText);
    printf(kManualCopyText, subprg);
    WaitForKey();
    return kExitNotInstalled;
  }
  ClearScreen();
  printf(loc.rule == SuiteRule::InstalledLocation ? kInstalledLocationText : kUninstallLocationText,
         loc.lpszValue);
  printf(kDirectoryText, loc.szDir);

  char szShortDir[kPathSize];
  if (!GetShortDirectory(loc.szDir, szShortDir, sizeof szShortDir)) {
    printf(kNoDirectoryText, loc.szDir);
    WaitForKey();
    return kExitNoDirectory;
  }
  // The commands pass through the command interpreter: a path it would
  // read as more than a file name is refused, not run.
  if (char bad = FindUnsafeChar(szShortDir)) return RefuseUnsafe(szShortDir, bad);
  if (char bad = FindUnsafeChar(subprg)) return RefuseUnsafe(subprg, bad);
  // Started from inside the suite directory, the deletes would remove the
  // very files the copies are meant to bring.
  if (IsSameDirectory(szShortDir, subprg)) {
    printf(kSameDirectoryText, loc.szDir);
    WaitForKey();
    return kExitRefused;
  }
  PatchCommands cmds;
  if (!BuildPatchCommands(szShortDir, subprg, &cmds)) {
    // Cannot happen with the checks above and the buffer sizes asserted.
    return kExitRefused;
  }
  for (const char* cmd : cmds.szCmd) {
    printf("%s\n", cmd);
    // Keep the echo ahead of the interpreter's own output.
    fflush(stdout);
    system(cmd);
  }
  return kExitPatched;
}
