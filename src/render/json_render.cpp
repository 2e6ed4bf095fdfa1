// JSON through nlohmann/json (Debian's nlohmann-json3-dev, header-only, so
// the mingw builds have it too): no hand-written escaping. Keys keep the
// model's order (ordered_json); firmware strings are repaired to valid UTF-8
// before they enter the document.
#include <nlohmann/json.hpp>

#include <cstdio>

#include "render.h"
#include "utf8.h"

namespace {

using Json = nlohmann::ordered_json;

Json Value(const FieldValue& v);

Json Members(const std::vector<Field>& fields) {
  Json object = Json::object();
  for (const Field& field : fields) object[field.name] = Value(field.value);
  return object;
}

Json Value(const FieldValue& v) {
  switch (v.kind) {
    case FieldValue::Kind::kNumber:
    case FieldValue::Kind::kHex:
    case FieldValue::Kind::kHandle: return v.number;
    case FieldValue::Kind::kFlag: return v.number != 0;
    case FieldValue::Kind::kString:
      if (v.number == 0 || v.badIndex) return nullptr;
      return ValidUtf8(v.text);
    case FieldValue::Kind::kEnum: {
      Json e = {{"value", v.number}};
      if (v.name) e["name"] = v.name;
      else e["out_of_spec"] = true;
      return e;
    }
    case FieldValue::Kind::kBits: {
      Json bits = Json::array();
      for (const BitName& bit : v.bits) {
        Json b = {{"bit", bit.bit}};
        if (bit.name) b["name"] = bit.name;
        else b["out_of_spec"] = true;
        bits.push_back(std::move(b));
      }
      return Json{{"value", v.number}, {"bits", std::move(bits)}};
    }
    case FieldValue::Kind::kText: return ValidUtf8(v.text);
    case FieldValue::Kind::kList: {
      Json items = Json::array();
      for (const FieldValue& item : v.items) items.push_back(Value(item));
      return items;
    }
    case FieldValue::Kind::kObject: return Members(v.members);
  }
  return nullptr;
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  static const char kDigits[] = "0123456789abcdef";
  for (uint8_t b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

}  // namespace

std::string RenderJson(const Model& model, const RenderOptions& options) {
  Json doc;
  doc["program"] = {{"name", "syslens"}, {"version", options.programVersion}};
  doc["source"] = {{"kind", model.sourceKind},
                   {"path", ValidUtf8(model.sourcePath)},
                   {"partial", model.partial}};
  char version[16];
  snprintf(version, sizeof version, "%u.%u", model.major, model.minor);
  Json smbios = {{"version", version}, {"major", model.major}, {"minor", model.minor}};
  if (model.haveEntryPoint) {
    Json entry = {{"form", model.entryMajor == 3 ? "64-bit (_SM3_)" : "32-bit (_SM_)"},
                  {"table_length_bytes", model.tableLength}};
    if (model.entryMajor == 3) entry["docrev"] = model.docrev;
    else entry["structure_count"] = model.structureCount;
    smbios["entry_point"] = std::move(entry);
  }
  doc["smbios"] = std::move(smbios);
  Json structures = Json::array();
  for (const DecodedStructure& s : model.structures) {
    Json j = {{"handle", s.handle}, {"type", s.type}};
    j["name"] = TypeNameOf(s.type, s.name);
    j["length"] = s.length;
    j["decoded"] = s.decoded;
    j["fields"] = Members(s.fields);
    Json strings = Json::array();
    for (const std::string& text : s.strings) strings.push_back(ValidUtf8(text));
    j["strings"] = std::move(strings);
    if (options.rawBytes || !s.decoded) j["raw_bytes"] = HexBytes(s.formatted);
    structures.push_back(std::move(j));
  }
  doc["structures"] = std::move(structures);
  doc["warnings"] = model.warnings;
  // Replace, never throw: the document stays valid whatever a message holds.
  std::string out = doc.dump(2, ' ', false, Json::error_handler_t::replace);
  out += '\n';
  return out;
}
