// Property (INI) output: one key per decoded field in section "Settings" of
// the output file.
//
// A report writes tens of thousands of keys. Rewriting the whole file for
// each, as the profile functions do, costs time quadratic in the report's
// size, so the writer reads the file once and keeps it in memory for the
// report: a known key has its line replaced, a new key goes after the last
// key line of the first "Settings" section (or right after its header), both
// by the profile functions' rules, whatever the file's shape: any line ends,
// other sections before or after, comments, a byte order mark. When the
// report closes the file, new lines at the file's end are appended to it;
// otherwise, or when a line that was in the file changed, the file is
// replaced as a whole. Only the first key goes through the profile functions
// (it creates the file and the section as they do); keys that would not read
// back, files too large to keep, and a section whose last key is followed by
// comment lines (where the platforms' profile functions differ) go through
// them one by one.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ini_line.h"
#include "platform.h"
#include "qmrkw32.h"

namespace {

constexpr char kSection[] = "Settings";
constexpr std::string_view kLineEnd = "\r\n";
// A larger file is left to the profile functions.
constexpr size_t kMaxModelledFile = 16u * 1024u * 1024u;
constexpr size_t kBlockSize = 64 * 1024;

// A key line of "Settings": where it starts (text number, offset) and the
// hash of its name.
struct KeyLine {
  uint32_t text;
  uint32_t offset;
  uint32_t hash;
};

struct PropertyFile {
  std::string path;
  bool learnTried = false;
  bool modelled = false;
  // texts[0] is the file as read; the key lines added since follow in
  // blocks that are never moved or copied as the report grows, each line
  // whole in one block.
  std::vector<std::string> texts;
  // The key lines in file order (a deque: growing never copies it), and a
  // hash table over their names (line number + 1; 0 is a free slot).
  std::deque<KeyLine> lines;
  std::vector<uint32_t> slots;
  // Replaced key lines: line number -> new content, without line end.
  std::unordered_map<uint32_t, std::string> patches;
  bool rewrite = false;  // a line that is in the file was replaced
  // Where new lines go in texts[0]: after the section's last key line; and
  // whether that line lacks a line end (the file's last line), which the
  // first new line then adds.
  size_t insertAt = 0;
  bool breakBefore = false;
};

PropertyFile propertyFile;

PropertyFile Fresh(std::string path, bool learnTried = false) {
  PropertyFile file;
  file.path = std::move(path);
  file.learnTried = learnTried;
  return file;
}

std::string TrimBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

uint32_t HashName(std::string_view name) {
  uint32_t hash = 2166136261u;
  for (char c : name) hash = (hash ^ static_cast<unsigned char>(ini::LowerAscii(c))) * 16777619u;
  return hash;
}

// Content of a line as it stands in its text, up to its line end (CR LF, LF
// or a lone CR; added lines end in CR LF) or the end of the text.
std::string_view LineText(const PropertyFile& file, uint32_t line) {
  const KeyLine& at = file.lines[line];
  const std::string_view text = file.texts[at.text];
  return text.substr(at.offset, text.find_first_of("\r\n", at.offset) - at.offset);
}

std::string_view LineName(const PropertyFile& file, uint32_t line) {
  return ini::Classify(LineText(file, line)).name;
}

void PutInTable(PropertyFile& file, uint32_t line) {
  const size_t mask = file.slots.size() - 1;
  size_t slot = file.lines[line].hash & mask;
  while (file.slots[slot] != 0) slot = (slot + 1) & mask;
  file.slots[slot] = line + 1;
}

// Line number of the key's first line, or -1.
int64_t FindKey(const PropertyFile& file, std::string_view key, uint32_t hash) {
  if (file.slots.empty()) return -1;
  const size_t mask = file.slots.size() - 1;
  for (size_t slot = hash & mask; file.slots[slot] != 0; slot = (slot + 1) & mask) {
    const uint32_t line = file.slots[slot] - 1;
    if (file.lines[line].hash == hash && ini::SameName(LineName(file, line), key)) return line;
  }
  return -1;
}

// Lists a key line whose name is not listed yet.
void ListKeyLine(PropertyFile& file, KeyLine line) {
  file.lines.push_back(line);
  if (file.lines.size() * 4 > file.slots.size() * 3) {  // at most three quarters full
    file.slots.assign(std::max<size_t>(1024, file.slots.size() * 2), 0);
    for (uint32_t known = 0; known < file.lines.size(); ++known) PutInTable(file, known);
  } else {
    PutInTable(file, static_cast<uint32_t>(file.lines.size() - 1));
  }
}

// Reads the file into the model: the key lines of its first "Settings"
// section and where a new key goes, found as the profile functions find
// them. False when the file cannot be read or has no such section.
bool Learn(PropertyFile& file) {
  file.texts.assign(1, std::string());
  file.lines.clear();
  file.slots.clear();
  std::string& text = file.texts[0];
  if (PlatReadWholeFile(file.path.c_str(), kMaxModelledFile, &text).status !=
          PlatReadStatus::kRead ||
      text.empty()) {
    return false;
  }
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  bool seen = false;
  bool inSection = false;
  // Comment lines after the section's last key: the profile functions of
  // Windows (Wine's at least) put new keys after them, the POSIX ones before;
  // such a file is left to them.
  bool commentAfterKeys = false;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    const size_t next =
        end == text.size() ? end : end + (text.compare(end, 2, kLineEnd) == 0 ? 2 : 1);
    std::string_view content = std::string_view(text).substr(pos, end - pos);
    if (pos == 0 && content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
      content.remove_prefix(kByteOrderMark.size());
    }
    const ini::Parsed line = ini::Classify(content);
    if (inSection && line.kind == ini::Kind::Comment) commentAfterKeys = true;
    if (line.kind == ini::Kind::Section) {
      if (inSection) break;  // only the first section of the name counts
      if (!seen && ini::SameName(line.name, kSection)) {
        seen = inSection = true;
        file.insertAt = next;
        file.breakBefore = next == end;
      }
    } else if (inSection && (line.kind == ini::Kind::Key || line.kind == ini::Kind::Other)) {
      // Only the first line of a key counts: later ones are not listed.
      if (FindKey(file, line.name, HashName(line.name)) < 0) {
        ListKeyLine(file, {0, static_cast<uint32_t>(pos), HashName(line.name)});
      }
      file.insertAt = next;
      file.breakBefore = next == end;
      commentAfterKeys = false;
    }
    pos = next;
  }
  return seen && !commentAfterKeys;
}

