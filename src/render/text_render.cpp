#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <unordered_map>

#include "render.h"
#include "utf8.h"

namespace {

// Labels longer than this get no padding, so that values stay within an
// 80-column line.
constexpr size_t kLabelColumn = 32;
constexpr size_t kLineWidth = 80;

// Numbers by to_chars: printf's format parsing was most of the renderer's
// time on large tables.
void AppendDecimal(std::string* out, uint64_t number) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, number).ptr;
  out->append(buffer, end);
}

void AppendHex(std::string* out, uint64_t number, unsigned width) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, number, 16).ptr;
  const size_t digits = static_cast<size_t>(end - buffer);
  const size_t wanted = width ? width * 2u : 1u;
  *out += "0x";
  if (digits < wanted) out->append(wanted - digits, '0');
  for (const char* p = buffer; p < end; ++p) *out += (*p >= 'a' ? static_cast<char>(*p - 32) : *p);
}

std::string Hex(uint64_t number, unsigned width) {
  std::string out;
  AppendHex(&out, number, width);
  return out;
}

// "max_speed_mhz" -> "Max speed": the unit goes with the value.
std::string MakeLabel(const char* name) {
  std::string label = name;
  static const char* const kSuffixes[] = {"_bytes", "_mhz", "_mts", "_mv", "_u"};
  for (const char* suffix : kSuffixes) {
    const std::string s = suffix;
    if (label.size() > s.size() && label.compare(label.size() - s.size(), s.size(), s) == 0)
      label.erase(label.size() - s.size());
  }
  // Words the standard writes in capitals.
  static const char* const kAcronyms[] = {"bios", "uuid", "sku", "cpu", "id", "oem", "l1",
                                          "l2", "l3", "u", "rom", "gpnv"};
  std::string out;
  size_t start = 0;
  while (start <= label.size()) {
    size_t end = label.find('_', start);
    if (end == std::string::npos) end = label.size();
    std::string word = label.substr(start, end - start);
    for (const char* acronym : kAcronyms)
      if (word == acronym)
        for (char& c : word) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    if (!out.empty()) out += ' ';
    out += word;
    start = end + 1;
  }
  if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 32);
  return out;
}

// Labels by the address of their field name (the tables' string literals),
// made once each. (The program renders in one thread.)
const std::string& Label(const char* name) {
  static std::unordered_map<const char*, std::string> labels;
  const auto found = labels.find(name);
  if (found != labels.end()) return found->second;
  return labels[name] = MakeLabel(name);
}

// The type of each structure by its handle, so that a handle field can say
// what it names (the first structure of a handle given twice).
using HandleTypes = std::unordered_map<uint16_t, uint8_t>;

std::string Size(uint64_t bytes) {
  static const char* const kUnits[] = {"bytes", "KiB", "MiB", "GiB", "TiB"};
  size_t unit = 0;
  while (unit + 1 < 5 && bytes >= 1024 && bytes % 1024 == 0) {
    bytes /= 1024;
    ++unit;
  }
  std::string out;
  AppendDecimal(&out, bytes);
  return out + " " + kUnits[unit];
}

std::string Scalar(const FieldValue& v, const HandleTypes& handles) {
  std::string out;
  switch (v.kind) {
    case FieldValue::Kind::kNumber:
      if (v.unit == Unit::kBytes) return Size(v.number);
      AppendDecimal(&out, v.number);
      if (v.unit == Unit::kMHz) out += " MHz";
      if (v.unit == Unit::kMV) out += " mV";
      if (v.unit == Unit::kMTs) out += " MT/s";
      if (v.unit == Unit::kRackUnits) out += " U";
      return out;
    case FieldValue::Kind::kHex: return Hex(v.number, v.width);
    case FieldValue::Kind::kFlag: return v.number ? "yes" : "no";
    case FieldValue::Kind::kHandle: {
      out = Hex(v.number, 2);
      const auto named = handles.find(static_cast<uint16_t>(v.number));
      if (named == handles.end()) return out;
      out += " (type ";
      AppendDecimal(&out, named->second);
      return out + ": " + TypeNameOf(named->second, StructureTypeName(named->second)) + ")";
    }
    case FieldValue::Kind::kString:
      if (v.badIndex) {
        out = "(string ";
        AppendDecimal(&out, v.number);
        return out + " is missing)";
      }
      return v.number == 0 ? "(none)" : TerminalSafe(v.text);
    case FieldValue::Kind::kEnum:
      if (!v.name) return Hex(v.number, v.width ? v.width : 1) + " (undefined)";
      return std::string(v.name) + " (" + Hex(v.number, v.width ? v.width : 1) + ")";
    case FieldValue::Kind::kBits: return Hex(v.number, v.width);
    case FieldValue::Kind::kText: return TerminalSafe(v.text);
    case FieldValue::Kind::kList:
      if (v.items.empty()) return "none";
      AppendDecimal(&out, v.items.size());
      return out + (v.items.size() == 1 ? " item" : " items");
    case FieldValue::Kind::kObject: return "";
  }
  return out;
}

