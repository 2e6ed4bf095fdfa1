#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string_view>
#include <utility>
#include <vector>

#include "render.h"
#include "text_out.h"
#include "utf8.h"

namespace {

// Labels longer than this get no padding, so that values stay within an
// 80-column line.
constexpr size_t kLabelColumn = 32;
constexpr size_t kLineWidth = 80;

// Numbers by to_chars: printf's format parsing was most of the renderer's
// time on large tables.
void AppendDecimal(TextOut* out, uint64_t number) { out->AppendNumber(number); }

// "0x" and at least width bytes' digits (one digit for width 0), in
// capitals, written in place.
void AppendHex(TextOut* out, uint64_t number, unsigned width) {
  static const char kDigits[] = "0123456789ABCDEF";
  size_t digits = 1;
  while (digits < 16 && number >> (4 * digits)) ++digits;
  const size_t wanted = std::max<size_t>(digits, width ? std::min(width, 8u) * 2u : 1u);
  char* at = out->Extend(2 + wanted);
  at[0] = '0';
  at[1] = 'x';
  for (char* digit = at + 1 + wanted; digit > at + 1; --digit, number >>= 4)
    *digit = kDigits[number & 15];
}

// Words the standard writes in capitals (or mixed case), as they are
// shown; every other word of a name stays lower case. In byte order.
constexpr std::pair<std::string_view, const char*> kWords[] = {
    {"ac", "AC"},       {"acpi", "ACPI"}, {"bcd", "BCD"},     {"bios", "BIOS"},
    {"bis", "BIS"},     {"bmc", "BMC"},   {"bt", "BT"},       {"cmos", "CMOS"},
    {"cpu", "CPU"},     {"crc", "CRC"},   {"cxl", "CXL"},     {"dc", "DC"},
    {"dhcp", "DHCP"},   {"dimm", "DIMM"}, {"dram", "DRAM"},   {"ec", "EC"},
    {"ecc", "ECC"},     {"fru", "FRU"},   {"gpio", "GPIO"},   {"gpnv", "GPNV"},
    {"guid", "GUID"},   {"i2c", "I2C"},   {"id", "ID"},       {"ids", "IDs"},
    {"ieee", "IEEE"},   {"io", "I/O"},    {"ip", "IP"},       {"ipmi", "IPMI"},
    {"ipv4", "IPv4"},   {"ipv6", "IPv6"}, {"isa", "ISA"},     {"jedec", "JEDEC"},
    {"kcs", "KCS"},     {"l1", "L1"},     {"l2", "L2"},       {"l3", "L3"},
    {"lsb", "LSB"},     {"mac", "MAC"},   {"mctp", "MCTP"},   {"mmio", "MMIO"},
    {"mmu", "MMU"},     {"msb", "MSB"},   {"nv", "NV"},       {"nvme", "NVMe"},
    {"ocp", "OCP"},     {"oem", "OEM"},   {"os", "OS"},       {"pcb", "PCB"},
    {"pci", "PCI"},     {"pcie", "PCIe"}, {"pmic0", "PMIC0"}, {"ram", "RAM"},
    {"rcd", "RCD"},     {"risc", "RISC"}, {"rom", "ROM"},     {"rtc", "RTC"},
    {"sata", "SATA"},   {"sbds", "SBDS"}, {"sku", "SKU"},     {"smbios", "SMBIOS"},
    {"smbus", "SMBus"}, {"smic", "SMIC"}, {"spd", "SPD"},     {"sram", "SRAM"},
    {"ssif", "SSIF"},   {"tpm", "TPM"},   {"uefi", "UEFI"},   {"url", "URL"},
    {"usb", "USB"},     {"utf", "UTF"},   {"uuid", "UUID"},   {"vlan", "VLAN"},
    {"xlen", "XLEN"},
};

constexpr bool WordsSorted() {
  for (size_t i = 1; i < sizeof kWords / sizeof kWords[0]; ++i)
    if (!(kWords[i - 1].first < kWords[i].first)) return false;
  return true;
}
static_assert(WordsSorted(), "kWords in byte order, for the binary search of MakeLabel");

// Names whose label the words cannot make.
constexpr std::pair<const char*, const char*> kWholeLabels[] = {
    {"risc_v", "RISC-V"},
};

// "max_speed_mhz" -> "Max speed": the unit goes with the value.
std::string MakeLabel(const char* name) {
  for (const auto& [whole, shown] : kWholeLabels)
    if (strcmp(name, whole) == 0) return shown;
  std::string_view label = name;
  size_t unitCount = 0;
  const UnitInfo* units = AllUnits(&unitCount);
  size_t suffix = 0;  // the longest unit suffix the name ends in
  for (size_t i = 0; i < unitCount; ++i) {
    const std::string_view s = units[i].suffix;
    if (label.size() > s.size() && s.size() > suffix && label.back() == s.back() &&
        label.substr(label.size() - s.size()) == s)
      suffix = s.size();
  }
  label.remove_suffix(suffix);
  std::string out;
  out.reserve(label.size() + 8);
  size_t start = 0;
  while (start <= label.size()) {
    size_t end = label.find('_', start);
    if (end == std::string_view::npos) end = label.size();
    const std::string_view word = label.substr(start, end - start);
    const auto shown = std::lower_bound(std::begin(kWords), std::end(kWords), word,
                                        [](const std::pair<std::string_view, const char*>& entry,
                                           std::string_view w) { return entry.first < w; });
    if (!out.empty()) out += ' ';
    if (shown != std::end(kWords) && shown->first == word) out += shown->second;
    else out += word;
    start = end + 1;
  }
  if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 32);
  return out;
}

