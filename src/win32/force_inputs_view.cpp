// "Force Digital Inputs": the six rows' states and values, Change Status and
// Release All.

#include "dialogs/force_inputs_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"

namespace vs {
namespace {

using Rows = ForceInputsForm;
static_assert(IDD_FORCE_INPUTS == Rows::kTemplateId);
static_assert(IDOK == Rows::CHANGE_STATUS && IDCANCEL == Rows::CLOSE);
static_assert(IDC_FORCE_RELEASE_ALL == Rows::RELEASE_ALL);
static_assert(IDC_FORCE_IGNITION_STATE == Rows::kRows[0].stateId);
static_assert(IDC_FORCE_IGNITION_VALUE == Rows::kRows[0].valueId);
static_assert(IDC_FORCE_ACTUATOR_POWER_STATE == Rows::kRows[1].stateId);
static_assert(IDC_FORCE_ACTUATOR_POWER_VALUE == Rows::kRows[1].valueId);
static_assert(IDC_FORCE_ACTUATOR_STATE == Rows::kRows[2].stateId);
static_assert(IDC_FORCE_ACTUATOR_VALUE == Rows::kRows[2].valueId);
static_assert(IDC_FORCE_SENSOR_IGNORE_STATE == Rows::kRows[3].stateId);
static_assert(IDC_FORCE_SENSOR_IGNORE_VALUE == Rows::kRows[3].valueId);
static_assert(IDC_FORCE_HEATER_STATE == Rows::kRows[4].stateId);
static_assert(IDC_FORCE_HEATER_VALUE == Rows::kRows[4].valueId);
static_assert(IDC_FORCE_SENSOR_STATE == Rows::kRows[5].stateId);
static_assert(IDC_FORCE_SENSOR_VALUE == Rows::kRows[5].valueId);

class ForceInputsView : public FormDialog {
 public:
  explicit ForceInputsView(ForceInputsForm& form) : FormDialog(form), form_(form) {}

 protected:
  void refresh() override {
    for (std::size_t row = 0; row < Rows::kRowCount; ++row) {
      showText(Rows::kRows[row].stateId, form_.stateText(row));
      showText(Rows::kRows[row].valueId, form_.valueText(row));
    }
  }
  bool command(int id, int code) override {
    if (id == IDOK && code == BN_CLICKED) {
      act([this] { form_.changeStatus(); });
      return true;
    }
    if (id == IDC_FORCE_RELEASE_ALL && code == BN_CLICKED) {
      act([this] { form_.releaseAll(); });
      return true;
    }
    for (std::size_t row = 0; row < Rows::kRowCount; ++row) {
      if (id != Rows::kRows[row].valueId) continue;
      if (code == EN_CHANGE) form_.setValueText(row, text(id));
      if (code == EN_SETFOCUS) selectWholeText(id);
      return true;
    }
    return false;
  }

 private:
  ForceInputsForm& form_;
};

}  // namespace

VS_FORM_VIEW(119, ForceInputsView, ForceInputsForm);

}  // namespace vs
