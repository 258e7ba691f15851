#pragma once

#include <map>

#include "qt/form_dialog.h"
#include "qt/qt_page_printer.h"
#include "report/traveler_report_form.h"

class QComboBox;
class QLineEdit;
class QTextEdit;

namespace vs {

// "Traveler Report": the product name, the valve serial number as read, the
// typed identity fields and the comment, with Print, Save as PDF… and Cancel.
class TravelerReportView : public FormDialog {
 public:
  TravelerReportView(TravelerReportForm& form, QWidget* parent);

 protected:
  void refresh() override;

 private:
  // Hands the comment to the form as the edit shows it, line by line.
  void takeComment();

  TravelerReportForm& form_;
  QtPagePrinter printer_;
  QComboBox* reportFor_;
  std::map<int, QLineEdit*> edits_;
  QTextEdit* comment_;
};

}  // namespace vs
