#pragma once

#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/shell_context.h"
#include "registers/settings_image.h"
#include "registers/settings_transfer.h"

namespace vs {

// "Calibration Settings" (template 111): every settings register with its
// current value; a change is written to the controller at once, and "Save &&
// Close" makes the controller store its settings.
class CalibrationListForm : public Form {
 public:
  static constexpr int kTemplateId = 111;

  struct Row {
    std::string name;
    std::string value;
  };

  // values: the five blocks just read; read: how that read went.
  CalibrationListForm(ShellContext& ctx, const SettingsImage& values, const BlockTransfer& read);

  void onInit() override;

  const std::vector<Row>& rows() const { return rows_; }
  int selectedRow() const { return ctx_.memory.calibrationListRow; }
  const std::string& valueText() const { return valueText_; }
  const std::string& status() const { return status_; }

  // A row chosen in the list: its value goes into the edit, unmodified.
  void selectRow(int row);
  // What the user typed into the value edit.
  void editValue(std::string text);
  void change();
  void saveAndClose();
  void close() { end(1); }
  void onClose() override { close(); }

 private:
  ShellContext& ctx_;
  SettingsImage values_;
  BlockTransfer read_;
  std::vector<Row> rows_;
  std::string valueText_;
  bool modified_ = false;
  std::string readNote_;  // which block failed to read, if one did
  std::string status_;
};

}  // namespace vs
