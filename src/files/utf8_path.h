#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vs {

// The forms keep paths as UTF-8 text, as the file choosers give them. A
// std::string made into a path is read in the system's narrow encoding, which
// on Windows is not UTF-8: a folder under a user name like Jörg would become
// another folder. These convert explicitly.
inline std::filesystem::path pathFromUtf8(std::string_view text) {
  return std::u8string(text.begin(), text.end());
}

inline std::string utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

}  // namespace vs
