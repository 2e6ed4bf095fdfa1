// Encoding of report text on Windows: program text (captions from LoadStringA,
// firmware strings) is in the ANSI code page; the HTML report declares UTF-8.
#include <windows.h>

#include <climits>

#include "platform.h"

std::string PlatTextToUtf8(std::string_view text) {
  // The conversion functions count in int; report texts are far shorter.
  if (text.empty() || text.size() > INT_MAX / 4) return std::string();
  const int size = static_cast<int>(text.size());
  // Every byte of a single-byte code page maps to a character; an undefined
  // or cut double-byte sequence becomes the code page's default character.
  const int wideSize = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (wideSize <= 0) return std::string();
  std::wstring wide(static_cast<size_t>(wideSize), L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], wideSize) != wideSize) {
    return std::string();
  }
  const int utf8Size =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
  if (utf8Size <= 0) return std::string();
  std::string utf8(static_cast<size_t>(utf8Size), '\0');
  if (WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, &utf8[0], utf8Size, nullptr,
                          nullptr) != utf8Size) {
    return std::string();
  }
  return utf8;
}

std::string PlatValidNarrowText(std::string_view text) { return std::string(text); }
