#include "dmi_id.h"

#include <cstdlib>
#include <vector>

#include "firmware.h"
#include "platform.h"
#include "values.h"

namespace {

enum class IdForm : uint8_t { kString, kRelease, kUuid, kChassisType };

// One file and the model's field it gives (kRelease: "major.minor" into
// the field pair named field and second).
struct IdFile {
  const char* file;
  uint8_t type;
  const char* field;
  IdForm form;
  const char* second;
};

const IdFile kIdFiles[] = {
    {"bios_vendor", 0, "vendor", IdForm::kString, nullptr},
    {"bios_version", 0, "bios_version", IdForm::kString, nullptr},
    {"bios_date", 0, "bios_release_date", IdForm::kString, nullptr},
    {"bios_release", 0, "system_bios_major_release", IdForm::kRelease, "system_bios_minor_release"},
    {"ec_firmware_release", 0, "embedded_controller_firmware_major_release", IdForm::kRelease,
     "embedded_controller_firmware_minor_release"},
    {"sys_vendor", 1, "manufacturer", IdForm::kString, nullptr},
    {"product_name", 1, "product_name", IdForm::kString, nullptr},
    {"product_version", 1, "version", IdForm::kString, nullptr},
    {"product_serial", 1, "serial_number", IdForm::kString, nullptr},
    {"product_uuid", 1, "uuid", IdForm::kUuid, nullptr},
    {"product_sku", 1, "sku_number", IdForm::kString, nullptr},
    {"product_family", 1, "family", IdForm::kString, nullptr},
    {"board_vendor", 2, "manufacturer", IdForm::kString, nullptr},
    {"board_name", 2, "product", IdForm::kString, nullptr},
    {"board_version", 2, "version", IdForm::kString, nullptr},
    {"board_serial", 2, "serial_number", IdForm::kString, nullptr},
    {"board_asset_tag", 2, "asset_tag", IdForm::kString, nullptr},
    {"chassis_vendor", 3, "manufacturer", IdForm::kString, nullptr},
    {"chassis_type", 3, "type", IdForm::kChassisType, nullptr},
    {"chassis_version", 3, "version", IdForm::kString, nullptr},
    {"chassis_serial", 3, "serial_number", IdForm::kString, nullptr},
    {"chassis_asset_tag", 3, "asset_tag_number", IdForm::kString, nullptr},
};

// The kernel writes each value with one newline; files hold a line or two.
bool ReadValue(const std::string& path, std::string* text) {
  if (PlatReadWholeFile(path.c_str(), 4096, text).status != PlatReadStatus::kRead) return false;
  if (!text->empty() && text->back() == '\n') text->pop_back();
  return true;
}

bool ParseByte(const std::string& text, uint64_t* out) {
  char* end = nullptr;
  const unsigned long value = strtoul(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value > 255) return false;
  *out = value;
  return true;
}

void AddField(DecodedStructure* s, const char* name, FieldValue value) {
  Field field;
  field.name = name;
  field.value = std::move(value);
  s->fields.push_back(std::move(field));
}

void AddValue(const IdFile& id, const std::string& text, DecodedStructure* s) {
  FieldValue value;
  switch (id.form) {
    case IdForm::kString:
      value.kind = FieldValue::Kind::kString;
      s->strings.push_back(text);
      value.number = s->strings.size();
      value.text = text;
      AddField(s, id.field, value);
      return;
    case IdForm::kUuid:
      value.kind = FieldValue::Kind::kText;
      value.text = text;
      AddField(s, id.field, value);
      return;
    case IdForm::kChassisType:
      value.kind = FieldValue::Kind::kEnum;
      if (!ParseByte(text, &value.number)) return;
      value.name =
          FindValueName(FindValueSection("DMICHASSISTYPE"), static_cast<uint32_t>(value.number));
      AddField(s, id.field, value);
      return;
    case IdForm::kRelease: {
      const size_t dot = text.find('.');
      FieldValue minor;
      if (dot == std::string::npos || !ParseByte(text.substr(0, dot), &value.number) ||
          !ParseByte(text.substr(dot + 1), &minor.number))
        return;
      AddField(s, id.field, value);
      AddField(s, id.second, minor);
      return;
    }
  }
}

}  // namespace

std::string SysfsRoot() {
  const char* root = getenv("SYSLENS_SYSFS_ROOT");
  return root && *root ? root : "/sys";
}

bool ModelFromDmiId(const std::string& dir, Model* model) {
  std::vector<DecodedStructure> structures(4);
  for (const IdFile& id : kIdFiles) {
    std::string text;
    if (ReadValue(dir + "/" + id.file, &text)) AddValue(id, text, &structures[id.type]);
  }
  model->structures.clear();
  for (uint8_t type = 0; type < structures.size(); ++type) {
    DecodedStructure& s = structures[type];
    if (s.fields.empty()) continue;
    s.type = type;
    s.handle = type;  // the handles are the table's: these stand in for them
    s.name = StructureTypeName(type);
    s.decoded = true;
    model->structures.push_back(std::move(s));
  }
  model->sourceKind = "sysfs-id";
  model->sourcePath = dir;
  model->partial = true;
  return !model->structures.empty();
}
