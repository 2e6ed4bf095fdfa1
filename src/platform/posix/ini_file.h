// Private-profile (INI) files on POSIX: the reader and writer behind
// PlatGetPrivateProfileString / PlatWritePrivateProfileString and the win.ini
// emulation of the profile calls. They follow GetPrivateProfileStringA and
// WritePrivateProfileStringA, so the files read the same on both platforms.
//
// Reading
// - A line is ended by LF, CR LF or a lone CR; the last line may lack one.
//   A UTF-8 byte order mark at the start of the file is skipped.
// - Blanks (space, tab, CR, LF, VT, FF) around section names, keys and values
//   are trimmed. The names asked for are trimmed as well.
// - "[name]" starts a section; the name runs to the last ']' of the line and
//   anything after it is ignored. A line starting with '[' without a ']' is
//   no header. "[]" is a section with an empty name. Lines before the first
//   header belong to no section and are never found.
// - A line whose first non-blank character is ';' is a comment.
// - "key=value" is split at the first '='. A line without '=' holds no value:
//   asking for it gives the default, as on Windows (writing the key gives that
//   line its value; deleting the key removes it).
// - Section and key names compare case-insensitively (ASCII letters only, so
//   UTF-8 names stay intact). Only the first section of a name counts, and in
//   it the first line of a key.
// - A value wholly enclosed in a matching pair of double or single quotes
//   loses the pair; blanks inside the quotes stay.
// - A value holding a NUL byte ends there for the C call.
// - Files larger than kIniMaxFileSize are not read: the default is returned
//   and writes fail, so such a file is never truncated.
//
// Writing (every write keeps all lines it does not change byte for byte)
// - A key found in its section is replaced in place: the line keeps its
//   indentation, its spelling of the key and its line end; "=value" follows.
//   When the stored value already equals the new one, the file is left as it
//   is (not rewritten).
// - A new key goes after the last key line of the first matching section,
//   before the blank and comment lines that lead to the next section; in a
//   section without keys, right after its header.
// - A new section goes at the end of the file, after a blank line when the
//   file is not empty (and does not end with a blank line already).
// - New lines end in CR LF; a missing line end before an insertion is added
//   as CR LF.
// - Values are written as given, except that CR and LF become blanks so a
//   value can never start a new line.
// - Names that would not read back as themselves are refused (the write fails
//   and the file stays as it is): a key or section holding CR, LF or NUL, a
//   key holding '=', a key starting with ';', or a key that would read as a
//   section header. Names are written trimmed.
// - value null deletes the key: every line of it in the first matching
//   section goes, so the key reads as missing afterwards.
// - key null deletes the section: every section of that name goes, each from
//   its header to its last key line and the blank lines after it; comment
//   lines that lead to the next section stay with that section.
// - Deleting from a missing file, section or key succeeds and creates nothing.
// - section null: Win32 uses it to flush its cache; with key and value null
//   too that succeeds (there is no cache here), otherwise the write fails.
// - The new content is written to a temporary file in the same directory and
//   renamed over the file, so a crashed program leaves the old file or the
//   new one, never a half-written one. The data is not forced to disk (no
//   fsync; every property write rewrites the file, and a sync per key would
//   cost milliseconds each). A symbolic link is followed and its
//   target replaced; an existing file keeps its permission bits. A file that
//   exists but is not writable (or is not a regular file) is not replaced,
//   and the directory must be writable for the temporary file.
//
// Reading with section or key null (Win32 lists section or key names then) is
// not supported: the result is an empty list (0 characters).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Files larger than this are neither read nor rewritten.
constexpr size_t kIniMaxFileSize = 16u * 1024u * 1024u;

// Reads key of section from file into out (at most size-1 chars + NUL); on a
// missing file/section/key copies defaultValue (trailing blanks removed, as
// Windows does; null counts as empty). Returns chars copied.
unsigned IniGetString(const char* file, const char* section, const char* key,
                      const char* defaultValue, char* out, unsigned size);
// Writes key=value into section of file, creating file and section when
// missing; value null deletes the key, key null deletes the section. Returns
// false on I/O failure or refused names.
bool IniWriteString(const char* file, const char* section, const char* key, const char* value);

// Replaces the file's content through a temporary file beside it and a
// rename, keeping its permission bits (see the writing rules above).
bool IniReplaceFile(const char* path, std::string_view content);

// The same two operations on text in memory, for tests and reuse.
// The value of key in section (quotes removed), or nothing when missing.
std::optional<std::string> IniTextGet(std::string_view text, std::string_view section,
                                      std::string_view key);
// text with key=value set in section (value null: key deleted). Refused names
// leave text unchanged.
std::string IniTextSet(std::string_view text, std::string_view section, std::string_view key,
                       const char* value);
// text without every section of that name.
std::string IniTextDeleteSection(std::string_view text, std::string_view section);

// What a write does to the text, as the writer needs to know it.
enum class IniEdit { Changed, Unchanged, Refused };
// Applies a write (key null: delete the section; value null: delete the key).
// On Changed, *result holds the new text.
IniEdit IniTextEdit(std::string_view text, std::string_view section, const char* key,
                    const char* value, std::string* result);
