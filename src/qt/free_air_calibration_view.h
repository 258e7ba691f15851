#pragma once

#include "dialogs/free_air_calibration_form.h"
#include "qt/form_dialog.h"

class QLabel;
class QProgressBar;

namespace vs {

// "Oxygen Sensor Free Air Calibration": the heading, the status line, the
// progress bar of a running calibration, and Free Air Cal and Close.
class FreeAirCalibrationView : public FormDialog {
 public:
  FreeAirCalibrationView(FreeAirCalibrationForm& form, QWidget* parent);

 protected:
  void refresh() override;

 private:
  FreeAirCalibrationForm& form_;
  QLabel* heading_;
  QLabel* status_;
  QProgressBar* progress_;
};

}  // namespace vs
