#pragma once

#include "dialogs/zero_transducer_form.h"
#include "qt/form_dialog.h"

namespace vs {

// "ATTENTION!": the zeroing instructions and the ZERO Transducer button.
class ZeroTransducerView : public FormDialog {
 public:
  ZeroTransducerView(ZeroTransducerForm& form, QWidget* parent);

 protected:
  void refresh() override {}
};

}  // namespace vs
