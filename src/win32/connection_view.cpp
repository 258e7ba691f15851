// "Establishing communication": the bar moves on with the form's ticks;
// Enter ends the dialog as OK, its default command.

// The common controls need Windows' own header first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "dialogs/connection_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"

namespace vs {
namespace {

static_assert(IDD_CONNECTION == ConnectionForm::kTemplateId);

class ConnectionView : public FormDialog {
 public:
  explicit ConnectionView(ConnectionForm& form) : FormDialog(form), form_(form) {}

 protected:
  void setUp() override {
    SendMessageW(control(IDC_CONNECTION_PROGRESS), PBM_SETRANGE32, 0,
                 ConnectionForm::kProgressMaximum);
  }
  void refresh() override {
    SendMessageW(control(IDC_CONNECTION_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(form_.progress),
                 0);
  }
  bool command(int id, int) override {
    if (id != IDOK) return false;
    act([this] { form_.ok(); });
    return true;
  }

 private:
  ConnectionForm& form_;
};

}  // namespace

VS_FORM_VIEW(110, ConnectionView, ConnectionForm);

}  // namespace vs
