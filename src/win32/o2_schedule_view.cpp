// Dynamic O2 set-point schedule: the settings dialogs' view on template 138.
// The form's buttons (Enable/Disable in place of Save && Close) and its
// link-check timer need nothing of the view's own.

#include "dialogs/o2_schedule_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"
#include "win32/settings_dialog_view.h"

namespace vs {

static_assert(IDD_O2_SCHEDULE == O2ScheduleForm::kTemplateId);
static_assert(IDC_SCHEDULE_ENABLE_DISABLE == O2ScheduleForm::ENABLE_DISABLE);
static_assert(IDC_SCHEDULE_PRESSURE_1 == O2ScheduleForm::pressureEdit(0));
static_assert(IDC_SCHEDULE_PRESSURE_2 == O2ScheduleForm::pressureEdit(1));
static_assert(IDC_SCHEDULE_PRESSURE_3 == O2ScheduleForm::pressureEdit(2));
static_assert(IDC_SCHEDULE_PRESSURE_4 == O2ScheduleForm::pressureEdit(3));
static_assert(IDC_SCHEDULE_PRESSURE_5 == O2ScheduleForm::pressureEdit(4));
static_assert(IDC_SCHEDULE_O2_1 == O2ScheduleForm::o2Edit(0));
static_assert(IDC_SCHEDULE_O2_2 == O2ScheduleForm::o2Edit(1));
static_assert(IDC_SCHEDULE_O2_3 == O2ScheduleForm::o2Edit(2));
static_assert(IDC_SCHEDULE_O2_4 == O2ScheduleForm::o2Edit(3));
static_assert(IDC_SCHEDULE_O2_5 == O2ScheduleForm::o2Edit(4));

VS_FORM_VIEW(138, SettingsDialogView, O2ScheduleForm);

}  // namespace vs
