#pragma once

#include "app/form_dialog.h"
#include "dialogs/password_gate_form.h"

class QLineEdit;

namespace vs {

// "Required Information": a masked, digits-only password edit with OK and Cancel.
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
