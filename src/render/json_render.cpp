// JSON in the layout of nlohmann/json's dump(2), written as a stream: a
// document tree of the library cost three times the whole run of the other
// SMBIOS tool on a 620-structure table. A string that needs escaping goes
// through the library's serializer (Debian's nlohmann-json3-dev,
// header-only, so the mingw builds have it too): no hand-written escaping.
// Firmware strings are repaired to valid UTF-8 first; printable ASCII
// without quote or backslash, and the program's own names, which are always
// that, go in as they are.
#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "render.h"
#include "text_out.h"
#include "utf8.h"

namespace {

using Json = nlohmann::json;

std::string Escaped(const std::string& text) {
  return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Printable ASCII without quote or backslash needs no escaping: most
// firmware strings and all of the program's own names. Everything else goes
// through the library.
struct PlainBytes {
  bool plain[256] = {};
  constexpr PlainBytes() {
    for (int c = 0x20; c < 0x7F; ++c) plain[c] = c != '"' && c != '\\';
  }
};
constexpr PlainBytes kPlain;

// Text that needs no escaping, in quotes, as one piece.
void AppendQuoted(TextOut* out, std::string_view text) {
  char* at = out->Extend(text.size() + 2);
  at[0] = '"';
  if (!text.empty()) memcpy(at + 1, text.data(), text.size());
  at[text.size() + 1] = '"';
}

void AppendString(TextOut* out, std::string_view text) {
  for (char c : text) {
    if (!kPlain.plain[static_cast<unsigned char>(c)]) {
      *out += Escaped(ValidUtf8(std::string(text)));
      return;
    }
  }
  AppendQuoted(out, text);
}

// The separator before an item: a comma unless it is the first, a line
// break and the indent of its depth, in one copy (up to the deepest indent
// the text holds).
struct Separator {
  char text[2 + 64] = {};
  constexpr Separator() {
    text[0] = ',';
    text[1] = '\n';
    for (size_t i = 2; i < sizeof text; ++i) text[i] = ' ';
  }
};
constexpr Separator kSeparator;

class Writer {
 public:
  explicit Writer(TextOut* to) : out(*to) {}
  TextOut& out;

  void Open(char bracket) {
    Item();
    out += bracket;
    ++depth_;
    first_ = true;
  }
  void Close(char bracket) {
    const bool empty = first_;
    --depth_;
    first_ = false;  // the bracket closed was an item of the one around it
    const size_t indent = 2 * depth_;
    if (empty || indent + 2 > sizeof kSeparator.text) {
      if (!empty) NewLine();
      out += bracket;
      return;
    }
    // The line break, the indent and the bracket in one piece.
    char* at = out.Extend(2 + indent);
    memcpy(at, kSeparator.text + 1, 1 + indent);
    at[1 + indent] = bracket;
  }
  // A key of the object open now; its value follows. The program's own
  // names (keys, value and type names) are printable ASCII without quote or
  // backslash (tools/valuesgen and the model's tests see to it): they go in
  // as they are, without the check that firmware text takes.
  // (A view, so that the length of a literal key is known as it compiles.)
  void Key(std::string_view name) {
    // The separator, the quoted name and its colon in one piece.
    const std::string_view separator = Separation();
    const size_t size = name.size();
    char* at = out.Extend(separator.size() + size + 4);
    if (!separator.empty()) memcpy(at, separator.data(), separator.size());
    at += separator.size();
    *at++ = '"';
    memcpy(at, name.data(), size);
    memcpy(at + size, "\": ", 3);
    keyed_ = true;
  }
  void Number(uint64_t n) {
    Item();
    out.AppendNumber(n);
  }
  void Signed(int64_t n) {
    Item();
    out.AppendNumber(n);
  }
  void Bool(bool b) { Raw(b ? "true" : "false"); }
  void Null() { Raw("null"); }
  void String(std::string_view text) {
    Item();
    AppendString(&out, text);
  }
  void Name(std::string_view name) {
    Item();
    AppendQuoted(&out, name);
  }
  void Raw(std::string_view text) {
    Item();
    out += text;
  }

 private:
  // Before each value: the separator and line of an array item or object
  // member, unless a key has just been written.
  void Item() {
    if (keyed_) {
      keyed_ = false;
      return;
    }
    const std::string_view separator = Separation();
    if (!separator.empty()) out += separator;
  }
  // What goes before an item that follows no key: nothing at the top, else
  // a comma unless it is the first, a line break and its indent.
  std::string_view Separation() {
    if (depth_ == 0) return {};
    const bool first = first_;
    first_ = false;
    const size_t indent = 2 * depth_;
    if (indent + 2 > sizeof kSeparator.text) {  // deeper than the model goes
      if (!first) out += ',';
      NewLine();
      return {};
    }
    return std::string_view(kSeparator.text + first, 2 - first + indent);
  }
  void NewLine() {
    const size_t indent = 2 * depth_;
    if (indent + 2 > sizeof kSeparator.text) {
      out += '\n';
      out.append(indent, ' ');
      return;
    }
    out += std::string_view(kSeparator.text + 1, 1 + indent);
  }
  // The brackets open, and whether the innermost has had no item yet (the
  // ones around it always have: it is one).
  size_t depth_ = 0;
  bool first_ = false;
  bool keyed_ = false;
};

void Members(const std::vector<Field>& fields, Writer* w);

void Value(const FieldValue& v, Writer* w) {
  switch (v.kind) {
    case FieldValue::Kind::kNumber:
    case FieldValue::Kind::kHex:
    case FieldValue::Kind::kHandle: w->Number(v.number); return;
    case FieldValue::Kind::kSigned: w->Signed(static_cast<int64_t>(v.number)); return;
    case FieldValue::Kind::kFlag: w->Bool(v.number != 0); return;
    case FieldValue::Kind::kString:
      if (v.number == 0 || v.badIndex) w->Null();
      else w->String(v.text);
      return;
    case FieldValue::Kind::kEnum:
      w->Open('{');
      w->Key("value");
      w->Number(v.number);
      if (v.name) {
        w->Key("name");
        w->Name(v.name);
      } else {
        w->Key("undefined");
        w->Bool(true);
      }
      w->Close('}');
      return;
    case FieldValue::Kind::kBits:
      w->Open('{');
      w->Key("value");
      w->Number(v.number);
      w->Key("bits");
      w->Open('[');
      for (const BitName& bit : v.bits) {
        w->Open('{');
        w->Key("bit");
        w->Number(bit.bit);
        if (bit.name) {
          w->Key("name");
          w->Name(bit.name);
        } else {
          w->Key("undefined");
          w->Bool(true);
        }
        w->Close('}');
      }
      w->Close(']');
      w->Close('}');
      return;
    case FieldValue::Kind::kText: w->String(v.text); return;
    case FieldValue::Kind::kList:
      w->Open('[');
      for (const FieldValue& item : v.items) Value(item, w);
      w->Close(']');
      return;
    case FieldValue::Kind::kObject: Members(v.members, w); return;
  }
  w->Null();
}

void Members(const std::vector<Field>& fields, Writer* w) {
  w->Open('{');
  for (const Field& field : fields) {
    w->Key(field.name);
    Value(field.value, w);
  }
  w->Close('}');
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
  std::string out = "\"";
  out.reserve(bytes.size() * 2 + 2);
  static const char kDigits[] = "0123456789abcdef";
  for (uint8_t b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out + "\"";
}

}  // namespace

std::string RenderJson(const Model& model, const RenderOptions& options) {
  TextOut out(nullptr, model.structures.size() * 1500 + 1024);
  RenderJson(model, options, &out);
  return out.Take();
}

void RenderJson(const Model& model, const RenderOptions& options, TextOut* out) {
  size_t next = 0;
  RenderJson(
      model, [&]() { return next < model.structures.size() ? &model.structures[next++] : nullptr; },
      options, out);
}

void RenderJson(const Model& model, const NextStructure& next, const RenderOptions& options,
                TextOut* out) {
  Writer w(out);
  w.Open('{');
  w.Key("program");
  w.Open('{');
  w.Key("name");
  w.Name("syslens");
  w.Key("version");
  w.String(options.programVersion);
  w.Close('}');
  w.Key("source");
  w.Open('{');
  w.Key("kind");
  w.String(model.sourceKind);
  w.Key("path");
  w.String(model.sourcePath);
  w.Key("partial");
  w.Bool(model.partial);
  w.Close('}');
  w.Key("smbios");
  w.Open('{');
  char version[16];
  snprintf(version, sizeof version, "%u.%u", model.major, model.minor);
  w.Key("version");
  w.String(version);
  w.Key("major");
  w.Number(model.major);
  w.Key("minor");
  w.Number(model.minor);
  if (model.haveEntryPoint) {
    w.Key("entry_point");
    w.Open('{');
    w.Key("form");
    w.Name(model.entryMajor == 3 ? "64-bit (_SM3_)" : "32-bit (_SM_)");
    w.Key("table_length_bytes");
    w.Number(model.tableLength);
    if (model.entryMajor == 3) {
      w.Key("docrev");
      w.Number(model.docrev);
    } else {
      w.Key("structure_count");
      w.Number(model.structureCount);
    }
    w.Close('}');
  }
  w.Close('}');
  w.Key("structures");
  w.Open('[');
  while (const DecodedStructure* shown = next()) {
    const DecodedStructure& s = *shown;
    w.Open('{');
    w.Key("handle");
    w.Number(s.handle);
    w.Key("type");
    w.Number(s.type);
    w.Key("name");
    if (s.name) w.Name(s.name);
    else w.String(TypeNameOf(s.type, s.name));
    w.Key("length");
    w.Number(s.length);
    w.Key("decoded");
    w.Bool(s.decoded);
    w.Key("fields");
    Members(s.fields, &w);
    w.Key("strings");
    w.Open('[');
    for (const std::string& text : s.strings) w.String(text);
    w.Close(']');
    if (options.rawBytes || !s.decoded) {
      w.Key("raw_bytes");
      w.Raw(HexBytes(s.formatted));
    }
    w.Close('}');
  }
  w.Close(']');
  w.Key("warnings");
  w.Open('[');
  for (const std::string& warning : model.warnings) w.String(warning);
  w.Close(']');
  w.Close('}');
  w.out += '\n';
}
