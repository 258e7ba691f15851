#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "forms/form.h"
#include "forms/shell_context.h"

namespace vs {

// "Force Digital Inputs" (template 119): six of the controller's digital
// signals, each forced off (-1), left to normal operation (0) or forced on
// (1). Change Status writes what is typed, Release All puts all six back to
// normal; both store the settings and close the dialog.
class ForceInputsForm : public Form {
 public:
  static constexpr int kTemplateId = 119;
  static constexpr int CHANGE_STATUS = 1;
  static constexpr int RELEASE_ALL = 1057;
  static constexpr int CLOSE = 2;
  static constexpr const char* kWriteFailed = "Failed to change status. Please retry.";

  struct Row {
    std::string_view label;
    int reg;
    int stateId;  // read-only edit: "OFF", "NORM", "ON"
    int valueId;  // edit where -1, 0 or 1 is typed
  };
  static constexpr std::size_t kRowCount = 6;
  // Top to bottom as the dialog places them.
  static constexpr std::array<Row, kRowCount> kRows = {{
      {"Ignition Confirm", 141, 1056, 1059},
      {"Actuator Power", 142, 1054, 1060},
      {"Force Actuator", 182, 1066, 1065},
      {"O2 Sensor Ignore", 143, 1055, 1061},
      {"O2 Sensor Heater", 177, 1058, 1062},
      {"Force O2 Sensor", 180, 1063, 1064},
  }};

  explicit ForceInputsForm(ShellContext& ctx) : Form(kTemplateId, ctx.line), ctx_(ctx) {}

  // The word a state field shows for a force value; "UNDEF" for a value the
  // controller does not define.
  static std::string_view stateWord(std::int16_t value);
  // A value field as typed: -1, 0 or 1 between optional blanks, an empty
  // field reading as 0; anything else, "1x" or "0,5" included, gives nothing.
  static std::optional<std::int16_t> readForceValue(std::string_view text);

  const std::string& stateText(std::size_t row) const { return states_[row]; }
  const std::string& valueText(std::size_t row) const { return values_[row]; }
  void setValueText(std::size_t row, std::string text) { values_[row] = std::move(text); }

  void onInit() override;
  void changeStatus();
  void releaseAll();
  void close() { end(2); }
  void onClose() override { close(); }

 private:
  using Values = std::array<std::int16_t, kRowCount>;  // in row order
  // The six values in the controller's processing order, then the save
  // command; true when all seven writes were answered. Every write is made.
  bool writeAll(const Values& values);

  ShellContext& ctx_;
  std::array<std::string, kRowCount> states_;
  std::array<std::string, kRowCount> values_;
};

}  // namespace vs
