// Reading of DMI.DAT: unscrambling and the lookup of one code's name.
//
// Nothing is cached: every lookup opens the file, reads it from the start and
// closes it again. A report makes a few dozen lookups in a file of a few
// hundred short lines.
#include "readdat.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

constexpr std::size_t kPasswordLength = sizeof(kDmiDatPassword) - 1;
static_assert(kPasswordLength == 21, "the key is 21 characters long");

// One piece of the file: at most kDmiDatLineMax characters and a NUL.
using Piece = std::array<char, kDmiDatLineMax + 1>;

struct FileCloser {
  void operator()(std::FILE *file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads characters the way the Windows C runtime reads a file opened in text
// mode: a CR LF pair reads as one LF and Ctrl-Z ends the file. A POSIX
// runtime does neither; doing it here on every platform makes a file split
// into the same pieces everywhere (on Windows the runtime has already done
// it, and this changes nothing).
struct TextReader {
  std::FILE *file;
  bool ended = false;

  int next() {
    if (ended) return EOF;
    const int c = std::getc(file);
    if (c == EOF || c == 0x1A) {
      ended = true;
      return EOF;
    }
    if (c == '\r') {
      const int after = std::getc(file);
      if (after == '\n') return '\n';
      if (after != EOF) std::ungetc(after, file);
    }
    return c;
  }
};

// Reads the next piece as fgets into an 80-byte buffer would: up to and
// including a line feed, but never more than kDmiDatLineMax characters, so a
// longer line arrives as several pieces. False when nothing is left.
bool read_piece(TextReader &in, Piece &piece) {
  std::size_t length = 0;
  while (length < static_cast<std::size_t>(kDmiDatLineMax)) {
    const int c = in.next();
    if (c == EOF) break;
    piece[length++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  piece[length] = '\0';
  return length > 0;
}

// The next piece as plain text. Each piece is unscrambled from the start of
// the key, whether or not it began a line of the file.
bool read_line(TextReader &in, Piece &line) {
  if (!read_piece(in, line)) return false;
  strip_trailing_lf(line.data());
  unhide_dat_text(line.data());
  return true;
}

char ascii_lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

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

int lookup_type(const char *filename, const char *sectionname, int desiredvalue,
                char *s) {
  if (filename == nullptr || sectionname == nullptr || s == nullptr) return 0;
  FilePtr file(std::fopen(filename, "r"));
  if (!file) return 0;
  TextReader in{file.get()};

  // Until the section is found, s keeps what the caller had in it.
  Piece line;
  do {
    if (!read_line(in, line)) return 0;
  } while (!opens_section(line.data(), sectionname));

  s[0] = '\0';
  Piece fallback{};
  const auto wanted = static_cast<std::uint32_t>(desiredvalue);
  while (read_line(in, line)) {
    const char *text = line.data();
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
