#pragma once

#include "dialogs/settings_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_dialog.h"

namespace vs {

// The view of every settings dialog: its template holds an edit per field,
// by the field's id, the status line (IDC_SETTINGS_STATUS unless the view is
// told another) and the form's buttons, by their ids. A disabled field's edit
// is greyed, a hidden one's hidden; an edit that gains the focus has its text
// selected whole; a click hands the button's id to the form, but Cancel's
// (Close, id 2), which is the close box. A settings dialog registers it for
// its template in a file of its own:
//   VS_FORM_VIEW(121, SettingsDialogView, O2SensorSettingsForm);
class SettingsDialogView : public FormDialog {
 public:
  explicit SettingsDialogView(SettingsForm& form, int statusId = IDC_SETTINGS_STATUS)
      : FormDialog(form), form_(form), statusId_(statusId) {}

 protected:
  void setUp() override;
  void refresh() override;
  bool command(int id, int code) override;

 private:
  bool isField(int id) const;

  SettingsForm& form_;
  int statusId_;
};

}  // namespace vs
