#include "keywords.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace {

enum class Form {
  kString,    // a string of the structure
  kRevision,  // two release bytes as "major.minor"; FF: none
  kUuid,
  kFrequency,  // MHz; 0: unknown
  kName,       // our name of a code (processor family through family 2)
};

struct Keyword {
  const char* keyword;
  uint8_t type;
  const char* field;  // the model's field
  Form form;
  const char* second;  // kRevision: the minor field
};

const Keyword kKeywords[] = {
    {"bios-vendor", 0, "vendor", Form::kString, nullptr},
    {"bios-version", 0, "bios_version", Form::kString, nullptr},
    {"bios-release-date", 0, "bios_release_date", Form::kString, nullptr},
    {"bios-revision", 0, "system_bios_major_release", Form::kRevision, "system_bios_minor_release"},
    {"firmware-revision", 0, "embedded_controller_firmware_major_release", Form::kRevision,
     "embedded_controller_firmware_minor_release"},
    {"system-manufacturer", 1, "manufacturer", Form::kString, nullptr},
    {"system-product-name", 1, "product_name", Form::kString, nullptr},
    {"system-version", 1, "version", Form::kString, nullptr},
    {"system-serial-number", 1, "serial_number", Form::kString, nullptr},
    {"system-uuid", 1, "uuid", Form::kUuid, nullptr},
    {"system-sku-number", 1, "sku_number", Form::kString, nullptr},
    {"system-family", 1, "family", Form::kString, nullptr},
    {"baseboard-manufacturer", 2, "manufacturer", Form::kString, nullptr},
    {"baseboard-product-name", 2, "product", Form::kString, nullptr},
    {"baseboard-version", 2, "version", Form::kString, nullptr},
    {"baseboard-serial-number", 2, "serial_number", Form::kString, nullptr},
    {"baseboard-asset-tag", 2, "asset_tag", Form::kString, nullptr},
    {"chassis-manufacturer", 3, "manufacturer", Form::kString, nullptr},
    {"chassis-type", 3, "type", Form::kName, nullptr},
    {"chassis-version", 3, "version", Form::kString, nullptr},
    {"chassis-serial-number", 3, "serial_number", Form::kString, nullptr},
    {"chassis-asset-tag", 3, "asset_tag_number", Form::kString, nullptr},
    {"processor-family", 4, "processor_family", Form::kName, nullptr},
    {"processor-manufacturer", 4, "processor_manufacturer", Form::kString, nullptr},
    {"processor-version", 4, "processor_version", Form::kString, nullptr},
    {"processor-frequency", 4, "current_speed_mhz", Form::kFrequency, nullptr},
};

// Scripts compare these texts with the other tool's: no string and a
// string number past the set are spelled as it spells them, and
// non-printable bytes become dots as there.
std::string StringText(const FieldValue& v) {
  if (v.badIndex) return "<BAD INDEX>";
  if (v.number == 0) return "Not Specified";
  std::string text = v.text;
  for (char& c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || u == 127) c = '.';
  }
  return text;
}

bool AllOf(const std::string& uuid, char digit) {
  for (char c : uuid)
    if (c != '-' && c != digit) return false;
  return true;
}

std::string Named(const FieldValue& v) {
  if (v.name) return v.name;
  char text[40];
  snprintf(text, sizeof text, "0x%02" PRIX64 " (undefined)", v.number);
  return text;
}

// The line for one structure; false when the structure has no such value.
bool Line(const DecodedStructure& s, const Keyword& k, std::string* line) {
  const Field* field = FindField(s.fields, k.field);
  if (!field) return false;
  const FieldValue& v = field->value;
  char text[64];
  switch (k.form) {
    case Form::kString: *line = StringText(v); return true;
    case Form::kRevision: {
      const Field* minor = FindField(s.fields, k.second);
      if (!minor || v.number == 0xFF || minor->value.number == 0xFF) return false;
      snprintf(text, sizeof text, "%" PRIu64 ".%" PRIu64, v.number, minor->value.number);
      *line = text;
      return true;
    }
    case Form::kUuid:
      // All ones: no UUID; all zeros: one could be set but is not.
      *line = AllOf(v.text, 'f') ? "Not Present" : AllOf(v.text, '0') ? "Not Settable" : v.text;
      return true;
    case Form::kFrequency:
      if (v.number == 0) {
        *line = "Unknown";
      } else {
        snprintf(text, sizeof text, "%" PRIu64 " MHz", v.number);
        *line = text;
      }
      return true;
    case Form::kName: {
      // Family code FE: the family lies in the second family word.
      const Field* second = FindField(s.fields, "processor_family_2");
      *line = Named(v.number == 0xFE && second ? second->value : v);
      return true;
    }
  }
  return false;
}

}  // namespace

bool KeywordLines(const Model& model, const std::string& keyword, std::vector<std::string>* lines) {
  for (const Keyword& k : kKeywords) {
    if (keyword != k.keyword) continue;
    std::string line;
    for (const DecodedStructure& s : model.structures)
      if (s.type == k.type && Line(s, k, &line)) lines->push_back(line);
    return true;
  }
  return false;
}

std::string KeywordList() {
  std::string out;
  for (const Keyword& k : kKeywords) out += std::string(k.keyword) + "\n";
  return out;
}