// Sets the key's line as the profile functions replace a value: the line
// keeps everything up to the end of its key name, "=value" follows. An equal
// value leaves it alone.
void ReplaceValue(PropertyFile& file, uint32_t line, const std::string& value) {
  const auto patch = file.patches.find(line);
  const std::string_view current =
      patch != file.patches.end() ? std::string_view(patch->second) : LineText(file, line);
  const ini::Parsed parsed = ini::Classify(current);
  if (parsed.kind == ini::Kind::Key && parsed.value == value) return;
  const std::string_view original = LineText(file, line);
  const ini::Parsed name = ini::Classify(original);
  const size_t nameEnd = static_cast<size_t>(name.name.data() + name.name.size() - original.data());
  std::string replaced = std::string(original.substr(0, nameEnd)) + "=" + value;
  if (file.lines[line].text == 0) file.rewrite = true;
  if (replaced == original) {
    file.patches.erase(line);
  } else {
    file.patches[line] = std::move(replaced);
  }
}

// Hands the part [from, to) of text number, with its replaced lines, to
// write in pieces; next walks the replaced lines in line order.
template <typename Write>
void RenderText(const PropertyFile& file, uint32_t number, size_t from, size_t to,
                std::vector<uint32_t>::const_iterator& next,
                const std::vector<uint32_t>::const_iterator& end, Write write) {
  const std::string_view text = file.texts[number];
  size_t at = from;
  for (; next != end && file.lines[*next].text == number && file.lines[*next].offset < to; ++next) {
    const size_t start = file.lines[*next].offset;
    write(text.substr(at, start - at));
    write(file.patches.at(*next));
    at = std::min(text.find_first_of("\r\n", start), text.size());
  }
  write(text.substr(at, to - at));
}

// Hands the file as it now stands (whole), or only its new lines (whole
// false), to write in pieces.
template <typename Write>
void Render(const PropertyFile& file, bool whole, Write write) {
  // Line numbers follow the lines' order in the texts.
  std::vector<uint32_t> patched;
  for (const auto& entry : file.patches) {
    if (whole || file.lines[entry.first].text > 0) patched.push_back(entry.first);
  }
  std::sort(patched.begin(), patched.end());
  std::vector<uint32_t>::const_iterator next = patched.begin();
  const std::vector<uint32_t>::const_iterator end = patched.end();
  if (whole) RenderText(file, 0, 0, file.insertAt, next, end, write);
  if (file.texts.size() > 1 && file.breakBefore) write(kLineEnd);
  for (uint32_t number = 1; number < file.texts.size(); ++number) {
    RenderText(file, number, 0, file.texts[number].size(), next, end, write);
  }
  if (whole) RenderText(file, 0, file.insertAt, file.texts[0].size(), next, end, write);
}

