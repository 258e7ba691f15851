#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "registers/register_map.h"

namespace vs {

// The current values of the settings registers by name, as the calibration
// list and the traveler report last read them.
class RegisterValues {
 public:
  std::int32_t get(std::string_view name) const;  // 0 for a name never set
  void set(std::string_view name, std::int32_t value) { values_[std::string(name)] = value; }
  bool contains(std::string_view name) const { return values_.count(std::string(name)) != 0; }

  // Fills the entries of map positions [firstPosition, firstPosition + count)
  // from a block of register values.
  void setBlock(int firstPosition, const std::int16_t* values, int count);

 private:
  std::map<std::string, std::int32_t, std::less<>> values_;
};

}  // namespace vs
