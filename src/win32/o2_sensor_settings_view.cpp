// O2 sensor settings: the settings dialogs' view on template 121.

#include "dialogs/o2_sensor_settings_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"
#include "win32/settings_dialog_view.h"

namespace vs {

static_assert(IDD_O2_SENSOR_SETTINGS == O2SensorSettingsForm::kTemplateId);
static_assert(IDC_O2_SET_POINT == O2SensorSettingsForm::SET_POINT);
static_assert(IDC_O2_INTEGRAL_GAIN == O2SensorSettingsForm::INTEGRAL_GAIN);
static_assert(IDC_O2_WARM_UP_TIMER == O2SensorSettingsForm::WARM_UP_TIMER);
static_assert(IDC_O2_CALIBRATION_TIMER == O2SensorSettingsForm::CALIBRATION_TIMER);

VS_FORM_VIEW(121, SettingsDialogView, O2SensorSettingsForm);

}  // namespace vs
