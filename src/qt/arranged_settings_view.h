#pragma once

#include <map>

#include "dialogs/settings_form.h"
#include "qt/form_dialog.h"

class QLabel;
class QLayout;
class QLineEdit;

namespace vs {

// A settings dialog whose edits its subclass arranges: every visible field
// gets an edit bound to the form; the subclass places them and hands over its
// layout, which goes above the status line and the form's buttons.
class ArrangedSettingsView : public FormDialog {
 protected:
  ArrangedSettingsView(SettingsForm& form, QWidget* parent);

  QLineEdit* edit(int id) const { return edits_.at(id); }
  void finishLayout(QLayout* fields);
  void refresh() override;

 private:
  SettingsForm& form_;
  std::map<int, QLineEdit*> edits_;
  QLabel* status_ = nullptr;
};

}  // namespace vs
