// Paths of files that lie beside a program module.
#pragma once

#include "platform.h"

// Directory of module hInst (with its final separator) followed by
// pszFilename, in one shared 260-byte buffer that the next call overwrites.
// Without a known directory the result is pszFilename alone.
const char* AddPath(QHANDLE hInst, const char* pszFilename);
