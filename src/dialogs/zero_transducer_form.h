#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "forms/form.h"
#include "forms/shell_context.h"

namespace vs {

// "ATTENTION!" (template 137): tells the technician how to zero the pressure
// transducer and sets the controller's zeroing register, which the controller
// acts on at its next power-up.
class ZeroTransducerForm : public Form {
 public:
  static constexpr int kTemplateId = 137;
  static constexpr int ZERO_BUTTON = 1;
  static constexpr int CLOSE_BUTTON = 2;
  // The instruction texts, controls 1070 to 1075.
  static constexpr std::array<std::string_view, 6> kTexts = {
      "ATTENTION !",
      "YOU MUST ENSURE THE ENGINE IS SHUT DOWN!",
      "Please complete the following steps to zero pressure transducer:",
      "1. Press Zero Transducer button.",
      "2. Cycle power to QX4 (turn power OFF, wait 5 sec., then ON).",
      "3. Close the dialog box and press F12 to reinitiate communications with QX4.",
  };
  static constexpr int kFirstTextId = 1070;

  // zeroingBefore: register 153 as the main window read it before opening.
  ZeroTransducerForm(ShellContext& ctx, std::int16_t zeroingBefore)
      : Form(kTemplateId, ctx.line), ctx_(ctx), zeroingBefore_(zeroingBefore) {}

  void zero();
  void close() { end(2); }

 private:
  ShellContext& ctx_;
  std::int16_t zeroingBefore_;
};

}  // namespace vs
