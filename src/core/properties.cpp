// Property (INI) output: one key per decoded field in section "Settings" of
// the output file.
#include <cstdio>
#include <string>

#include "qmrkw32.h"

namespace {

std::string TrimBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

int WritePropertyString(const char* pszPropertyKey, const char* pszValue) {
  // A CR or LF in a firmware string would start a new line in the INI file
  // and so forge keys or sections; every control character becomes a blank.
  std::string value = pszValue ? pszValue : "";
  for (char& c : value) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) c = ' ';
  }
  // Blanks around a key or value are lost to every INI reader, and the
  // Windows profile writer drops those of a value as well: trim both here so
  // the file is the same on every platform (keys padded by a "%-4u" number
  // included).
  const std::string key = TrimBlanks(pszPropertyKey ? pszPropertyKey : "");
  return PlatWritePrivateProfileString("Settings", key.c_str(), TrimBlanks(value).c_str(),
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