// Puts the model's changes into the file and ends the model.
bool Commit(PropertyFile& file) {
  if (!file.modelled) return true;
  bool written = true;
  const bool added = file.texts.size() > 1;
  if (file.rewrite || (added && file.insertAt < file.texts[0].size())) {
    std::string content;
    Render(file, true, [&content](std::string_view piece) { content.append(piece); });
    written = PlatReplaceFile(file.path.c_str(), content);
  } else if (added) {
    // Only new lines, at the file's end: appended straight from the model.
    std::FILE* out = std::fopen(file.path.c_str(), "ab");
    written = out != nullptr;
    if (out) {
      Render(file, false, [&](std::string_view piece) {
        written = written && std::fwrite(piece.data(), 1, piece.size(), out) == piece.size();
      });
      written = std::fclose(out) == 0 && written;
    }
  }
  // The profile functions may keep the file cached (Windows does); the cache
  // cannot know of these lines.
  PlatWritePrivateProfileString(nullptr, nullptr, nullptr, file.path.c_str());
  file = Fresh(file.path);
  return written;
}

bool WriteKey(const char* path, const std::string& key, const std::string& value) {
  PropertyFile& file = propertyFile;
  if (file.path != path) {
    Commit(file);
    file = Fresh(path);
  }
  if (file.modelled && !key.empty() && ini::KeyNameWritable(key)) {
    const uint32_t hash = HashName(key);
    const int64_t line = FindKey(file, key, hash);
    if (line >= 0) {
      ReplaceValue(file, static_cast<uint32_t>(line), value);
    } else {
      const size_t length = key.size() + 1 + value.size() + kLineEnd.size();
      if (file.texts.size() == 1 || file.texts.back().size() + length > kBlockSize) {
        file.texts.emplace_back().reserve(std::max(kBlockSize, length));
      }
      std::string& block = file.texts.back();
      const KeyLine at{static_cast<uint32_t>(file.texts.size() - 1),
                       static_cast<uint32_t>(block.size()), hash};
      block.append(key).append("=").append(value).append(kLineEnd);
      ListKeyLine(file, at);
    }
    return true;
  }
  Commit(file);
  const bool written = PlatWritePrivateProfileString(kSection, key.c_str(), value.c_str(), path);
  if (written && !file.learnTried) {
    file.learnTried = true;
    file.modelled = Learn(file);
    if (!file.modelled) file = Fresh(path, true);
  }
  return written;
}

// Every character some INI reader takes as a line end becomes one blank: C0
// controls and DEL, and in UTF-8 the C1 controls (NEL among them) and the
// line and paragraph separators, which Python's splitlines and others split
// at. The same bytes on Windows, so a file read as UTF-8 anywhere is safe.
std::string BlankLineBreakers(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto at = [&text](size_t k) {
      return k < text.size() ? static_cast<unsigned char>(text[k]) : 0u;
    };
    if (at(i) < 0x20 || at(i) == 0x7F) {
      out += ' ';
    } else if (at(i) == 0xC2 && at(i + 1) >= 0x80 && at(i + 1) <= 0x9F) {
      out += ' ';
      i += 1;
    } else if (at(i) == 0xE2 && at(i + 1) == 0x80 && (at(i + 2) == 0xA8 || at(i + 2) == 0xA9)) {
      out += ' ';
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// A failed write is told once per file, not once per key.
bool Reported(bool written, const std::string& path) {
  static std::string reported;
  if (!written && reported != path) {
    reported = path;
    PlatReportFailure("cannot write the properties to " + path + ": " + strerror(errno));
  }
  return written;
}

}  // namespace

int WritePropertyString(const char* pszPropertyKey, const char* pszValue) {
  // A CR or LF in a firmware string would start a new line in the INI file
  // and so forge keys or sections; every control character becomes a blank.
  // The file holds narrow text: bytes invalid there (POSIX: UTF-8) are
  // replaced first.
  const std::string value = BlankLineBreakers(PlatValidNarrowText(pszValue ? pszValue : ""));
  // Blanks around a key or value are lost to every INI reader, and the
  // Windows profile writer drops those of a value as well: trim both here so
  // the file is the same on every platform (keys padded by a "%-4u" number
  // included).
  const std::string key = TrimBlanks(pszPropertyKey ? pszPropertyKey : "");
  const std::string path = wnd_data.szOutputFile;
  return Reported(WriteKey(path.c_str(), key, TrimBlanks(value)), path) ? 1 : 0;
}

int WritePropertyDword(const char* pszPropertyKey, uint32_t dwValue) {
  char text[40];
  snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(dwValue));
  if (!text[0]) return 0;
  return WritePropertyString(pszPropertyKey, text);
}

int ClosePropertyFile() {
  const bool written = Reported(Commit(propertyFile), propertyFile.path);
  propertyFile = PropertyFile{};
  return written ? 1 : 0;
}
