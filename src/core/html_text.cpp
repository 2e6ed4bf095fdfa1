#include "html_text.h"

#include <cstdint>

#include "utf8.h"

namespace {

// Controls are mostly padding or junk in firmware strings: a blank keeps the
// words apart, as in the property file.
bool IsForbiddenControl(uint32_t c) {
  if (c < 0x20) return c != '\t' && c != '\n' && c != '\f' && c != '\r';
  return c >= 0x7F && c <= 0x9F;
}

bool IsNoncharacter(uint32_t c) { return (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE; }

}  // namespace

std::string HtmlEscapedText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + 16);
  size_t i = 0;
  while (i < utf8.size()) {
    uint32_t c = 0;
    const size_t length = DecodeUtf8(utf8.substr(i), &c);
    if (length == 0) {
      out += kUtf8Replacement;
      ++i;
      continue;
    }
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        if (IsForbiddenControl(c)) {
          out += ' ';
        } else if (IsNoncharacter(c)) {
          out += kUtf8Replacement;
        } else {
          out.append(utf8, i, length);
        }
        break;
    }
    i += length;
  }
  return out;
}
