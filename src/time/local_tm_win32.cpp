#include "time/local_tm.h"

namespace vs {

bool localTm(std::time_t time, std::tm& out) { return ::localtime_s(&out, &time) == 0; }

}  // namespace vs
