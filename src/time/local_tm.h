#pragma once

#include <ctime>

namespace vs {

// The thread-safe local-time conversion of the platform; false when the time
// cannot be represented.
bool localTm(std::time_t time, std::tm& out);

}  // namespace vs
