#pragma once

#include "dialogs/connection_form.h"
#include "qt/form_dialog.h"

class QProgressBar;

namespace vs {

// "Establishing communication": the text, a bar that keeps moving while the
// main window reaches the controller, and Cancel. Enter ends it as OK, as the
// dialog's default command.
class ConnectionView : public FormDialog {
 public:
  ConnectionView(ConnectionForm& form, QWidget* parent);

 protected:
  void refresh() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  ConnectionForm& form_;
  QProgressBar* bar_;
};

}  // namespace vs
