#include "widgets/number_text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <ctime>

#include "widgets/interpolate.h"

namespace vs {
namespace {

bool toLocalTime(std::time_t time, std::tm& out) {
#ifdef _WIN32
  return localtime_s(&out, &time) == 0;
#else
  return localtime_r(&time, &out) != nullptr;
#endif
}

}  // namespace

std::string_view printTo(TextBuffer& buffer, const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  const int written = std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
  va_end(arguments);
  if (written < 0) return {};
  return {buffer.data(), std::min(static_cast<std::size_t>(written), buffer.size() - 1)};
}

std::string_view formatNumber(TextBuffer& buffer, double value, int decimals) {
  if (decimals >= 1 && decimals <= 3) return printTo(buffer, "%.*f", decimals, value);
  return printTo(buffer, "%d", truncToInt(value));
}

std::string_view formatLocalTime(TextBuffer& buffer, std::int32_t seconds, const char* format) {
  std::tm local{};
  if (!toLocalTime(static_cast<std::time_t>(seconds), local)) return {};
  return {buffer.data(), std::strftime(buffer.data(), buffer.size(), format, &local)};
}

}  // namespace vs
