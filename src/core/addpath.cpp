#include "addpath.h"

#include <cstdio>

namespace {
char szPathname[kMaxPath];
}

const char* AddPath(QHANDLE hInst, const char* pszFilename) {
  char modulePath[kMaxPath] = "";
  unsigned length = PlatGetModuleFileName(hInst, modulePath, sizeof modulePath);
  if (length >= sizeof modulePath) length = 0;  // cut path: not trustworthy
  modulePath[length] = '\0';
  // Cut after the last separator; one in the first position (a bare root)
  // does not count, so such a path has no directory part.
  const char separator = PlatPathSeparator();
  size_t directoryLength = 0;
  for (size_t i = length; i > 1; --i) {
    if (modulePath[i - 1] == separator) {
      directoryLength = i;
      break;
    }
  }
  modulePath[directoryLength] = '\0';
  snprintf(szPathname, sizeof szPathname, "%s%s", modulePath, pszFilename ? pszFilename : "");
  return szPathname;
}
