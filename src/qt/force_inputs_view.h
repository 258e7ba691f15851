#pragma once

#include <array>

#include "dialogs/force_inputs_form.h"
#include "qt/form_dialog.h"

class QLineEdit;

namespace vs {

// "Force Digital Inputs": six rows of signal name, force state and the value
// to set, with Change Status, Release All and Close.
class ForceInputsView : public FormDialog {
 public:
  ForceInputsView(ForceInputsForm& form, QWidget* parent);

 protected:
  void refresh() override;

 private:
  ForceInputsForm& form_;
  std::array<QLineEdit*, ForceInputsForm::kRowCount> states_{};
  std::array<QLineEdit*, ForceInputsForm::kRowCount> values_{};
};

}  // namespace vs
