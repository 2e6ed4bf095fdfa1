// Resources on POSIX: string tables and the list of other resources are
// generated from the same sources as the Windows resource script; the
// override module is a shared object.
#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <cstdio>

#include "platform.h"
#include "res_table.h"

namespace {

// GetQmrkString(module name, string id, language id, buffer, buffer size):
// 0 when it supplied a text.
using GetQmrkStringFn = uint32_t (*)(const char*, uint32_t, uint32_t, char*, uint32_t);

const ResString* FindString(unsigned id) {
  const ResString* end = kResStrings + kResStringCount;
  const ResString* found = std::lower_bound(
      kResStrings, end, id, [](const ResString& entry, unsigned key) { return entry.id < key; });
  return found != end && found->id == id ? found : nullptr;
}

constexpr char kOverrideModuleName[] = "CustomStrings.so";

// Only the module beside the program, the one a site installs with it, by
// full path. A bare name would go through the loader's search, where an
// empty element of LD_LIBRARY_PATH means the current directory, so a module
// planted there would run; the failed search also cost a few dozen opens.
void* LoadOverrideModule() {
  char path[4096 + sizeof kOverrideModuleName];
  const unsigned length = PlatGetModuleFileName(nullptr, path, 4096);
  if (length == 0 || length >= 4096) return nullptr;
  char* slash = strrchr(path, '/');
  if (!slash) return nullptr;
  memcpy(slash + 1, kOverrideModuleName, sizeof kOverrideModuleName);
  return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

int PlatLoadString(QHANDLE module, unsigned id, char* out, int size) {
  if (!module || !out || size <= 0) return 0;
  const ResString* entry = FindString(id);
  if (!entry || entry->length == 0) {
    out[0] = '\0';
    return 0;
  }
  const unsigned copied = std::min(entry->length, static_cast<unsigned>(size - 1));
  memcpy(out, ResText(*entry), copied);
  out[copied] = '\0';
  return static_cast<int>(copied);
}

bool PlatFindResource(QHANDLE module, unsigned id, ResKind kind) {
  if (!module) return false;
  for (size_t i = 0; i < kResOtherCount; ++i) {
    if (kResOthers[i].id == id && kResOthers[i].kind == static_cast<int>(kind)) return true;
  }
  return false;
}

// There are no icons to show on POSIX; a non-null handle stands for one that
// exists.
QHANDLE PlatLoadIcon(QHANDLE module, unsigned id) {
  return PlatFindResource(module, id, ResKind::Icon) ? const_cast<ResOther*>(kResOthers) : nullptr;
}

bool PlatCallOverrideModule(const char* programName, int stringId, unsigned langId, char* buffer,
                            uint32_t size, uint32_t* result) {
  // Every report string asks the module, so it is looked for once per
  // process. A module installed while the program runs is found at its next
  // start.
  static const GetQmrkStringFn fn = [] {
    void* module = LoadOverrideModule();
    return module ? reinterpret_cast<GetQmrkStringFn>(dlsym(module, "GetQmrkString")) : nullptr;
  }();
  if (!fn) return false;
  *result =
      fn(programName ? programName : "", static_cast<uint32_t>(stringId), langId, buffer, size);
  return true;
}
