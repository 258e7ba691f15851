#pragma once

#include "dialogs/calibration_list_form.h"
#include "qt/form_dialog.h"

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace vs {

// "Calibration Settings": the register list, the value edit, Change, Save &
// Close and Close, and a status line for refused or failed changes.
class CalibrationListView : public FormDialog {
 public:
  CalibrationListView(CalibrationListForm& form, QWidget* parent);

 protected:
  void refresh() override;

 private:
  CalibrationListForm& form_;
  QTreeWidget* list_;
  QLineEdit* edit_;
  QLabel* status_;
};

}  // namespace vs
