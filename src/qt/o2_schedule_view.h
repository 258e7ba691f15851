#pragma once

#include "dialogs/o2_schedule_form.h"
#include "qt/arranged_settings_view.h"

namespace vs {

// "Dynamic O2 Sensor Set Point Schedule": the five points in rows, pressure
// and O2 set point side by side, the status line and Change, Enable/Disable
// and Close.
class O2ScheduleView : public ArrangedSettingsView {
 public:
  O2ScheduleView(O2ScheduleForm& form, QWidget* parent);
};

}  // namespace vs
