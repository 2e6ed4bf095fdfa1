// Reading of DMI.DAT: unscrambling and the lookup of one code's name.
//
// The file is read whole into memory and cut into the pieces the lookup
// walks; finding the section is a walk over the section lines alone.
#include "readdat.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

namespace {

constexpr std::size_t kPasswordLength = sizeof(kDmiDatPassword) - 1;
static_assert(kPasswordLength == 21, "the key is 21 characters long");

// The key repeated along the longest piece, so that a piece unscrambles
// without a division per character.
constexpr std::array<unsigned char, kDmiDatLineMax> kPieceKey = [] {
  std::array<unsigned char, kDmiDatLineMax> key{};
  for (std::size_t i = 0; i < key.size(); ++i) {
    key[i] = static_cast<unsigned char>(kDmiDatPassword[i % kPasswordLength]);
  }
  return key;
}();

// One piece of the file: at most kDmiDatLineMax characters and a NUL.
using Piece = std::array<char, kDmiDatLineMax + 1>;

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A section line "*NAME" opens every lookup whose section name NAME begins
// with: the comparison covers only the length of the name asked for, so a
// section named as a prefix of another must come before it in the file.
bool opens_section(const char *line, const char *sectionname) {
  if (line[0] != '*') return false;
  const char *text = line + 1;
  for (std::size_t i = 0; sectionname[i] != '\0'; ++i) {
    // A shorter line ends with NUL, which differs from any character of the
    // name, so the walk never passes the line's end.
    if (ascii_lower(text[i]) != ascii_lower(sectionname[i])) return false;
  }
  return true;
}

// The C library's white space in the "C" locale, as scanf skips it.
bool is_c_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the code of a value line as sscanf(line, "%XH=%s", ...) == 2 would
// accept it: optional white space, an optionally signed hexadecimal number
// (a "0x" prefix allowed), a capital H, "=", then at least one character
// that is not white space. Written out by hand because scanf's behaviour on
// numbers beyond its type is undefined; such numbers never match a code.
std::optional<std::uint32_t> read_value_code(const char *line) {
  const char *p = line;
  while (is_c_space(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hex_digit(p[2]) >= 0) p += 2;
  if (hex_digit(*p) < 0) return std::nullopt;
  std::uint64_t value = 0;
  bool too_big = false;
  for (; hex_digit(*p) >= 0; ++p) {
    value = value * 16 + static_cast<std::uint64_t>(hex_digit(*p));
    if (value > 0xFFFFFFFFu) {
      too_big = true;
      value = 0;
    }
  }
  if (p[0] != 'H' || p[1] != '=') return std::nullopt;
  p += 2;
  while (is_c_space(*p)) ++p;
  if (*p == '\0' || too_big) return std::nullopt;
  const auto code = static_cast<std::uint32_t>(value);
  return negative ? static_cast<std::uint32_t>(0u - code) : code;
}

// Length of text once trailing control characters (codes below 32) are
// dropped, but never below keep characters.
std::size_t trimmed_length(const char *text, std::size_t keep) {
  std::size_t length = std::strlen(text);
  while (length > keep && static_cast<unsigned char>(text[length - 1]) < 32) --length;
  return length;
}

// Copies length characters and a NUL; length is below kDmiDatLineMax since
// the text comes from one piece.
void copy_text(char *s, const char *text, std::size_t length) {
  std::memcpy(s, text, length);
  s[length] = '\0';
}

}  // namespace

void unhide_dat_text(char *s) {
  if (s == nullptr) return;
  // The test comes before the subtraction: a character that unscrambles to
  // NUL shortens the text but does not stop the walk.
  for (std::size_t i = 0; s[i] != '\0'; ++i) {
    const auto key = static_cast<unsigned char>(kDmiDatPassword[i % kPasswordLength]);
    s[i] = static_cast<char>(static_cast<unsigned char>(s[i]) - key);
  }
}

void strip_trailing_lf(char *s) {
  if (s == nullptr) return;
  const std::size_t length = std::strlen(s);
  if (length > 0 && s[length - 1] == '\n') s[length - 1] = '\0';
}

DmiDatTable parse_dmi_dat(std::string_view bytes) {
  // Every start of the viewer cuts the whole file before its first name, so
  // this is one pass straight into the table, with no piece buffer and no
  // division per character. The file is cut into pieces as fgets into an
  // 80-byte buffer would cut it after the Windows C runtime read it in text
  // mode: CR LF reads as one LF and Ctrl-Z ends the file (a POSIX runtime
  // does neither; doing it here makes a file split the same everywhere); a
  // piece ends after a line feed or after kDmiDatLineMax characters, so a
  // longer line arrives as several pieces. Each piece is unscrambled from
  // the start of the key, whether or not it began a line of the file, and
  // kept without its line feed up to its first NUL (a NUL in the file or a
  // character that unscrambles to one).
  DmiDatTable table;
  const std::size_t end = std::min(bytes.find('\x1A'), bytes.size());
  // Each piece keeps at most the characters it read and adds a NUL. Plain
  // pointers: through a char store the compiler must assume any string's
  // data may have changed.
  std::string text(end + end / kDmiDatLineMax + 2, '\0');
  const char *const src = bytes.data();
  char *const dst = text.data();
  std::size_t out = 0;
  std::size_t at = 0;
  while (at < end) {
    const std::size_t start = out;
    table.starts.push_back(start);
    const std::size_t limit = std::min<std::size_t>(kDmiDatLineMax, end - at);
    if (!std::memchr(src + at, '\r', limit)) {
      // No CR: the piece is the bytes up to its line feed or its limit,
      // unscrambled in one loop against the key laid out along a piece.
      const auto *lf = static_cast<const char *>(std::memchr(src + at, '\n', limit));
      const std::size_t span = lf ? static_cast<std::size_t>(lf - (src + at)) : limit;
      for (std::size_t i = 0; i < span; ++i) {
        dst[out + i] = static_cast<char>(static_cast<unsigned char>(src[at + i]) - kPieceKey[i]);
      }
      const auto *stored_nul = static_cast<const char *>(std::memchr(src + at, '\0', span));
      const std::size_t read =
          stored_nul ? static_cast<std::size_t>(stored_nul - (src + at)) : span;
      const auto *plain_nul = static_cast<const char *>(std::memchr(dst + out, '\0', read));
      out += plain_nul ? static_cast<std::size_t>(plain_nul - (dst + out)) : read;
      at += span + (lf ? 1 : 0);
    } else {
      std::size_t key = 0;
      bool stopped = false;
      for (std::size_t length = 0; length < static_cast<std::size_t>(kDmiDatLineMax) && at < end;
           ++length) {
        auto c = static_cast<unsigned char>(src[at++]);
        if (c == '\r' && at < end && src[at] == '\n') {
          ++at;
          c = '\n';
        }
        if (c == '\n') break;
        if (stopped) continue;
        const auto plain = static_cast<char>(c - kPieceKey[key++]);
        if (c == 0 || plain == '\0') {
          stopped = true;
          continue;
        }
        dst[out++] = plain;
      }
    }
    if (out > start && dst[start] == '*') table.sections.push_back(table.starts.size() - 1);
    dst[out++] = '\0';
  }
  text.resize(out);
  table.text = std::move(text);
  return table;
}

int lookup_in_dmi_dat(const DmiDatTable &table, const char *sectionname, int desiredvalue,
                      char *s) {
  // Until the section is found, s keeps what the caller had in it.
  std::optional<std::size_t> found;
  for (const std::size_t section : table.sections) {
    if (opens_section(table.line(section), sectionname)) {
      found = section + 1;
      break;
    }
  }
  if (!found) return 0;

  s[0] = '\0';
  Piece fallback{};
  const auto wanted = static_cast<std::uint32_t>(desiredvalue);
  for (std::size_t at = *found; at < table.starts.size(); ++at) {
    const char *text = table.line(at);
    const std::optional<std::uint32_t> code = read_value_code(text);
    if (code && *code == wanted) {
      // The name is everything after the first "=", "=" included.
      const char *name = std::strchr(text, '=') + 1;
      copy_text(s, name, trimmed_length(name, 1));
      return 1;
    }
    if (text[0] == '!') {
      // The default ends the section: value lines after it are never read.
      copy_text(fallback.data(), text + 1, trimmed_length(text + 1, 0));
      break;
    }
    if (text[0] == '*') break;
  }
  if (fallback[0] == '\0') return 0;
  copy_text(s, fallback.data(), std::strlen(fallback.data()));
  return 1;
}
