#include "dialogs/calibration_list_form.h"

#include "dialogs/typed_numbers.h"
#include "forms/command_frame.h"

namespace vs {

CalibrationListForm::CalibrationListForm(ShellContext& ctx, const SettingsImage& values,
                                         const BlockTransfer& read)
    : Form(kTemplateId, ctx.line), ctx_(ctx), values_(values), read_(read) {}

void CalibrationListForm::onInit() {
  RegisterValues& registers = ctx_.memory.registerValues;
  registers.setBlock(0, values_.data(), kSettingsRegisterCount);
  rows_.clear();
  for (int i = 0; i < kSettingsRegisterCount; ++i) {
    const std::string name(RegisterMap[static_cast<std::size_t>(i)]);
    rows_.push_back({name, std::to_string(registers.get(name))});
  }
  if (read_.result != 0) {
    const SettingsBlock& block = *read_.failedBlock;
    readNote_ = "Registers " + std::to_string(block.firstRegister) + " to " +
                std::to_string(block.firstRegister + block.count - 1) +
                " could not be read and show 0.";
  }
  status_ = readNote_;
}

void CalibrationListForm::selectRow(int row) {
  if (row < 0 || row >= kSettingsRegisterCount) return;
  ctx_.memory.calibrationListRow = row;
  valueText_ =
      std::to_string(ctx_.memory.registerValues.get(rows_[static_cast<std::size_t>(row)].name));
  modified_ = false;
}

void CalibrationListForm::editValue(std::string text) {
  valueText_ = std::move(text);
  modified_ = true;
}

void CalibrationListForm::change() {
  if (!modified_) return;
  const int row = selectedRow();
  Row& shown = rows_[static_cast<std::size_t>(row)];
  const TypedNumber typed = readRegisterValue(valueText_);
  if (!typed.ok()) {
    status_ =
        shown.name +
        (typed.fault == TypedNumber::Fault::NotANumber ? " must be a whole number."
                                                       : " must lie between -32768 and 65535.") +
        " Nothing was written.";
    return;
  }
  const int reg = registerOfPosition(row);
  status_ = kWritingStatus;
  if (writeRegister(ctx_, reg, typed.value) != 0) {
    status_ = "Writing " + shown.name + " failed. It keeps the value " + shown.value + ".";
    return;
  }
  // The list shows what the controller now holds, as it reads back.
  ctx_.memory.registerValues.set(shown.name, typed.value);
  shown.value = std::to_string(typed.value);
  modified_ = false;
  status_ = readNote_;
  // The controller answers at its new address from this write on.
  if (reg == REG_MODBUS_ADDRESS) ctx_.link.slaveAddress = typed.value;
}

void CalibrationListForm::saveAndClose() {
  status_ = kWritingStatus;
  end(saveSettings(ctx_) == 0 ? 1 : 2);
}

}  // namespace vs
