// One line of an INI file as the Win32 profile functions read it: shared by
// the POSIX profile emulation and the property writer, which must agree on
// what a line is. Plain text rules, no system calls.
#pragma once

#include <string>
#include <string_view>

namespace ini {

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

inline std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

inline char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

enum class Kind { Blank, Comment, Section, Key, Other };

struct Parsed {
  Kind kind = Kind::Blank;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // value of a key line, trimmed
};

inline Parsed Classify(std::string_view content) {
  Parsed p;
  const std::string_view t = Trim(content);
  if (t.empty()) return p;
  if (t.front() == ';') {
    p.kind = Kind::Comment;
    return p;
  }
  if (t.front() == '[') {
    const size_t close = t.rfind(']');
    if (close != std::string_view::npos) {
      p.kind = Kind::Section;
      p.name = Trim(t.substr(1, close - 1));
      return p;
    }
  }
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) {
    p.kind = Kind::Other;
    p.name = t;
    return p;
  }
  p.kind = Kind::Key;
  p.name = Trim(t.substr(0, eq));
  p.value = Trim(t.substr(eq + 1));
  return p;
}

inline bool HasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// A key is written only when its line reads back as the same key.
inline bool KeyNameWritable(std::string_view key) {
  if (HasLineBreakOrNul(key)) return false;
  const std::string line = std::string(key) + "=x";
  const Parsed p = Classify(line);
  return p.kind == Kind::Key && p.name == key;
}

}  // namespace ini
