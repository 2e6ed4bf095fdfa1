// dathide: turns the plain value-name table (data/dmi_values.txt) into the
// scrambled DMI.DAT that the viewer reads.
//
//   dathide SOURCE OUTPUT
//
// The source format is described at the top of data/dmi_values.txt. Every
// line of the source is checked before anything is written: a line the
// viewer would misread stops the build with a message naming the source line
// and exit status 1, and no output is left behind.
#include "readdat.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The viewer reads the file in pieces of kDmiDatLineMax characters, line
// feed included; a line's text must fit before its line feed so that every
// line arrives as one piece.
constexpr std::size_t kMaxLineText = kDmiDatLineMax - 1;
constexpr std::size_t kPasswordLength = sizeof(kDmiDatPassword) - 1;

struct Section {
  std::string name;
  std::size_t max_width = kMaxLineText;  // the viewer's cut, when it cuts
  std::vector<unsigned> codes;
  bool has_default = false;
};

struct Parser {
  std::vector<Section> sections;
  std::vector<std::string> plain_lines;  // DMI.DAT lines before scrambling
};

using Error = std::optional<std::string>;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether text begins with prefix, compared as the viewer compares section
// names: without regard to case.
bool begins_with_nocase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (upper(text[i]) != upper(prefix[i])) return false;
  }
  return true;
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string byte_text(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

// The line as stored: each character plus the key character at its position.
std::string scramble(const std::string &plain) {
  std::string stored = plain;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    stored[i] = static_cast<char>(static_cast<unsigned char>(stored[i]) +
                                  static_cast<unsigned char>(kDmiDatPassword[i % kPasswordLength]));
  }
  return stored;
}

// Checks one DMI.DAT line as it will be stored.
Error check_plain_line(const std::string &plain) {
  if (plain.size() > kMaxLineText) {
    return "the stored line is " + std::to_string(plain.size()) +
           " characters long; DMI.DAT lines hold at most " + std::to_string(kMaxLineText);
  }
  const std::string stored_line = scramble(plain);
  for (std::size_t i = 0; i < plain.size(); ++i) {
    const auto c = static_cast<unsigned char>(plain[i]);
    const auto stored = static_cast<unsigned char>(stored_line[i]);
    // The viewer reads line by line in text mode: NUL ends a line's text, LF
    // and CR end or fold lines, and Ctrl-Z ends a Windows text file.
    const char *what = stored == 0      ? "NUL"
                       : stored == '\n' ? "a line feed"
                       : stored == '\r' ? "a carriage return"
                       : stored == 0x1A ? "Ctrl-Z"
                                        : nullptr;
    if (what != nullptr) {
      return "character " + std::to_string(i + 1) + " (byte " + byte_text(c) +
             ") of the stored line would be " + what + ", which the viewer cannot read back";
    }
  }
  for (const char ch : plain) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x80) {
      return "non-ASCII byte " + byte_text(c) +
             ": names must be plain ASCII, which reads the same in every code page";
    }
    if (c < 0x20 || c == 0x7F) {
      return "control character (byte " + byte_text(c) +
             ") in the text; a tab would split the viewer's table cells";
    }
  }
  return std::nullopt;
}

Error check_width(const Section &section, std::string_view text) {
  if (text.size() <= section.max_width) return std::nullopt;
  return "\"" + std::string(text) + "\" is " + std::to_string(text.size()) +
         " characters long; the viewer cuts section " + section.name + " to " +
         std::to_string(section.max_width);
}

// "max N" with N from 1 to kMaxLineText.
std::optional<std::size_t> parse_max_width(std::string_view text) {
  const std::string_view keyword = "max";
  if (text.substr(0, keyword.size()) != keyword) return std::nullopt;
  const std::string_view number = trim(text.substr(keyword.size()));
  if (number.empty() || number.size() > 2) return std::nullopt;
  std::size_t width = 0;
  for (const char c : number) {
    if (c < '0' || c > '9') return std::nullopt;
    width = width * 10 + static_cast<std::size_t>(c - '0');
  }
  if (width == 0 || width > kMaxLineText) return std::nullopt;
  return width;
}

