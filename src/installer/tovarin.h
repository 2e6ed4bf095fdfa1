// TOVARIN, the patch installer: replaces the installed SYSLENS and PROBEX
// program files of the Quillmark suite with the ones beside TOVARIN.
#pragma once

#include <windows.h>

#include "tovarin_paths.h"

// Exit codes. 1 is what TOVARIN has always returned both after running the
// patch commands and when no installation is registered; the others tell the
// remaining outcomes apart.
constexpr int kExitUsage = 0;         // usage text shown; nothing read or changed
constexpr int kExitPatched = 1;       // the four commands have run
constexpr int kExitNotInstalled = 1;  // no registry location names the suite
constexpr int kExitNoDirectory = 2;   // the registered directory is not on disk
constexpr int kExitRefused = 3;       // unsafe path, or started in the suite
                                      // directory itself; nothing changed

// The registry values read at start, each empty when unreadable.
extern _sysdir sysdir;
// TOVARIN's own directory, with its trailing backslash.
extern char subprg[kPathSize];

// Reads the string value szValueName of hMainKey\szSubKey into szBuffer
// (BufferSize bytes). TRUE only when the key opens, the value is a string
// and it fits with its terminator; otherwise szBuffer is empty.
BOOL RegGetKeyStringValue(HKEY hMainKey, LPCSTR szSubKey, LPCSTR szValueName, LPSTR szBuffer,
                          DWORD BufferSize);

// Fills sysdir from the three registry locations.
void RegRetriveSysDirs();
