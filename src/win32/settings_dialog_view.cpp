#include "win32/settings_dialog_view.h"

#include <algorithm>

#include "dialogs/pressure_settings_form.h"
#include "win32/form_views.h"
#include "win32/wide_text.h"

namespace vs {

static_assert(IDD_PRESSURE_SETTINGS == PressureSettingsForm::kTemplateId);
static_assert(IDC_PRESSURE_DEFAULT == PressureSettingsForm::DEFAULT_PRESSURE);
static_assert(IDC_PRESSURE_MAX == PressureSettingsForm::MAX_PRESSURE);
static_assert(IDC_PRESSURE_MIN == PressureSettingsForm::MIN_PRESSURE);
static_assert(IDC_PRESSURE_PROPORTIONAL_GAIN == PressureSettingsForm::PROPORTIONAL_GAIN);
static_assert(IDC_PRESSURE_INTEGRAL_GAIN == PressureSettingsForm::INTEGRAL_GAIN);
static_assert(IDC_PRESSURE_ALT_START == PressureSettingsForm::ALT_START_PRESSURE);

VS_FORM_VIEW(120, SettingsDialogView, PressureSettingsForm);

void SettingsDialogView::setUp() {
  SetWindowTextW(handle(), toWide(form_.caption()).c_str());
  for (const SettingsField& field : form_.fields()) {
    HWND edit = control(field.id);
    if (field.state == FieldState::Hidden) {
      ShowWindow(edit, SW_HIDE);
    } else {
      EnableWindow(edit, field.state == FieldState::Editable);
    }
  }
}

void SettingsDialogView::refresh() {
  for (const SettingsField& field : form_.fields()) {
    if (field.state != FieldState::Hidden) showText(field.id, form_.text(field.id));
  }
  showText(statusId_, form_.status());
}

bool SettingsDialogView::command(int id, int code) {
  if (isField(id)) {
    if (code == EN_CHANGE) form_.setText(id, text(id));
    if (code == EN_SETFOCUS) selectWholeText(id);
    return true;
  }
  const auto& buttons = form_.buttons();
  const bool isButton = std::any_of(buttons.begin(), buttons.end(),
                                    [id](const FormButton& button) { return button.id == id; });
  if (!isButton || code != BN_CLICKED) return false;
  act([this, id] { form_.press(id); });
  return true;
}

bool SettingsDialogView::isField(int id) const {
  const auto& fields = form_.fields();
  return std::any_of(fields.begin(), fields.end(),
                     [id](const SettingsField& field) { return field.id == id; });
}

}  // namespace vs
