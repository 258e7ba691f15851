#include "registers/register_values.h"

namespace vs {

std::int32_t RegisterValues::get(std::string_view name) const {
  const auto it = values_.find(name);
  return it == values_.end() ? 0 : it->second;
}

void RegisterValues::setBlock(int firstPosition, const std::int16_t* values, int count) {
  for (int i = 0; i < count && firstPosition + i < kSettingsRegisterCount; ++i) {
    set(RegisterMap[firstPosition + i], values[i]);
  }
}

}  // namespace vs
