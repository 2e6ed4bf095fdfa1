// The sample override module for POSIX: CustomStrings.so with the C symbol
// GetQmrkString, which answers from CustomStrings.txt beside the module.
#include <dlfcn.h>

#include <cstring>

#include "override_text.h"

extern "C" __attribute__((visibility("default"))) uint32_t GetQmrkString(const char* moduleName,
                                                                         uint32_t stringId,
                                                                         uint32_t langId,
                                                                         char* buffer,
                                                                         uint32_t bufferLength) {
  // The module's own file tells where the text file is, wherever the
  // program found the module.
  Dl_info info;
  if (!dladdr(reinterpret_cast<void*>(&GetQmrkString), &info) || !info.dli_fname) {
    return kOverrideNoFile;
  }
  char path[4096];
  const size_t length = strnlen(info.dli_fname, sizeof path);
  const char* slash = strrchr(info.dli_fname, '/');
  const size_t directory = slash ? static_cast<size_t>(slash - info.dli_fname) + 1 : 0;
  if (length >= sizeof path || directory + sizeof kOverrideTextFileName > sizeof path) {
    return kOverrideNoFile;
  }
  memcpy(path, info.dli_fname, directory);
  memcpy(path + directory, kOverrideTextFileName, sizeof kOverrideTextFileName);
  return AnswerFromFile(path, moduleName, stringId, langId, buffer, bufferLength);
}
