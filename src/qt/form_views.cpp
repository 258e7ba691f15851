#include "qt/form_views.h"

#include "dialogs/o2_sensor_settings_form.h"
#include "dialogs/pressure_settings_form.h"
#include "qt/calibration_list_view.h"
#include "qt/change_history_view.h"
#include "qt/connection_view.h"
#include "qt/force_inputs_view.h"
#include "qt/form_dialog.h"
#include "qt/free_air_calibration_view.h"
#include "qt/governor_settings_view.h"
#include "qt/line_monitor_view.h"
#include "qt/o2_schedule_view.h"
#include "qt/password_gate_view.h"
#include "qt/playback_view.h"
#include "qt/port_properties_view.h"
#include "qt/port_selection_view.h"
#include "qt/settings_dialog_view.h"
#include "qt/settings_file_views.h"
#include "qt/traveler_report_view.h"
#include "qt/zero_transducer_view.h"

namespace vs {
namespace {

// A view for a form of the type it was written for; null for any other.
template <typename View, typename FormType>
std::unique_ptr<FormDialog> viewFor(Form& form, QWidget* parent) {
  auto* typed = dynamic_cast<FormType*>(&form);
  if (typed == nullptr) return nullptr;
  return std::make_unique<View>(*typed, parent);
}

}  // namespace

std::unique_ptr<FormDialog> makeFormView(Form& form, QWidget* parent) {
  // One line per dialog: `case <template id>: return viewFor<View, FormType>(form, parent);`
  switch (form.templateId()) {
    case 108: return viewFor<PortSelectionView, PortSelectionForm>(form, parent);
    case 109: return viewFor<PlaybackView, PlaybackForm>(form, parent);
    case 110: return viewFor<ConnectionView, ConnectionForm>(form, parent);
    case 111: return viewFor<CalibrationListView, CalibrationListForm>(form, parent);
    case 112: return viewFor<PasswordGateView, PasswordGateForm>(form, parent);
    case 114: return viewFor<GovernorSettingsView, GovernorSettingsForm>(form, parent);
    case 117: return viewFor<TravelerReportView, TravelerReportForm>(form, parent);
    case 119: return viewFor<ForceInputsView, ForceInputsForm>(form, parent);
    case 120: return viewFor<SettingsDialogView, PressureSettingsForm>(form, parent);
    case 121: return viewFor<SettingsDialogView, O2SensorSettingsForm>(form, parent);
    case 122: return viewFor<FreeAirCalibrationView, FreeAirCalibrationForm>(form, parent);
    case 137: return viewFor<ZeroTransducerView, ZeroTransducerForm>(form, parent);
    case 138: return viewFor<O2ScheduleView, O2ScheduleForm>(form, parent);
    case 139: return viewFor<UploadSettingsView, UploadSettingsForm>(form, parent);
    case 140: return viewFor<DownloadSettingsView, DownloadSettingsForm>(form, parent);
    case 141: return viewFor<ChangeHistoryView, ChangeHistoryForm>(form, parent);
    case 40007: return viewFor<PortPropertiesView, PortPropertiesForm>(form, parent);
    case 40047: return viewFor<LineMonitorView, LineMonitorForm>(form, parent);
    default: break;
  }
  return nullptr;
}

}  // namespace vs
