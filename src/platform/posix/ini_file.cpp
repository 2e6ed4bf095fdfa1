// INI reading and writing with the rules of the Win32 private-profile calls;
// the rules are listed in ini_file.h.
#include "ini_file.h"
#include "ini_line.h"
#include "platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

using namespace ini;

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// One line of the text: [begin, end) is its content, [end, next) its line end.
struct Line {
  size_t begin = 0;
  size_t end = 0;
  size_t next = 0;
};

// Steps to the line at pos; false at the end of the text.
bool NextLine(std::string_view text, size_t& pos, Line& line) {
  if (pos >= text.size()) return false;
  line.begin = pos;
  const size_t stop = text.find_first_of("\r\n", pos);
  if (stop == std::string_view::npos) {
    line.end = line.next = text.size();
  } else {
    line.end = stop;
    line.next = stop + 1;
    if (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n')
      line.next = stop + 2;
  }
  pos = line.next;
  return true;
}

// The text of a line for classification (the first line without its BOM).
std::string_view Content(std::string_view text, const Line& line) {
  std::string_view content = text.substr(line.begin, line.end - line.begin);
  if (line.begin == 0 && content.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    content.remove_prefix(kUtf8Bom.size());
  }
  return content;
}

// The text's lines one by one, each classified as the profile calls read it.
struct LineWalk {
  std::string_view text;
  size_t pos = 0;
  Line line;
  Parsed parsed;

  explicit LineWalk(std::string_view walked) : text(walked) {}
  // Steps to the next line; false at the end of the text.
  bool Next() {
    if (!NextLine(text, pos, line)) return false;
    parsed = Classify(Content(text, line));
    return true;
  }
};

// The lines of the first section of a name, the only one the profile calls
// see: Next steps to each line after its header up to the next header.
struct FirstSectionWalk {
  LineWalk lines;
  std::string_view name;
  bool found = false;
  Line header;  // valid once found

  FirstSectionWalk(std::string_view text, std::string_view section) : lines(text), name(section) {}
  // false at the end of the section, or of the text when it has none.
  bool Next() {
    while (lines.Next()) {
      if (lines.parsed.kind != Kind::Section) {
        if (found) return true;
        continue;
      }
      if (found) return false;
      if (SameName(lines.parsed.name, name)) {
        found = true;
        header = lines.line;
      }
    }
    return false;
  }
};

bool SectionNameWritable(std::string_view section) {
  if (HasLineBreakOrNul(section)) return false;
  const std::string line = "[" + std::string(section) + "]";
  const Parsed p = Classify(line);
  return p.kind == Kind::Section && p.name == section;
}

// CR and LF become blanks: a value never starts a new line.
std::string OneLine(const char* value) {
  std::string v(value);
  for (char& c : v) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return v;
}

std::string StripQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

IniEdit SetKey(std::string_view text, std::string_view section, std::string_view key,
               const std::string& value, std::string* result) {
  FirstSectionWalk walk(text, section);
  std::optional<Line> lastKeyLine;  // a new key goes after it (or after the header)
  while (walk.Next()) {
    const Line& line = walk.lines.line;
    const Parsed& p = walk.lines.parsed;
    if (p.kind != Kind::Key && p.kind != Kind::Other) continue;
    // A line of the key without '=' gets its value in place as well.
    if (SameName(p.name, key)) {
      if (p.kind == Kind::Key && p.value == Trim(value)) return IniEdit::Unchanged;
      const size_t nameEnd = static_cast<size_t>(p.name.data() + p.name.size() - text.data());
      *result = std::string(text.substr(0, nameEnd));
      *result += '=';
      *result += value;
      result->append(text.substr(line.end));
      return IniEdit::Changed;
    }
    lastKeyLine = line;
  }

  const std::string keyLine = std::string(key) + "=" + value + std::string(kLineEnd);
  if (walk.found) {
    const Line& before = lastKeyLine ? *lastKeyLine : walk.header;
    *result = std::string(text.substr(0, before.next));
    if (before.next == before.end) *result += kLineEnd;  // it has no line end
    *result += keyLine;
    result->append(text.substr(before.next));
    return IniEdit::Changed;
  }
  *result = std::string(text);
  const bool empty = text.empty() || text == kUtf8Bom;
  if (!empty) {
    // Without the section the walk went to the end: its line is the last.
    if (walk.lines.line.next == walk.lines.line.end) *result += kLineEnd;
    if (walk.lines.parsed.kind != Kind::Blank) *result += kLineEnd;
  }
  *result += "[";
  *result += section;
  *result += "]";
  *result += kLineEnd;
  *result += keyLine;
  return IniEdit::Changed;
}

IniEdit DeleteKey(std::string_view text, std::string_view section, std::string_view key,
                  std::string* result) {
  std::string out;
  size_t copiedUpTo = 0;
  bool deleted = false;
  FirstSectionWalk walk(text, section);
  while (walk.Next()) {
    const Line& line = walk.lines.line;
    const Parsed& p = walk.lines.parsed;
    if ((p.kind == Kind::Key || p.kind == Kind::Other) && SameName(p.name, key)) {
      out.append(text.substr(copiedUpTo, line.begin - copiedUpTo));
      copiedUpTo = line.next;
      deleted = true;
    }
  }
  if (!deleted) return IniEdit::Unchanged;
  out.append(text.substr(copiedUpTo));
  *result = std::move(out);
  return IniEdit::Changed;
}

IniEdit DeleteSection(std::string_view text, std::string_view section, std::string* result) {
  std::string out;
  size_t copiedUpTo = 0;
  bool changed = false;
  bool deleting = false;
  size_t cutEnd = 0;        // end of what goes of the section being deleted
  bool takeBlanks = false;  // blank lines still go with it
  LineWalk walk(text);
  while (walk.Next()) {
    const Line& line = walk.line;
    const Parsed& p = walk.parsed;
    if (p.kind == Kind::Section) {
      if (deleting) copiedUpTo = cutEnd;
      deleting = SameName(p.name, section);
      if (deleting) {
        out.append(text.substr(copiedUpTo, line.begin - copiedUpTo));
        copiedUpTo = line.begin;
        cutEnd = line.next;
        takeBlanks = true;
        changed = true;
      }
      continue;
    }
    if (!deleting) continue;
    if (p.kind == Kind::Key || p.kind == Kind::Other) {
      cutEnd = line.next;
      takeBlanks = true;
    } else if (p.kind == Kind::Blank) {
      if (takeBlanks) cutEnd = line.next;
    } else {
      takeBlanks = false;
    }
  }
  if (!changed) return IniEdit::Unchanged;
  if (deleting) copiedUpTo = cutEnd;
  out.append(text.substr(copiedUpTo));
  *result = std::move(out);
  return IniEdit::Changed;
}

// ---- Files ---------------------------------------------------------------

// Owns a file descriptor and closes it on every path.
struct FileDescriptor {
  int fd = -1;
  explicit FileDescriptor(int opened) : fd(opened) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd >= 0) close(fd);
  }
  // Closes now; false when the close reports an error (a late write error).
  bool Close() {
    const int owned = fd;
    fd = -1;
    return close(owned) == 0;
  }
};

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadIniFile(const char* path, std::string& text) {
  const PlatReadResult read = PlatReadWholeFile(path, kIniMaxFileSize, &text);
  if (read.status == PlatReadStatus::kRead) return ReadResult::Ok;
  const bool missing =
      read.status == PlatReadStatus::kCannotOpen && (read.error == ENOENT || read.error == ENOTDIR);
  return missing ? ReadResult::Missing : ReadResult::Failed;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Writes content over the file a symbolic link names, in place: the kernel
// follows the link under its own rules (protected links in sticky
// directories), which resolving the link here and renaming over its target
// would get around.
bool WriteThroughLink(const char* path, std::string_view content) {
  FileDescriptor file(open(path, O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC));
  struct stat st;
  if (file.fd < 0 || fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const bool ok = WriteAll(file.fd, content);
  return file.Close() && ok;
}

// Opens a new temporary file beside target; its name goes to tempPath.
int CreateTempBeside(const std::string& target, std::string& tempPath) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const unsigned long salt = static_cast<unsigned long>(getpid()) * 7919ul +
                               static_cast<unsigned long>(time(nullptr)) + ++counter;
    tempPath = target + ".tmp" + std::to_string(salt % 1000000ul);
    // 0666 so the process umask decides, as for any file the program creates.
    const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool ReplaceFile(const char* path, std::string_view content) {
  struct stat old;
  if (lstat(path, &old) == 0 && S_ISLNK(old.st_mode)) return WriteThroughLink(path, content);
  const std::string target = path;
  const bool exists = stat(target.c_str(), &old) == 0;
  if (exists && (!S_ISREG(old.st_mode) || access(target.c_str(), W_OK) != 0)) return false;

  std::string tempPath;
  FileDescriptor temp(CreateTempBeside(target, tempPath));
  if (temp.fd < 0) return false;
  if (exists) {
    // Failures here (another owner) leave the umask's bits, which is harmless.
    (void)!fchown(temp.fd, old.st_uid, old.st_gid);
    (void)!fchmod(temp.fd, old.st_mode & 07777);
  }
  // Not forced to disk (no fsync): a profile write rewrites the whole file,
  // and a sync each time costs milliseconds. The rename alone keeps a crashed
  // program from leaving a half-written file.
  bool ok = WriteAll(temp.fd, content);
  ok = temp.Close() && ok;
  if (ok) ok = rename(tempPath.c_str(), target.c_str()) == 0;
  if (!ok) unlink(tempPath.c_str());
  return ok;
}

// Copies text up to its first NUL, cut to size - 1 characters.
unsigned CopyOut(std::string_view text, char* out, unsigned size) {
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  const size_t n = text.size() < size - 1 ? text.size() : size - 1;
  memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<unsigned>(n);
}

}  // namespace

std::optional<std::string> IniTextGet(std::string_view text, std::string_view section,
                                      std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  FirstSectionWalk walk(text, section);
  while (walk.Next()) {
    const Parsed& p = walk.lines.parsed;
    if (p.kind == Kind::Key && SameName(p.name, key)) return StripQuotes(p.value);
  }
  return std::nullopt;
}

IniEdit IniTextEdit(std::string_view text, std::string_view section, const char* key,
                    const char* value, std::string* result) {
  section = Trim(section);
  if (!SectionNameWritable(section)) return IniEdit::Refused;
  if (key == nullptr) return DeleteSection(text, section, result);
  const std::string_view name = Trim(key);
  if (!KeyNameWritable(name)) return IniEdit::Refused;
  if (value == nullptr) return DeleteKey(text, section, name, result);
  return SetKey(text, section, name, OneLine(value), result);
}

std::string IniTextSet(std::string_view text, std::string_view section, std::string_view key,
                       const char* value) {
  // A NUL would cut the name short in the C string below: refused too.
  if (key.find('\0') != std::string_view::npos) return std::string(text);
  const std::string keyText(key);
  std::string result;
  if (IniTextEdit(text, section, keyText.c_str(), value, &result) != IniEdit::Changed) {
    return std::string(text);
  }
  return result;
}

std::string IniTextDeleteSection(std::string_view text, std::string_view section) {
  std::string result;
  if (IniTextEdit(text, section, nullptr, nullptr, &result) != IniEdit::Changed) {
    return std::string(text);
  }
  return result;
}

bool IniReplaceFile(const char* path, std::string_view content) {
  return path && *path && ReplaceFile(path, content);
}

unsigned IniGetString(const char* file, const char* section, const char* key,
                      const char* defaultValue, char* out, unsigned size) {
  if (out == nullptr || size == 0) return 0;
  if (section == nullptr || key == nullptr) {
    // Name lists are not supported: an empty list.
    out[0] = '\0';
    if (size > 1) out[1] = '\0';
    return 0;
  }
  std::string text;
  if (file != nullptr && ReadIniFile(file, text) == ReadResult::Ok) {
    if (const std::optional<std::string> value = IniTextGet(text, section, key)) {
      return CopyOut(*value, out, size);
    }
  }
  std::string_view fallback = defaultValue ? defaultValue : "";
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  return CopyOut(fallback, out, size);
}

bool IniWriteString(const char* file, const char* section, const char* key, const char* value) {
  if (file == nullptr || *file == '\0') return false;
  if (section == nullptr) return key == nullptr && value == nullptr;
  std::string text;
  const ReadResult read = ReadIniFile(file, text);
  if (read == ReadResult::Failed) return false;
  std::string result;
  switch (IniTextEdit(text, section, key, value, &result)) {
    case IniEdit::Refused: return false;
    case IniEdit::Unchanged: return true;
    case IniEdit::Changed: break;
  }
  return ReplaceFile(file, result);
}
