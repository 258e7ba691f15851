#pragma once

#include "dialogs/port_properties_form.h"
#include "qt/form_dialog.h"

namespace vs {

// The line settings of the selected port, read-only.
class PortPropertiesView : public FormDialog {
 public:
  PortPropertiesView(PortPropertiesForm& form, QWidget* parent);

 protected:
  void refresh() override {}
};

}  // namespace vs
