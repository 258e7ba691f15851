#pragma once

#include "dialogs/governor_settings_form.h"
#include "qt/arranged_settings_view.h"

namespace vs {

// "Governor Settings": one row per setting, top to bottom, Speed Gain (ADC)
// with its up-down arrows, Speed Gain (IC) left empty and disabled where the
// controller has none; the status line and Change, Save && Close, Close.
class GovernorSettingsView : public ArrangedSettingsView {
 public:
  GovernorSettingsView(GovernorSettingsForm& form, QWidget* parent);

 private:
  QWidget* withUpDown(QLineEdit* gain);

  GovernorSettingsForm& form_;
};

}  // namespace vs
