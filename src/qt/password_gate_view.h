#pragma once

#include "dialogs/password_gate_form.h"
#include "qt/form_dialog.h"

class QLineEdit;

namespace vs {

// "Required Information": a masked password edit with OK and Cancel. The edit
// takes every key: behind the mask, a key dropped by a filter would go unseen
// and could turn a mistyped password into an accepted one.
class PasswordGateView : public FormDialog {
 public:
  PasswordGateView(PasswordGateForm& form, QWidget* parent);

 protected:
  void refresh() override;

 private:
  PasswordGateForm& form_;
  QLineEdit* edit_;
};

}  // namespace vs
