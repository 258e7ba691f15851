#pragma once

#include <string_view>

namespace vs {

// The chart label of the controller's mode (register 43, live value 5).
std::string_view modeLabel(int mode);

}  // namespace vs
