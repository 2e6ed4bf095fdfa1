#include "format_checked.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

bool FormatKinds(const char* format, char* kinds, size_t size) {
  size_t count = 0;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && strchr("-+ #0", *p)) ++p;
    while (*p >= '0' && *p <= '9') ++p;
    if (*p == '.') {
      ++p;
      while (*p >= '0' && *p <= '9') ++p;
    }
    int longs = 0;
    while (*p == 'h') ++p;
    while (*p == 'l') {
      ++longs;
      ++p;
    }
    char kind;
    switch (*p) {
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X':
      case 'o':
      case 'c':
        kind = longs == 0 ? 'i' : longs == 1 ? 'l' : 'L';
        if (*p == 'c' && longs) return false;
        break;
      case 's':
        if (longs) return false;
        kind = 's';
        break;
      default: return false;  // '*', %n, %p, floating point, or a cut-off format
    }
    if (count + 1 >= size) return false;
    kinds[count++] = kind;
  }
  if (count >= size) return false;
  kinds[count] = '\0';
  return true;
}

bool FormatChecked(char* out, size_t size, const char* format, const char* kinds, ...) {
  if (!out || size == 0) return false;
  if (!format) format = "";
  char found[32];
  if (!FormatKinds(format, found, sizeof found) || strcmp(found, kinds ? kinds : "") != 0) {
    snprintf(out, size, "%s", format);
    return false;
  }
  va_list args;
  va_start(args, kinds);
  vsnprintf(out, size, format, args);
  va_end(args);
  return true;
}

void CopyText(char* out, size_t size, const char* text) {
  if (size == 0) return;
  if (!text) text = "(null)";  // what the C libraries print for it
  const size_t length = strnlen(text, size - 1);
  memmove(out, text, length);
  out[length] = '\0';
}

void AppendText(char* out, size_t size, const char* text) {
  const size_t used = strnlen(out, size);
  if (used + 1 < size) CopyText(out + used, size - used, text);
}
