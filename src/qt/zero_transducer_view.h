#pragma once

#include "qt/form_dialog.h"
#include "dialogs/zero_transducer_form.h"

namespace vs {

// "ATTENTION!": the zeroing instructions and the ZERO Transducer button.
class ZeroTransducerView : public FormDialog {
 public:
  ZeroTransducerView(ZeroTransducerForm& form, QWidget* parent);

 protected:
  void refresh() override {}
};

}  // namespace vs