// Labels by the address of their field name (the tables' string literals),
// made once each. A label is looked up for every field shown, so the names
// go in an open-addressed table of addresses, kept at most half full; the
// labels themselves lie in a deque, which never moves them (Rows keeps
// their addresses). (The program renders in one thread.)
struct LabelSlot {
  const char* name = nullptr;
  const std::string* label = nullptr;
};

size_t SlotOf(const char* name, size_t slotCount) {  // slotCount: a power of two
  // Fibonacci hashing: string literals lie close together, unaligned.
  return static_cast<size_t>(reinterpret_cast<uintptr_t>(name) * 0x9E3779B97F4A7C15ull >> 32) &
         (slotCount - 1);
}

LabelSlot* FindSlot(std::vector<LabelSlot>& slots, const char* name) {
  size_t i = SlotOf(name, slots.size());
  while (slots[i].name && slots[i].name != name) i = (i + 1) & (slots.size() - 1);
  return &slots[i];
}

const std::string& Label(const char* name) {
  static std::vector<LabelSlot> slots(512);
  static std::deque<std::string> labels;
  LabelSlot* slot = FindSlot(slots, name);
  if (slot->name) return *slot->label;
  if (2 * (labels.size() + 1) > slots.size()) {
    std::vector<LabelSlot> grown(2 * slots.size());
    for (const LabelSlot& old : slots)
      if (old.name) *FindSlot(grown, old.name) = old;
    slots.swap(grown);
    slot = FindSlot(slots, name);
  }
  labels.push_back(MakeLabel(name));
  *slot = LabelSlot{name, &labels.back()};
  return labels.back();
}

// The type of each structure by its handle, so that a handle field can say
// what it names (the first structure of a handle given twice): sorted by
// handle, a handle given twice in table order.
using HandleTypes = std::vector<std::pair<uint16_t, uint8_t>>;

const std::pair<uint16_t, uint8_t>* FindHandle(const HandleTypes& handles, uint16_t handle) {
  const auto found = std::lower_bound(
      handles.begin(), handles.end(), handle,
      [](const std::pair<uint16_t, uint8_t>& entry, uint16_t h) { return entry.first < h; });
  return found != handles.end() && found->first == handle ? &*found : nullptr;
}

