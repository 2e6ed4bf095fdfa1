// The field tables of every decoded type group: one line per group file.
// A type without a table is still in the model, as a generic structure.
#include <array>

#include "model.h"

extern const TypeGroup kTypes0To4;
extern const TypeGroup kTypes5To33;
extern const TypeGroup kTypes8To15;
extern const TypeGroup kTypes21To46;

namespace {

const TypeGroup* const kGroups[] = {
    &kTypes0To4,
    &kTypes5To33,
    &kTypes8To15,
    &kTypes21To46,
};

}  // namespace

const TypeTable* FindTypeTable(uint8_t type) {
  static const std::array<const TypeTable*, 256> byType = [] {
    std::array<const TypeTable*, 256> table{};
    for (const TypeGroup* group : kGroups)
      for (size_t i = 0; i < group->count; ++i) table[group->types[i].type] = &group->types[i];
    return table;
  }();
  return byType[type];
}
