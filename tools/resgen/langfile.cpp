// Reading the language files and the list of other resources.
#include <map>
#include <set>
#include <utility>

#include "resgen.h"

namespace resgen {
namespace {

bool Fail(std::string* error, const std::string& path, int line, const std::string& message) {
  *error = path + ":" + std::to_string(line) + ": " + message;
  return false;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return s.substr(i);
}

bool OnlyBlanks(std::string_view s) { return TrimLeft(s).empty(); }

// A string's name is a C++ identifier of its own kind: "kId", then ASCII
// letters and digits, so that it cannot meet the other constants of the
// files that include the id header.
bool IsValidName(std::string_view s) {
  if (s.size() <= 3 || s.substr(0, 3) != "kId") return false;
  for (char c : s)
    if (!IsDigit(c) && !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
  return true;
}

// Unsigned decimal number; at most 9 digits, so no overflow.
bool ParseNumber(std::string_view s, unsigned* value) {
  if (s.empty() || s.size() > 9) return false;
  unsigned v = 0;
  for (char c : s) {
    if (!IsDigit(c)) return false;
    v = v * 10 + unsigned(c - '0');
  }
  *value = v;
  return true;
}

// Splits `content` into lines (LF or CR LF) and hands each to `fn` with its
// 1-based number; stops at the first line `fn` refuses.
template <typename Fn>
bool ForEachLine(std::string_view content, Fn fn) {
  // A UTF-8 byte order mark that some editors add is not part of line 1.
  if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
  int number = 0;
  while (!content.empty()) {
    size_t end = content.find('\n');
    std::string_view line = content.substr(0, end);
    content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!fn(line, ++number)) return false;
  }
  return true;
}

// Decodes a quoted text starting at the opening quote of `s`. On success
// *rest is what follows the closing quote.
bool ParseQuoted(std::string_view s, std::string* text, std::string_view* rest,
                 std::string* message) {
  size_t i = 1;  // past the opening quote
  text->clear();
  while (i < s.size()) {
    char c = s[i++];
    if (c == '"') {
      *rest = s.substr(i);
      return true;
    }
    if (c != '\\') {
      text->push_back(c);
      continue;
    }
    if (i >= s.size()) break;
    char e = s[i++];
    switch (e) {
      case 'r': text->push_back('\r'); break;
      case 'n': text->push_back('\n'); break;
      case 't': text->push_back('\t'); break;
      case '\\': text->push_back('\\'); break;
      case '"': text->push_back('"'); break;
      case '0': text->push_back('\0'); break;
      case 'x': {
        int hi = i < s.size() ? HexValue(s[i]) : -1;
        int lo = i + 1 < s.size() ? HexValue(s[i + 1]) : -1;
        if (hi < 0 || lo < 0) {
          *message = "\\x needs exactly two hexadecimal digits";
          return false;
        }
        text->push_back(char(hi * 16 + lo));
        i += 2;
        break;
      }
      default:
        *message =
            std::string("unknown escape \\") + e + " (known: \\r \\n \\t \\\\ \\\" \\0 \\xHH)";
        return false;
    }
  }
  *message = "unterminated text: no closing quote on this line";
  return false;
}

}  // namespace

unsigned TranslatedId(unsigned baseId, int language) {
  return baseId < 3000 ? baseId + 100u * unsigned(language) : baseId + 1000u * unsigned(language);
}

bool IsValidBaseId(unsigned id) { return (id >= 1 && id <= 99) || (id >= 3000 && id <= 3999); }

bool ParseLangFile(const std::string& path, std::string_view content, LangFile* out,
                   std::string* error) {
  *out = LangFile{};
  out->path = path;
  std::map<unsigned, int> seen;      // base id -> line
  std::map<std::string, int> names;  // name -> line
  bool haveCodepage = false;

  bool ok = ForEachLine(content, [&](std::string_view raw, int n) {
    if (raw.size() > kMaxLineBytes) return Fail(error, path, n, "line too long");
    std::string_view line = TrimLeft(raw);
    if (line.empty() || line[0] == '#') return true;

    if (!IsDigit(line[0])) {  // header directive
      size_t end = 0;
      while (end < line.size() && !IsBlank(line[end])) ++end;
      std::string_view word = line.substr(0, end);
      std::string_view arg = TrimLeft(line.substr(end));
      while (!arg.empty() && IsBlank(arg.back())) arg.remove_suffix(1);
      unsigned value = 0;
      if (word != "language" && word != "codepage")
        return Fail(error, path, n,
                    "expected 'language N', 'codepage N', a comment or an "
                    "entry 'ID \"text\"'");
      if (!out->entries.empty())
        return Fail(error, path, n, "'" + std::string(word) + "' must come before the first entry");
      if (!ParseNumber(arg, &value))
        return Fail(error, path, n, "'" + std::string(word) + "' needs a number");
      if (word == "language") {
        if (out->language >= 0) return Fail(error, path, n, "second 'language' line");
        if (value > unsigned(kMaxLanguage))
          return Fail(error, path, n, "language " + std::to_string(value) + " out of range 0..24");
        out->language = int(value);
      } else {
        if (haveCodepage) return Fail(error, path, n, "second 'codepage' line");
        if (value == 0 || value > 65535 || !CodePageKnown(int(value)))
          return Fail(error, path, n, "unknown code page " + std::to_string(value));
        out->codepage = int(value);
        haveCodepage = true;
      }
      return true;
    }

    if (out->language < 0 || !haveCodepage)
      return Fail(error, path, n, "entry before the 'language' and 'codepage' lines");
    size_t end = 0;
    while (end < line.size() && IsDigit(line[end])) ++end;
    unsigned id = 0;
    if (!ParseNumber(line.substr(0, end), &id) || !IsValidBaseId(id))
      return Fail(error, path, n,
                  "id " + std::string(line.substr(0, end)) + " out of range (1..99 or 3000..3999)");
    std::string_view rest = line.substr(end);
    if (rest.empty() || !IsBlank(rest[0]))
      return Fail(error, path, n, "expected a blank after the id");
    rest = TrimLeft(rest);

    Entry entry;
    entry.baseId = id;
    entry.line = n;
    if (!rest.empty() && rest[0] != '"') {  // the optional name
      size_t nameEnd = 0;
      while (nameEnd < rest.size() && !IsBlank(rest[nameEnd])) ++nameEnd;
      entry.name = std::string(rest.substr(0, nameEnd));
      if (!IsValidName(entry.name))
        return Fail(error, path, n,
                    "expected a name kId<letters and digits> or a "
                    "double-quoted text after the id");
      if (out->language != 0)
        return Fail(error, path, n, "names are given in the English file only");
      auto [first, freshName] = names.emplace(entry.name, n);
      if (!freshName)
        return Fail(error, path, n,
                    "duplicate name " + entry.name + " (first on line " +
                        std::to_string(first->second) + ")");
      rest = TrimLeft(rest.substr(nameEnd));
    }
    if (rest.empty() || rest[0] != '"')
      return Fail(error, path, n, "expected a double-quoted text after the id");
    std::string message;
    std::string_view after;
    if (!ParseQuoted(rest, &entry.text, &after, &message)) return Fail(error, path, n, message);
    if (!OnlyBlanks(after))
      return Fail(error, path, n, "unexpected characters after the closing quote");
    if (entry.text.empty())
      return Fail(error, path, n, "empty text (Windows treats an empty string as missing)");
    if (entry.text.size() > kMaxTextBytes)
      return Fail(error, path, n, "text longer than " + std::to_string(kMaxTextBytes) + " bytes");
    if (!IsValidUtf8(entry.text)) return Fail(error, path, n, "text is not valid UTF-8");
    auto [it, fresh] = seen.emplace(id, n);
    if (!fresh)
      return Fail(error, path, n,
                  "duplicate id " + std::to_string(id) + " (first on line " +
                      std::to_string(it->second) + ")");
    out->entries.push_back(std::move(entry));
    return true;
  });
  if (!ok) return false;
  if (out->language < 0 || !haveCodepage)
    return Fail(error, path, 1, "missing 'language' or 'codepage' line");
  return true;
}

bool ParseOthersFile(const std::string& path, std::string_view content, std::vector<OtherRes>* out,
                     std::string* error) {
  static const std::pair<std::string_view, int> kKinds[] = {{"menu", kKindMenu},
                                                            {"icon", kKindIcon},
                                                            {"bitmap", kKindBitmap},
                                                            {"dialog", kKindDialog},
                                                            {"accelerator", kKindAccelerator}};
  out->clear();
  std::set<std::pair<int, unsigned>> seen;
  return ForEachLine(content, [&](std::string_view raw, int n) {
    if (raw.size() > kMaxLineBytes) return Fail(error, path, n, "line too long");
    std::string_view line = TrimLeft(raw);
    if (line.empty() || line[0] == '#') return true;
    size_t end = 0;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    std::string_view word = line.substr(0, end);
    std::string_view arg = TrimLeft(line.substr(end));
    while (!arg.empty() && IsBlank(arg.back())) arg.remove_suffix(1);
    OtherRes res;
    res.line = n;
    res.kind = -1;
    for (const auto& k : kKinds)
      if (word == k.first) res.kind = k.second;
    if (res.kind < 0)
      return Fail(
          error, path, n,
          "unknown kind '" + std::string(word) + "' (menu, icon, bitmap, dialog, accelerator)");
    if (!ParseNumber(arg, &res.id) || res.id == 0 || res.id > 65535)
      return Fail(error, path, n, "expected an id 1..65535 after the kind");
    if (!seen.emplace(res.kind, res.id).second)
      return Fail(error, path, n, "duplicate " + std::string(word) + " " + std::to_string(res.id));
    out->push_back(res);
    return true;
  });
}

bool CheckLanguageSet(const std::vector<LangFile>& files, std::string* error) {
  std::map<int, const LangFile*> byLanguage;
  for (const LangFile& f : files) {
    auto [it, fresh] = byLanguage.emplace(f.language, &f);
    if (!fresh) {
      *error = f.path + ": language " + std::to_string(f.language) + " already given by " +
               it->second->path;
      return false;
    }
  }
  auto english = byLanguage.find(0);
  if (english == byLanguage.end()) return true;
  std::set<unsigned> base;
  for (const Entry& e : english->second->entries) base.insert(e.baseId);
  for (const LangFile& f : files) {
    for (const Entry& e : f.entries) {
      if (!base.count(e.baseId))
        return Fail(error, f.path, e.line,
                    "id " + std::to_string(e.baseId) + " has no English string in " +
                        english->second->path);
    }
  }
  return true;
}

}  // namespace resgen
