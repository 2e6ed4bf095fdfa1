#include "override_text.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

void SkipBlanks(std::string_view& s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameNameIgnoringCase(std::string_view a, const char* b) {
  const size_t bLength = strlen(b);
  if (a.size() != bLength) return false;
  for (size_t i = 0; i < bLength; ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decimal string id: at most 10 digits and no more than 32 bits.
bool ParseId(std::string_view& s, uint32_t* id) {
  uint64_t value = 0;
  size_t digits = 0;
  while (!s.empty() && s.front() >= '0' && s.front() <= '9') {
    if (++digits > 10) return false;
    value = value * 10 + static_cast<unsigned>(s.front() - '0');
    s.remove_prefix(1);
  }
  if (digits == 0 || value > 0xFFFFFFFFu) return false;
  *id = static_cast<uint32_t>(value);
  return true;
}

// Language: "*" (any) or 0x followed by one to four hex digits.
bool ParseLanguage(std::string_view& s, bool* any, uint32_t* langId) {
  if (!s.empty() && s.front() == '*') {
    s.remove_prefix(1);
    *any = true;
    return true;
  }
  if (s.size() < 3 || s[0] != '0' || (s[1] != 'x' && s[1] != 'X')) return false;
  s.remove_prefix(2);
  uint32_t value = 0;
  size_t digits = 0;
  while (!s.empty() && HexDigit(s.front()) >= 0) {
    if (++digits > 4) return false;
    value = value * 16 + static_cast<uint32_t>(HexDigit(s.front()));
    s.remove_prefix(1);
  }
  if (digits == 0) return false;
  *any = false;
  *langId = value;
  return true;
}

// Decodes the body of a quoted text (between the quotes) into out, which
// may be null to only check it. Escapes: \t \r \n \\ \" and \xHH (not 00).
// Returns false for a bad escape, a bare quote or a NUL byte; *length gets the decoded
// length, which may exceed size (then out is not written past size - 1).
bool DecodeText(std::string_view body, char* out, size_t size, size_t* length) {
  size_t n = 0;
  for (size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if (c == '"' || c == '\0') return false;  // a NUL would cut the caption short
    if (c == '\\') {
      if (++i >= body.size()) return false;
      switch (body[i]) {
        case 't': c = '\t'; break;
        case 'r': c = '\r'; break;
        case 'n': c = '\n'; break;
        case '\\': c = '\\'; break;
        case '"': c = '"'; break;
        case 'x': {
          if (i + 2 >= body.size()) return false;
          const int high = HexDigit(body[i + 1]);
          const int low = HexDigit(body[i + 2]);
          if (high < 0 || low < 0 || (high == 0 && low == 0)) return false;
          c = static_cast<char>(high * 16 + low);
          i += 2;
          break;
        }
        default: return false;
      }
    }
    if (out && n + 1 < size) out[n] = c;
    ++n;
  }
  *length = n;
  return true;
}

struct Entry {
  uint32_t id = 0;
  bool anyLanguage = true;
  uint32_t langId = 0;
  std::string_view body;  // between the quotes, still escaped
};

// One entry line: ID [LANGUAGE] "TEXT", then nothing but blanks.
bool ParseEntry(std::string_view line, Entry* entry) {
  if (!ParseId(line, &entry->id)) return false;
  if (line.empty() || !IsBlank(line.front())) return false;
  SkipBlanks(line);
  entry->anyLanguage = true;
  if (!line.empty() && line.front() != '"') {
    if (!ParseLanguage(line, &entry->anyLanguage, &entry->langId)) return false;
    if (line.empty() || !IsBlank(line.front())) return false;
    SkipBlanks(line);
  }
  if (line.size() < 2 || line.front() != '"' || line.back() != '"') return false;
  entry->body = line.substr(1, line.size() - 2);
  size_t length = 0;
  return DecodeText(entry->body, nullptr, 0, &length);
}

}  // namespace

uint32_t FindOverrideText(const char* text, size_t length, const char* program, uint32_t stringId,
                          uint32_t langId, char* out, uint32_t size) {
  if (!text || !out || size == 0) return kOverrideBadParameter;
  if (!program) program = "";
  std::string_view rest(text, length);
  // A byte-order mark written by an editor is not part of the first line.
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);

  bool sectionApplies = true;  // entries before any section apply to all
  bool found = false;
  Entry chosen;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    std::string_view line = Trim(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    if (line.front() == '[') {
      // A malformed section line closes the previous section all the same,
      // so its entries do not land in the wrong program's list.
      const bool closed = line.back() == ']';
      const std::string_view name = closed ? Trim(line.substr(1, line.size() - 2)) : "";
      sectionApplies = closed && (name == "*" || SameNameIgnoringCase(name, program));
      continue;
    }
    Entry entry;
    if (!sectionApplies || !ParseEntry(line, &entry) || entry.id != stringId) continue;
    if (!entry.anyLanguage && entry.langId != langId) continue;
    if (!entry.anyLanguage) {
      chosen = entry;
      found = true;
      break;  // an entry for this very language beats every other
    }
    if (!found) {
      chosen = entry;
      found = true;
    }
  }
  if (!found) return kOverrideNotFound;
  size_t decoded = 0;
  DecodeText(chosen.body, nullptr, 0, &decoded);
  if (decoded >= size) return kOverrideBufferTooSmall;
  DecodeText(chosen.body, out, size, &decoded);
  out[decoded] = '\0';
  return kOverrideOk;
}

uint32_t AnswerFromFile(const char* path, const char* program, uint32_t stringId, uint32_t langId,
                        char* out, uint32_t size) {
  if (!path || !out || size == 0) return kOverrideBadParameter;
  FILE* file = fopen(path, "rb");
  if (!file) return kOverrideNoFile;
  std::string text(kMaxOverrideFileSize + 1, '\0');
  const size_t read = fread(&text[0], 1, text.size(), file);
  fclose(file);
  if (read > kMaxOverrideFileSize) return kOverrideFileTooLarge;
  return FindOverrideText(text.data(), read, program, stringId, langId, out, size);
}
