#pragma once

#include <string_view>

namespace vs {

// The chart label of the controller's mode (live value 5).
std::string_view modeLabel(int mode);

// The status bar's communication text for ValveLink::commStatus.
std::string_view commStatusText(int commStatus);

}  // namespace vs
