#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace vs {

// A text field of at most N characters kept inside its owner, so that setting
// a caption or a legend at every repaint never allocates.
template <std::size_t N>
class FixedText {
 public:
  constexpr FixedText() = default;
  constexpr explicit FixedText(std::string_view text) { assignPrefix(text); }

  // Stores `text` only if it fits; otherwise keeps the old text and says so.
  constexpr bool assign(std::string_view text) {
    if (text.size() > N) return false;
    assignPrefix(text);
    return true;
  }
  // Stores as much of `text` as fits.
  constexpr void assignPrefix(std::string_view text) {
    size_ = std::min(text.size(), N);
    std::copy_n(text.data(), size_, chars_.data());
  }
  constexpr std::string_view view() const { return {chars_.data(), size_}; }

 private:
  std::array<char, N> chars_{};
  std::size_t size_ = 0;
};

}  // namespace vs
