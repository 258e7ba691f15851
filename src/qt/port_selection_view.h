#pragma once

#include "dialogs/port_selection_form.h"
#include "qt/form_dialog.h"

class QComboBox;
class QLineEdit;

namespace vs {

// "Select Communication Port": the port number after "COM", the "Device ID",
// and a list of the serial devices present to pick from instead.
class PortSelectionView : public FormDialog {
 public:
  PortSelectionView(PortSelectionForm& form, QWidget* parent);

 protected:
  void refresh() override;

 private:
  PortSelectionForm& form_;
  QLineEdit* port_;
  QLineEdit* deviceId_;
  QComboBox* devices_;
};

}  // namespace vs
