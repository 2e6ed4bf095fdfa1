// UTF-8 decoding and the check that each text fits its Windows code page.
#include <errno.h>
#include <iconv.h>

#include "resgen.h"

namespace resgen {
namespace {

// Decodes one code point at s[*i]; advances *i. Returns -1 on malformed
// input (truncated, overlong, surrogate or beyond U+10FFFF).
long DecodeOne(std::string_view s, size_t* i) {
  unsigned char c = static_cast<unsigned char>(s[*i]);
  int extra;
  long cp;
  long minimum;
  if (c < 0x80) {
    ++*i;
    return c;
  } else if ((c & 0xE0) == 0xC0) {
    extra = 1;
    cp = c & 0x1F;
    minimum = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    extra = 2;
    cp = c & 0x0F;
    minimum = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    extra = 3;
    cp = c & 0x07;
    minimum = 0x10000;
  } else {
    return -1;
  }
  if (s.size() - *i <= size_t(extra)) return -1;  // truncated sequence
  for (int k = 1; k <= extra; ++k) {
    unsigned char t = static_cast<unsigned char>(s[*i + k]);
    if ((t & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (t & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  *i += extra + 1;
  return cp;
}

struct Iconv {
  iconv_t cd;
  Iconv(const char* to, const char* from) : cd(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd);
  }
  bool ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
};

std::string CodePageName(int codepage) { return "CP" + std::to_string(codepage); }

// Converts all of `in`; false when a character has no mapping.
bool Convert(Iconv& conv, const std::string& in, std::string* out) {
  iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);  // reset shift state
  out->assign(in.size() * 4 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = &(*out)[0];
  size_t dstLeft = out->size();
  if (iconv(conv.cd, &src, &srcLeft, &dst, &dstLeft) == size_t(-1)) return false;
  if (iconv(conv.cd, nullptr, nullptr, &dst, &dstLeft) == size_t(-1)) return false;
  out->resize(out->size() - dstLeft);
  return srcLeft == 0;
}

}  // namespace

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size())
    if (DecodeOne(s, &i) < 0) return false;
  return true;
}

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  size_t i = 0;
  while (i < s.size()) {
    long cp = DecodeOne(s, &i);
    if (cp < 0) {  // callers validate first; never loop on bad input
      out.push_back(u'\uFFFD');
      ++i;
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(char16_t(0xD800 + (cp >> 10)));
      out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(char16_t(cp));
    }
  }
  return out;
}

bool CodePageKnown(int codepage) {
  Iconv conv(CodePageName(codepage).c_str(), "UTF-8");
  return conv.ok();
}

bool CheckCodePage(const LangFile& file, std::string* error) {
  std::string name = CodePageName(file.codepage);
  Iconv to(name.c_str(), "UTF-8");
  Iconv back("UTF-8", name.c_str());
  if (!to.ok() || !back.ok()) {
    *error = file.path + ": code page " + std::to_string(file.codepage) + " is not known to iconv";
    return false;
  }
  for (const Entry& e : file.entries) {
    // LoadStringA converts the stored UTF-16 text to the ANSI code page at
    // run time; a character without an exact round trip would come out as
    // '?' or as a different character there.
    std::string narrow, wide;
    if (!Convert(to, e.text, &narrow) || !Convert(back, narrow, &wide) || wide != e.text) {
      *error = file.path + ":" + std::to_string(e.line) + ": text of id " +
               std::to_string(e.baseId) + " cannot be represented in code page " +
               std::to_string(file.codepage);
      return false;
    }
  }
  return true;
}

}  // namespace resgen
