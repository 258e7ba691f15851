#pragma once

#include <array>
#include <cstdint>

#include "registers/register_map.h"

namespace vs {

// The 114 settings values of a transfer, position i holding register 112 + i.
using SettingsImage = std::array<std::int16_t, kSettingsRegisterCount>;

}  // namespace vs
