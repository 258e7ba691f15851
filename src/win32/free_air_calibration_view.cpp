// "Oxygen Sensor Free Air Calibration": the heading in bold, the status line
// and the progress bar follow the form's countdown.

// The common controls need Windows' own header first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <optional>

#include "dialogs/free_air_calibration_form.h"
#include "win32/bold_font.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"

namespace vs {
namespace {

static_assert(IDD_FREE_AIR_CALIBRATION == FreeAirCalibrationForm::kTemplateId);
static_assert(IDOK == FreeAirCalibrationForm::FREE_AIR_CAL);
static_assert(IDCANCEL == FreeAirCalibrationForm::CLOSE);

class FreeAirCalibrationView : public FormDialog {
 public:
  explicit FreeAirCalibrationView(FreeAirCalibrationForm& form) : FormDialog(form), form_(form) {}

 protected:
  void setUp() override {
    heading_.emplace(handle(), 1.3);
    heading_->setOn(control(IDC_FREE_AIR_HEADING));
  }
  void refresh() override {
    showText(IDC_FREE_AIR_HEADING, form_.heading());
    showText(IDC_FREE_AIR_STATUS, form_.status());
    HWND bar = control(IDC_FREE_AIR_PROGRESS);
    SendMessageW(bar, PBM_SETRANGE32, 0, form_.progressMaximum());
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(form_.progressPosition()), 0);
    ShowWindow(bar, form_.progressVisible() ? SW_SHOWNA : SW_HIDE);
  }
  bool command(int id, int code) override {
    if (id != IDOK || code != BN_CLICKED) return false;
    act([this] { form_.start(); });
    return true;
  }

 private:
  FreeAirCalibrationForm& form_;
  std::optional<BoldFont> heading_;
};

}  // namespace

VS_FORM_VIEW(122, FreeAirCalibrationView, FreeAirCalibrationForm);

}  // namespace vs
