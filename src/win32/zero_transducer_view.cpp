// "ATTENTION!": the zeroing instructions, and ZERO Transducer.

#include <optional>

#include "dialogs/zero_transducer_form.h"
#include "win32/bold_font.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"

namespace vs {
namespace {

using Zero = ZeroTransducerForm;
static_assert(IDD_ZERO_TRANSDUCER == Zero::kTemplateId);
static_assert(IDOK == Zero::ZERO_BUTTON && IDCANCEL == Zero::CLOSE_BUTTON);
static_assert(IDC_ZERO_HEADING == Zero::kFirstTextId);
static_assert(IDC_ZERO_STEP_3 == Zero::kFirstTextId + static_cast<int>(Zero::kTexts.size()) - 1);

class ZeroTransducerView : public FormDialog {
 public:
  explicit ZeroTransducerView(Zero& form) : FormDialog(form), form_(form) {}

 protected:
  // The heading and the shut-down warning stand out; the steps follow.
  void setUp() override {
    heading_.emplace(handle(), 1.4);
    heading_->setOn(control(IDC_ZERO_HEADING));
    warning_.emplace(handle(), 1.0);
    warning_->setOn(control(IDC_ZERO_WARNING));
  }
  bool command(int id, int code) override {
    if (id != IDOK || code != BN_CLICKED) return false;
    act([this] { form_.zero(); });
    return true;
  }

 private:
  Zero& form_;
  std::optional<BoldFont> heading_;
  std::optional<BoldFont> warning_;
};

}  // namespace

VS_FORM_VIEW(137, ZeroTransducerView, ZeroTransducerForm);

}  // namespace vs
