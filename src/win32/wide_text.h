#pragma once

#include <string>
#include <string_view>

namespace vs {

// The core's texts are UTF-8; Windows' wide functions take UTF-16.
std::wstring toWide(std::string_view text);
std::string toUtf8(std::wstring_view text);

}  // namespace vs