void Rows(const std::vector<Field>& fields, size_t indent, const HandleTypes& handles,
          std::string* out);

void Row(const std::string& label, const FieldValue& v, size_t indent, size_t column,
         const HandleTypes& handles, std::string* out) {
  out->append(indent, ' ');
  *out += label;
  *out += ':';
  const std::string value = Scalar(v, handles);
  const size_t pad = label.size() < column ? column - label.size() : 0;
  if (!value.empty() && indent + label.size() + pad + 2 + value.size() > kLineWidth) {
    // Too long for the line: the value goes below its label.
    *out += '\n';
    out->append(indent + 4, ' ');
    *out += value;
  } else if (!value.empty()) {
    out->append(pad, ' ');
    *out += ' ';
    *out += value;
  }
  *out += '\n';
  if (v.kind == FieldValue::Kind::kBits) {
    for (const BitName& bit : v.bits) {
      out->append(indent + 2, ' ');
      if (bit.name) {
        *out += bit.name;
      } else {
        *out += "bit ";
        AppendDecimal(out, bit.bit);
        *out += " (undefined)";
      }
      *out += '\n';
    }
  } else if (v.kind == FieldValue::Kind::kList) {
    for (const FieldValue& item : v.items) {
      if (item.kind == FieldValue::Kind::kObject) {
        out->append(indent + 2, ' ');
        *out += "-\n";
        Rows(item.members, indent + 4, handles, out);
      } else {
        out->append(indent + 2, ' ');
        *out += Scalar(item, handles);
        *out += '\n';
      }
    }
  } else if (v.kind == FieldValue::Kind::kObject) {
    Rows(v.members, indent + 2, handles, out);
  }
}

void Rows(const std::vector<Field>& fields, size_t indent, const HandleTypes& handles,
          std::string* out) {
  size_t column = 0;
  for (const Field& field : fields) {
    const size_t size = Label(field.name).size();
    if (size <= kLabelColumn && size > column) column = size;
  }
  for (const Field& field : fields)
    Row(Label(field.name), field.value, indent, column, handles, out);
}

void RawBytes(const DecodedStructure& s, std::string* out) {
  *out += "  Formatted bytes:\n";
  for (size_t i = 0; i < s.formatted.size(); i += 16) {
    *out += "   ";
    static const char kDigits[] = "0123456789ABCDEF";
    for (size_t j = i; j < i + 16 && j < s.formatted.size(); ++j) {
      *out += ' ';
      *out += kDigits[s.formatted[j] >> 4];
      *out += kDigits[s.formatted[j] & 15];
    }
    *out += '\n';
  }
  *out += "  Strings:";
  *out += s.strings.empty() ? " none\n" : "\n";
  for (const std::string& text : s.strings) *out += "    " + TerminalSafe(text) + "\n";
}

}  // namespace

std::string TerminalSafe(const std::string& text) {
  bool plain = true;  // printable ASCII, the usual case, passes as it is
  for (char c : text) plain = plain && c >= 0x20 && c < 0x7F;
  if (plain) return text;
  const std::string valid = ValidUtf8(text);
  std::string out;
  out.reserve(valid.size());
  for (size_t i = 0; i < valid.size();) {
    uint32_t code = 0;
    size_t length = DecodeUtf8(std::string_view(valid).substr(i), &code);
    if (length == 0) length = 1;  // cannot happen after ValidUtf8
    if (code < 0x20 || code == 0x7F || (code >= 0x80 && code <= 0x9F)) out += ' ';
    else out.append(valid, i, length);
    i += length;
  }
  return out;
}

std::string TypeNameOf(uint8_t type, const char* name) {
  if (name) return name;
  return type >= 128 ? "OEM type" : "Unknown type";
}

std::string RenderText(const Model& model, const RenderOptions& options) {
  std::string out;
  out.reserve(model.structures.size() * 600);
  char line[160];
  // The files of /sys/class/dmi/id give no version and only a few fields.
  if (model.sourceKind == "sysfs-id")
    snprintf(line, sizeof line, "Partial report: only what %s shows (root reads the table)\n",
             model.sourcePath.c_str());
  else
    snprintf(line, sizeof line, "SMBIOS %u.%u, %zu structure%s%s\n", model.major, model.minor,
             model.structures.size(), model.structures.size() == 1 ? "" : "s",
             model.partial ? " (the table breaks after them)" : "");
  out += line;
  HandleTypes handles;
  for (const auto& [handle, type] : options.tableHandles) handles.emplace(handle, type);
  if (options.tableHandles.empty())
    for (const DecodedStructure& s : model.structures) handles.emplace(s.handle, s.type);
  for (const DecodedStructure& s : model.structures) {
    out += "\nHandle ";
    AppendHex(&out, s.handle, 2);
    out += ", type ";
    AppendDecimal(&out, s.type);
    out += ": ";
    out += s.name ? s.name : TypeNameOf(s.type, s.name);
    out += " (";
    AppendDecimal(&out, s.length);
    out += " bytes)\n";
    Rows(s.fields, 2, handles, &out);
    if (options.rawBytes || !s.decoded) RawBytes(s, &out);
  }
  return out;
}