void AppendSize(TextOut* out, uint64_t bytes) {
  static const char* const kUnits[] = {"bytes", "KiB", "MiB", "GiB", "TiB"};
  size_t unit = 0;
  while (unit + 1 < 5 && bytes >= 1024 && bytes % 1024 == 0) {
    bytes /= 1024;
    ++unit;
  }
  AppendDecimal(out, bytes);
  *out += ' ';
  *out += kUnits[unit];
}

// Firmware text as TerminalSafe makes it; printable ASCII, the usual case,
// is copied without a temporary.
void AppendSafe(TextOut* out, const std::string& text) {
  for (char c : text)
    if (c < 0x20 || c >= 0x7F) {
      *out += TerminalSafe(text);
      return;
    }
  *out += text;
}

// The value's text appended to out: no temporaries on the way, as this
// runs once per field.
void AppendScalar(const FieldValue& v, const HandleTypes& handles, TextOut* out) {
  switch (v.kind) {
    case FieldValue::Kind::kNumber:
    case FieldValue::Kind::kSigned: {
      if (v.unit == Unit::kBytes && v.kind == FieldValue::Kind::kNumber) {
        AppendSize(out, v.number);
        return;
      }
      const UnitInfo& unit = DescribeUnit(v.unit);
      uint64_t magnitude = v.number;
      if (v.kind == FieldValue::Kind::kSigned && static_cast<int64_t>(v.number) < 0) {
        *out += '-';
        magnitude = 0 - v.number;
      }
      uint64_t scale = 1;
      for (unsigned i = 0; i < unit.decimals; ++i) scale *= 10;
      AppendDecimal(out, magnitude / scale);
      if (unit.decimals) {
        // Fixed decimals: "12.5", "0.125".
        char fraction[24];
        const char* end =
            std::to_chars(fraction, fraction + sizeof fraction, magnitude % scale).ptr;
        *out += '.';
        out->append(unit.decimals - static_cast<size_t>(end - fraction), '0');
        out->append(fraction, end);
      }
      if (*unit.symbol) {
        *out += ' ';
        *out += unit.symbol;
      }
      return;
    }
    case FieldValue::Kind::kHex: AppendHex(out, v.number, v.width); return;
    case FieldValue::Kind::kFlag: *out += v.number ? "yes" : "no"; return;
    case FieldValue::Kind::kHandle: {
      AppendHex(out, v.number, 2);
      if (v.name) {
        *out += " (";
        *out += v.name;
        *out += ')';
        return;
      }
      const auto* named = FindHandle(handles, static_cast<uint16_t>(v.number));
      if (!named) return;
      *out += " (type ";
      AppendDecimal(out, named->second);
      *out += ": ";
      if (const char* name = StructureTypeName(named->second)) *out += name;
      else *out += TypeNameOf(named->second, nullptr);
      *out += ')';
      return;
    }
    case FieldValue::Kind::kString:
      if (v.badIndex) {
        *out += "(string ";
        AppendDecimal(out, v.number);
        *out += " is missing)";
        return;
      }
      if (v.number == 0) *out += "(none)";
      else AppendSafe(out, v.text);
      return;
    case FieldValue::Kind::kEnum:
      if (!v.name) {
        AppendHex(out, v.number, v.width ? v.width : 1);
        *out += " (undefined)";
        return;
      }
      *out += v.name;
      *out += " (";
      AppendHex(out, v.number, v.width ? v.width : 1);
      *out += ')';
      return;
    case FieldValue::Kind::kBits: AppendHex(out, v.number, v.width); return;
    case FieldValue::Kind::kText: AppendSafe(out, v.text); return;
    case FieldValue::Kind::kList:
      if (v.items.empty()) {
        *out += "none";
        return;
      }
      AppendDecimal(out, v.items.size());
      *out += v.items.size() == 1 ? " item" : " items";
      return;
    case FieldValue::Kind::kObject: return;
  }
}

