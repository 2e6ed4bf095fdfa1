// Property (INI) output: one key per decoded field in section "Settings" of
// the output file.
#include <cstdio>
#include <string>

#include "qmrkw32.h"

int WritePropertyString(const char* pszPropertyKey, const char* pszValue) {
  // A CR or LF in a firmware string would start a new line in the INI file
  // and so forge keys or sections; every control character becomes a blank.
  std::string value = pszValue ? pszValue : "";
  for (char& c : value) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) c = ' ';
  }
  return PlatWritePrivateProfileString("Settings", pszPropertyKey, value.c_str(),
                                       wnd_data.szOutputFile)
             ? 1
             : 0;
}

int WritePropertyDword(const char* pszPropertyKey, uint32_t dwValue) {
  char text[40];
  snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(dwValue));
  if (!text[0]) return 0;
  return WritePropertyString(pszPropertyKey, text);
}
