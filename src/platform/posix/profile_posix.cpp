// User profile (win.ini) and private-profile files on POSIX: INI files read
// and written with the same rules as the Win32 calls.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ini_file.h"
#include "platform.h"

namespace {

// $QMRK_WIN_INI, else ${XDG_CONFIG_HOME:-$HOME/.config}/quillmark/win.ini.
std::string ProfilePath() {
  if (const char* explicitPath = getenv("QMRK_WIN_INI"); explicitPath && *explicitPath) {
    return explicitPath;
  }
  std::string base;
  if (const char* xdg = getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    base = xdg;
  } else if (const char* home = getenv("HOME"); home && *home) {
    base = std::string(home) + "/.config";
  } else {
    return {};
  }
  return base + "/quillmark/win.ini";
}

// Creates the missing directories above a file about to be written.
void MakeParentDirectories(const std::string& file) {
  for (size_t slash = file.find('/', 1); slash != std::string::npos;
       slash = file.find('/', slash + 1)) {
    mkdir(file.substr(0, slash).c_str(), 0755);
  }
}

}  // namespace

int PlatGetProfileInt(const char* section, const char* key, int defaultValue) {
  const std::string path = ProfilePath();
  if (path.empty()) return defaultValue;
  char text[64];
  if (IniGetString(path.c_str(), section, key, "", text, sizeof text) == 0) return defaultValue;
  // Like GetProfileInt: leading decimal digits (with an optional sign); text
  // without digits reads as 0.
  return static_cast<int>(strtol(text, nullptr, 10));
}

unsigned PlatGetProfileString(const char* section, const char* key, const char* defaultValue,
                              char* out, unsigned size) {
  // Without a profile every key is missing: the default, treated as the
  // reader treats it.
  return IniGetString(ProfilePath().c_str(), section, key, defaultValue, out, size);
}

bool PlatWriteProfileString(const char* section, const char* key, const char* value) {
  const std::string path = ProfilePath();
  if (path.empty()) return false;
  MakeParentDirectories(path);
  return IniWriteString(path.c_str(), section, key, value);
}

unsigned PlatGetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                     char* out, unsigned size, const char* file) {
  return IniGetString(file, section, key, defaultValue, out, size);
}

bool PlatWritePrivateProfileString(const char* section, const char* key, const char* value,
                                   const char* file) {
  return IniWriteString(file, section, key, value);
}
