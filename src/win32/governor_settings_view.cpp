// Governor Settings: the settings dialogs' view on template 114, with its
// own status line, the up-down arrows of Speed Gain (ADC), and Speed Gain
// (IC) greyed where the controller has none.

// The common controls need Windows' own header first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "dialogs/governor_settings_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"
#include "win32/settings_dialog_view.h"

namespace vs {
namespace {

using Governor = GovernorSettingsForm;
static_assert(IDD_GOVERNOR_SETTINGS == Governor::kTemplateId);
static_assert(IDC_GOVERNOR_SPEED_SET_POINT == Governor::SPEED_SET_POINT);
static_assert(IDC_GOVERNOR_PROPORTIONAL_MIN == Governor::PROPORTIONAL_MIN);
static_assert(IDC_GOVERNOR_PROPORTIONAL_MAX == Governor::PROPORTIONAL_MAX);
static_assert(IDC_GOVERNOR_INTEGRAL_MIN == Governor::INTEGRAL_MIN);
static_assert(IDC_GOVERNOR_INTEGRAL_MAX == Governor::INTEGRAL_MAX);
static_assert(IDC_GOVERNOR_DERIVATIVE_MIN == Governor::DERIVATIVE_MIN);
static_assert(IDC_GOVERNOR_DERIVATIVE_MAX == Governor::DERIVATIVE_MAX);
static_assert(IDC_GOVERNOR_IDLE_DELAY == Governor::IDLE_DELAY);
static_assert(IDC_GOVERNOR_OVERSPEED == Governor::OVERSPEED);
static_assert(IDC_GOVERNOR_OFFSET == Governor::GOVERNOR_OFFSET);
static_assert(IDC_GOVERNOR_SPEED_MIN == Governor::SPEED_MIN);
static_assert(IDC_GOVERNOR_SPEED_MAX == Governor::SPEED_MAX);
static_assert(IDC_GOVERNOR_CRANK_SPEED == Governor::CRANK_SPEED);
static_assert(IDC_GOVERNOR_RAMP_RATE == Governor::RAMP_RATE);
static_assert(IDC_GOVERNOR_IDLE_SPEED == Governor::IDLE_SPEED);
static_assert(IDC_GOVERNOR_SPEED_GAIN_ADC == Governor::SPEED_GAIN_ADC);
static_assert(IDC_GOVERNOR_SPEED_GAIN_IC == Governor::SPEED_GAIN_IC);

class GovernorSettingsView : public SettingsDialogView {
 public:
  explicit GovernorSettingsView(Governor& form)
      : SettingsDialogView(form, IDC_GOVERNOR_STATUS), form_(form) {}

 protected:
  void setUp() override {
    SettingsDialogView::setUp();
    SendMessageW(control(IDC_GOVERNOR_SPEED_GAIN_ARROWS), UDM_SETRANGE32,
                 Governor::kSpeedGainLowest, Governor::kSpeedGainHighest);
    if (!form_.hasIcSpeedGain()) EnableWindow(control(IDC_GOVERNOR_SPEED_GAIN_IC), FALSE);
  }

  // An arrow, clicked or keyed, steps the value the edit holds; the control's
  // own position is refused, so that what is typed and what is stepped never
  // part.
  bool otherMessage(UINT message, WPARAM, LPARAM lParam) override {
    if (message != WM_NOTIFY) return false;
    const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
    if (change->hdr.idFrom != IDC_GOVERNOR_SPEED_GAIN_ARROWS || change->hdr.code != UDN_DELTAPOS) {
      return false;
    }
    const int steps = change->iDelta;
    act([this, steps] { form_.stepSpeedGain(steps); });
    SetWindowLongPtrW(handle(), DWLP_MSGRESULT, TRUE);
    return true;
  }

 private:
  Governor& form_;
};

}  // namespace

VS_FORM_VIEW(114, GovernorSettingsView, GovernorSettingsForm);

}  // namespace vs