void Rows(const std::vector<Field>& fields, size_t indent, const HandleTypes& handles,
          TextOut* out);

void Row(const std::string& label, const FieldValue& v, size_t indent, size_t column,
         const HandleTypes& handles, TextOut* out) {
  // One buffer for every row's value: it is used up before the rows of a
  // list or object below reuse it. (The program renders in one thread.)
  static TextOut value;
  value.clear();
  AppendScalar(v, handles, &value);
  const size_t pad = label.size() < column ? column - label.size() : 0;
  if (!value.empty() && indent + label.size() + pad + 2 + value.size() > kLineWidth) {
    // Too long for the line: the value goes below its label.
    out->append(indent, ' ');
    *out += label;
    *out += ":\n";
    out->append(indent + 4, ' ');
    *out += value.view();
    *out += '\n';
  } else {
    // The line in one piece: indent, label, colon, padding, value.
    const size_t gap = value.empty() ? 0 : pad + 1;
    char* at = out->Extend(indent + label.size() + 1 + gap + value.size() + 1);
    memset(at, ' ', indent);
    at += indent;
    memcpy(at, label.data(), label.size());
    at += label.size();
    *at++ = ':';
    memset(at, ' ', gap);
    at += gap;
    memcpy(at, value.view().data(), value.size());
    at[value.size()] = '\n';
  }
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
        AppendScalar(item, handles, out);
        *out += '\n';
      }
    }
  } else if (v.kind == FieldValue::Kind::kObject) {
    Rows(v.members, indent + 2, handles, out);
  }
}

void Rows(const std::vector<Field>& fields, size_t indent, const HandleTypes& handles,
          TextOut* out) {
  // Each label looked up once: the column needs them all before the rows.
  constexpr size_t kKept = 64;
  const std::string* labels[kKept];
  size_t column = 0;
  for (size_t i = 0; i < fields.size(); ++i) {
    const std::string& label = Label(fields[i].name);
    if (i < kKept) labels[i] = &label;
    if (label.size() <= kLabelColumn && label.size() > column) column = label.size();
  }
  for (size_t i = 0; i < fields.size(); ++i)
    Row(i < kKept ? *labels[i] : Label(fields[i].name), fields[i].value, indent, column, handles,
        out);
}

void RawBytes(const DecodedStructure& s, TextOut* out) {
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
  for (const std::string& text : s.strings) {
    *out += "    ";
    AppendSafe(out, text);
    *out += '\n';
  }
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
  TextOut out(nullptr, model.structures.size() * 600 + 256);
  RenderText(model, options, &out);
  return out.Take();
}

void RenderText(const Model& model, const RenderOptions& options, TextOut* out) {
  RenderOptions withHandles = options;
  if (withHandles.tableHandles.empty())
    for (const DecodedStructure& s : model.structures)
      withHandles.tableHandles.emplace_back(s.handle, s.type);
  size_t next = 0;
  RenderText(
      model, model.structures.size(),
      [&]() { return next < model.structures.size() ? &model.structures[next++] : nullptr; },
      withHandles, out);
}

void RenderText(const Model& head, size_t count, const NextStructure& next,
                const RenderOptions& options, TextOut* to) {
  TextOut& out = *to;
  char line[160];
  // The files of /sys/class/dmi/id give no version and only a few fields.
  if (head.sourceKind == "sysfs-id")
    snprintf(line, sizeof line, "Partial report: only what %s shows (root reads the table)\n",
             head.sourcePath.c_str());
  else
    snprintf(line, sizeof line, "SMBIOS %u.%u, %zu structure%s%s\n", head.major, head.minor, count,
             count == 1 ? "" : "s", head.partial ? " (the table breaks after them)" : "");
  out += line;
  HandleTypes handles = options.tableHandles;
  std::stable_sort(handles.begin(), handles.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  while (const DecodedStructure* shown = next()) {
    const DecodedStructure& s = *shown;
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
}
