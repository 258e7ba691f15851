#include "dialogs/force_inputs_form.h"

#include <algorithm>

#include "dialogs/typed_numbers.h"
#include "forms/command_frame.h"

namespace vs {
namespace {

// Rows in the order the controller processes its force registers: 141, 142,
// 143, 177, 180, 182.
constexpr std::array<std::size_t, ForceInputsForm::kRowCount> kProcessingOrder = {0, 1, 3, 4, 5, 2};

std::size_t rowOf(int reg) {
  const auto& rows = ForceInputsForm::kRows;
  return static_cast<std::size_t>(
      std::find_if(rows.begin(), rows.end(), [reg](const auto& row) { return row.reg == reg; }) -
      rows.begin());
}

}  // namespace

std::string_view ForceInputsForm::stateWord(std::int16_t value) {
  switch (value) {
    case -1: return "OFF";
    case 0: return "NORM";
    case 1: return "ON";
    default: return "UNDEF";
  }
}

std::optional<std::int16_t> ForceInputsForm::readForceValue(std::string_view text) {
  const TypedNumber value = readInteger(text, -1, 1);
  if (!value.ok()) return std::nullopt;
  return value.value;
}

void ForceInputsForm::onInit() {
  // Three reads cover the six registers; a failed one leaves zeros, shown as
  // normal operation.
  std::int16_t first[6];
  std::int16_t heater[3];
  std::int16_t late[3];
  readRegisters(ctx_, 141, first, 6);
  readRegisters(ctx_, 177, heater, 3);
  readRegisters(ctx_, 180, late, 3);
  const std::pair<int, std::int16_t> read[] = {{141, first[0]},  {142, first[1]}, {143, first[2]},
                                               {177, heater[0]}, {180, late[0]},  {182, late[2]}};
  for (const auto& [reg, value] : read) {
    const std::size_t row = rowOf(reg);
    states_[row] = stateWord(value);
    values_[row] = std::to_string(value);
  }
}

void ForceInputsForm::changeStatus() {
  Values values{};
  for (std::size_t row = 0; row < kRowCount; ++row) {
    const auto value = readForceValue(values_[row]);
    if (!value) {
      // A typo must not force a signal into a state the controller does not
      // define: the row is named and nothing at all is written.
      host().messageBox(std::string(kRows[row].label) +
                            ": a force value is -1 (OFF), 0 (NORM) or 1 (ON). Nothing was written.",
                        "Notice", Icon::Exclamation, Buttons::Ok);
      return;
    }
    values[row] = *value;
  }
  if (writeAll(values)) end(1);
}

void ForceInputsForm::releaseAll() {
  if (writeAll(Values{})) end(2);
}

bool ForceInputsForm::writeAll(const Values& values) {
  int failures = 0;
  for (const std::size_t row : kProcessingOrder) {
    failures += writeRegister(ctx_, kRows[row].reg, values[row]) != 0;
  }
  failures += saveSettings(ctx_) != 0;
  if (failures == 0) return true;
  ctx_.desktop.messageBox(kWriteFailed, "Error", Icon::None, Buttons::Ok, false);
  return false;
}

}  // namespace vs
