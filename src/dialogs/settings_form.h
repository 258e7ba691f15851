#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/shell_context.h"

namespace vs {

// How an edit of a settings dialog is read and shown.
enum class FieldKind {
  Thousandths,  // a decimal number shown and read in units of 1000 register counts
  Unsigned,     // a whole number: the register's 16-bit pattern as an unsigned number
  Signed,       // read as Unsigned, but shown as the register's signed value
};

enum class FieldState {
  Editable,
  Disabled,  // shown greyed; neither read nor written by Change
  Hidden,    // not shown; carried through and written back by Change
};

struct SettingsField {
  int id = 0;         // control id of the edit
  std::string label;  // "Default Pressure"; also names the field in refusals
  std::string hint;   // "Range :  0 - 24 in. W.C." (shown, never enforced)
  FieldKind kind = FieldKind::Unsigned;
  FieldState state = FieldState::Editable;
  int decimals = 3;  // Thousandths fields
  std::string text;
  // What the field was filled with at opening and the register value behind
  // it. A field left as shown writes back that value: a display that rounds
  // (pressures with two decimals) or one a whole-number field cannot read
  // back (a negative value) must not change a register nobody meant to change.
  std::string shownText;
  std::int16_t shownValue = 0;
};

struct FormButton {
  int id = 0;
  std::string text;  // template text: "Save && Close" shows as Save & Close
  bool isDefault = false;
};

// The pattern the settings dialogs share: edits filled from registers at
// opening; "Change" reads every edit, refuses the whole Change, naming the
// field, when one is not a number of its kind or does not fit its register,
// else writes and reports in the status line;
// "Save && Close" stores the settings in the controller; "Close" ends without
// storing. Both ends restart the main window's polling. A dialog supplies its
// fields, its writes and, where it differs, its buttons.
class SettingsForm : public Form {
 public:
  using Values = std::map<int, std::int16_t>;  // control id -> 16-bit pattern to write

  static constexpr const char* kUpdated = "Valve settings are successfully updated!";
  static constexpr const char* kUpdateFailed = "Failed to update the settings.";
  static constexpr const char* kSaveFailed = "Failed to save new settings.";

  const std::string& caption() const { return caption_; }
  const std::vector<SettingsField>& fields() const { return fields_; }
  const std::vector<FormButton>& buttons() const { return buttons_; }
  const std::string& status() const { return status_; }

  // What the user typed into an edit.
  void setText(int id, std::string text);
  const std::string& text(int id) const;

  // A button of the dialog, by control id.
  virtual void press(int id);
  void change();
  virtual void saveAndClose();
  void close();
  void onClose() override { close(); }

 protected:
  SettingsForm(int templateId, ShellContext& ctx, std::string caption);

  void addField(int id, std::string label, std::string hint, FieldKind kind, std::int16_t value,
                FieldState state = FieldState::Editable, int decimals = 3);
  void setButtons(std::vector<FormButton> buttons) { buttons_ = std::move(buttons); }
  void setStatus(std::string text) { status_ = std::move(text); }
  // Writes the values read from every field that is not disabled, in the
  // dialog's order; false when any write failed. Every write is attempted.
  virtual bool writeChanges(const Values& values) = 0;
  // Ends with result 2 and restarts the main window's polling.
  void finish();

  ShellContext& ctx_;

 private:
  SettingsField& field(int id);
  const SettingsField& field(int id) const;

  std::string caption_;
  std::vector<SettingsField> fields_;
  std::vector<FormButton> buttons_;
  std::string status_;
};

}  // namespace vs
