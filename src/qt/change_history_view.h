#pragma once

#include "dialogs/change_history_form.h"
#include "qt/form_dialog.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace vs {

// "Change History": the serial-number drop-down, the journal's table, the
// status line, Restore this backup… and Close.
class ChangeHistoryView : public FormDialog {
 public:
  ChangeHistoryView(ChangeHistoryForm& form, QWidget* parent);

 protected:
  void refresh() override;

 private:
  void fillTable();

  ChangeHistoryForm& form_;
  QComboBox* serials_;
  QTableWidget* table_;
  QLabel* status_;
  QPushButton* restore_;
  int shownRevision_ = -1;
};

}  // namespace vs
