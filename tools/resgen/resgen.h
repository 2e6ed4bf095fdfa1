// resgen: turns the per-language string sources (res/strings/*.txt) into the
// Win32 string tables (strings.rc), the POSIX lookup table (res_strings.cpp)
// and the header of the English strings' names (string_ids.h). The file
// format is described at the top of res/strings/en.txt.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace resgen {

constexpr int kMaxLanguage = 24;
// Longest text accepted, in bytes: windres and rc refuse longer string
// literals, and the viewer reads at most 499 bytes of a string anyway.
constexpr size_t kMaxTextBytes = 4096;
// Longest source line: a text of kMaxTextBytes written with \xHH escapes.
constexpr size_t kMaxLineBytes = 4 * kMaxTextBytes + 64;

struct Entry {
  unsigned baseId = 0;
  std::string text;    // UTF-8, may hold NUL bytes
  int line = 0;        // source line, for messages
  std::string name{};  // kId...; only the English file names its entries
};

struct LangFile {
  std::string path;
  int language = -1;
  int codepage = 0;
  std::vector<Entry> entries;  // in file order
};

// Kinds of the non-string resources. The numbers are those of the POSIX
// table's ResOther::kind (src/res/res_table.h).
enum OtherKind {
  kKindMenu = 0,
  kKindIcon = 1,
  kKindBitmap = 2,
  kKindDialog = 3,
  kKindAccelerator = 4
};

struct OtherRes {
  unsigned id = 0;  // final resource id (language shift included)
  int kind = 0;
  int line = 0;
};

// Resource id of base id `baseId` in language `language`: +100 per language
// below 3000, +1000 per language from 3000 on.
unsigned TranslatedId(unsigned baseId, int language);

// Base ids a language file may hold: 1..99 and 3000..3999, so that no two
// languages' shifted ids can meet.
bool IsValidBaseId(unsigned id);

// Parses one language file. On failure returns false and sets *error to
// "path:line: message".
bool ParseLangFile(const std::string& path, std::string_view content, LangFile* out,
                   std::string* error);

// Parses the optional list of menus, icons, bitmaps, dialogs and
// accelerator tables: lines "KIND ID" with KIND one of menu, icon, bitmap,
// dialog, accelerator; '#' comments and blank lines allowed.
bool ParseOthersFile(const std::string& path, std::string_view content, std::vector<OtherRes>* out,
                     std::string* error);

// Checks that holds across files: one file per language, and when the
// English file is present, no translation names an id English lacks.
bool CheckLanguageSet(const std::vector<LangFile>& files, std::string* error);

// ---- encoding.cpp ----
// True when `s` is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view s);
// UTF-8 to UTF-16 code units; `s` must be valid UTF-8.
std::u16string Utf8ToUtf16(std::string_view s);
// True when the code page is known to iconv.
bool CodePageKnown(int codepage);
// Every text of the file converts to the file's code page and back without
// change; otherwise false with "path:line: message".
bool CheckCodePage(const LangFile& file, std::string* error);

// ---- rc_writer.cpp / table_writer.cpp ----
// The .rc fragment: one STRINGTABLE per language under the shifted ids.
// The output is plain ASCII (see rc_writer.cpp for why).
std::string WriteRc(const std::vector<LangFile>& files);
// The C++ source defining kResStrings (sorted by id) and kResOthers.
std::string WriteTable(const std::vector<LangFile>& files, const std::vector<OtherRes>& others);

// ---- ids_writer.cpp ----
// The C++ header with one constant per string of the English file, named
// by its entry: constexpr unsigned kIdFoo = 3012;. Fails, with
// "path:line: message", when an entry has no name.
bool WriteIds(const LangFile& english, std::string* out, std::string* error);

}  // namespace resgen
