// "Required Information": the masked password edit with OK and Cancel.

#include "dialogs/password_gate_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"

namespace vs {
namespace {

static_assert(IDD_PASSWORD_GATE == PasswordGateForm::kTemplateId);
static_assert(IDC_PASSWORD == PasswordGateForm::PASSWORD_EDIT);

class PasswordGateView : public FormDialog {
 public:
  explicit PasswordGateView(PasswordGateForm& form) : FormDialog(form), form_(form) {}

 protected:
  void refresh() override {
    showText(IDC_PASSWORD, form_.password());
    // After a wrong password the cleared edit takes the next attempt.
    focus(IDC_PASSWORD);
  }
  bool command(int id, int code) override {
    if (id == IDC_PASSWORD && code == EN_CHANGE) {
      form_.setPassword(text(IDC_PASSWORD));
    } else if (id == IDOK) {
      act([this] { form_.ok(); });
    } else {
      return false;
    }
    return true;
  }

 private:
  PasswordGateForm& form_;
};

}  // namespace

VS_FORM_VIEW(112, PasswordGateView, PasswordGateForm);

}  // namespace vs