// "[NAME]" or "[NAME] max N".
Error parse_section(Parser &parser, std::string_view line) {
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::string("section line without \"]\"");
  Section section;
  section.name = std::string(line.substr(1, close - 1));
  if (section.name.empty()) return std::string("empty section name");
  for (const char c : section.name) {
    const bool ok =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok)
      return "section name \"" + section.name +
             "\" has characters other than letters, digits and _";
  }
  const std::string_view rest = trim(line.substr(close + 1));
  if (!rest.empty()) {
    const std::optional<std::size_t> width = parse_max_width(rest);
    if (!width) {
      return "expected \"max N\" (N from 1 to " + std::to_string(kMaxLineText) +
             ") after the section name, found \"" + std::string(rest) + "\"";
    }
    section.max_width = *width;
  }
  // The viewer opens the first section whose name begins with the name it
  // asks for, so a section whose name begins an earlier one's is unreachable.
  for (const Section &earlier : parser.sections) {
    if (begins_with_nocase(earlier.name, section.name)) {
      return "section " + section.name + " would never be found: a lookup of it opens section " +
             earlier.name + ", which comes first; put " + section.name + " before it";
    }
  }
  parser.plain_lines.push_back("*" + section.name);
  parser.sections.push_back(std::move(section));
  return std::nullopt;
}

// "! text".
Error parse_default(Parser &parser, std::string_view line) {
  if (parser.sections.empty()) return std::string("default line before the first section");
  Section &section = parser.sections.back();
  if (section.has_default) return "second default line in section " + section.name;
  const std::string_view text = trim(line.substr(1));
  if (text.empty()) return "empty default text in section " + section.name;
  if (Error error = check_width(section, text)) return error;
  section.has_default = true;
  parser.plain_lines.push_back("!" + std::string(text));
  return std::nullopt;
}

// "CODE name".
Error parse_value(Parser &parser, std::string_view line) {
  if (parser.sections.empty()) return std::string("value line before the first section");
  Section &section = parser.sections.back();
  if (section.has_default) {
    return "value line after the default of section " + section.name +
           "; the viewer stops at the default and would never reach it";
  }
  std::size_t digits = 0;
  unsigned code = 0;
  while (digits < line.size() && hex_value(line[digits]) >= 0) {
    code = code * 16 + static_cast<unsigned>(hex_value(line[digits]));
    if (++digits > 4) return std::string("code longer than 4 hexadecimal digits");
  }
  if (digits == 0 || digits == line.size() || !is_blank(line[digits])) {
    return "expected a hexadecimal code, a blank and a name, found \"" + std::string(line) + "\"";
  }
  const std::string_view name = trim(line.substr(digits));
  for (const unsigned known : section.codes) {
    if (known == code)
      return "code " + std::string(line.substr(0, digits)) + " twice in section " + section.name;
  }
  if (Error error = check_width(section, name)) return error;
  section.codes.push_back(code);
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%02XH=", code);
  parser.plain_lines.push_back(prefix + std::string(name));
  return std::nullopt;
}

Error parse_line(Parser &parser, std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // CR LF checkouts
  if (trim(line).empty() || line.front() == '#') return std::nullopt;
  const std::size_t before = parser.plain_lines.size();
  Error error = line.front() == '['   ? parse_section(parser, line)
                : line.front() == '!' ? parse_default(parser, line)
                                      : parse_value(parser, line);
  if (!error && parser.plain_lines.size() > before) {
    error = check_plain_line(parser.plain_lines.back());
  }
  return error;
}

// Reads source and writes output; 0 on success, else 1 after a message.
int convert(const char *source, const char *output) {
  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "dathide: %s: cannot open\n", source);
    return 1;
  }
  Parser parser;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (Error error = parse_line(parser, line)) {
      std::fprintf(stderr, "dathide: %s:%d: %s\n", source, number, error->c_str());
      return 1;
    }
  }
  if (in.bad() || parser.sections.empty()) {
    std::fprintf(stderr, "dathide: %s: %s\n", source, in.bad() ? "read error" : "no sections");
    return 1;
  }

  std::string content;
  for (const std::string &plain : parser.plain_lines) {
    const std::string stored = scramble(plain);
    // The viewer's own unscrambling must give the line back.
    std::string check = stored;
    unhide_dat_text(check.data());
    if (check != plain) {
      std::fprintf(stderr, "dathide: internal error: a line does not unscramble to itself\n");
      return 1;
    }
    content += stored;
    content += '\n';
  }

  // Binary mode: lines end with a bare LF on every platform, which a text
  // mode reader takes as it is.
  std::FILE *file = std::fopen(output, "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "dathide: %s: cannot create\n", output);
    return 1;
  }
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  if (std::fclose(file) != 0 || !written) {
    std::fprintf(stderr, "dathide: %s: write error\n", output);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr,
                 "usage: dathide SOURCE OUTPUT\n"
                 "Scrambles the plain value-name table SOURCE into OUTPUT (DMI.DAT).\n");
    return 2;
  }
  // A refused source leaves no table behind, not even an older one, so that
  // nothing stale is installed by a build that failed.
  const int status = convert(argv[1], argv[2]);
  if (status != 0) std::remove(argv[2]);
  return status;
}
