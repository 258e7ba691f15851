#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace vs {

// The texts a dialog filled its edits with at opening and the register values
// behind them. An edit the technician has not touched writes back the value
// it was filled from: a display that rounds (pressures with two decimals) or
// one a digits-only edit cannot read back (a negative value) must not change
// a register nobody meant to change.
class ShownValues {
 public:
  void remember(int id, std::string text, std::int16_t value) {
    shown_[id] = {std::move(text), value};
  }
  bool untouched(int id, const std::string& text) const {
    const auto it = shown_.find(id);
    return it != shown_.end() && it->second.text == text;
  }
  // The value read at opening while the edit still shows it, else the one typed.
  std::int16_t resolve(int id, const std::string& text, std::int16_t typed) const {
    return untouched(id, text) ? shown_.at(id).value : typed;
  }

 private:
  struct Shown {
    std::string text;
    std::int16_t value = 0;
  };
  std::map<int, Shown> shown_;
};

}  // namespace vs
