#pragma once

#include <map>

#include "dialogs/settings_form.h"
#include "qt/form_dialog.h"

class QLabel;
class QLineEdit;

namespace vs {

// The Qt view of a settings dialog: one row per visible field (label, edit,
// range hint), the status line, and the form's buttons with the default one
// answering Enter. Escape and the close box act as Close.
class SettingsDialogView : public FormDialog {
 public:
  SettingsDialogView(SettingsForm& form, QWidget* parent);

 protected:
  void refresh() override;

 private:
  SettingsForm& form_;
  std::map<int, QLineEdit*> edits_;
  QLabel* status_;
};

}  // namespace vs
