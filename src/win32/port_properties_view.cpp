// "Comm Port Properties": the line settings of the selected port, read-only.

#include <string>

#include "dialogs/port_properties_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"

namespace vs {
namespace {

static_assert(IDD_PORT_PROPERTIES == PortPropertiesForm::kTemplateId);

class PortPropertiesView : public FormDialog {
 public:
  explicit PortPropertiesView(PortPropertiesForm& form) : FormDialog(form), form_(form) {}

 protected:
  void setUp() override {
    showText(IDC_PROPERTIES_PORT, form_.portName);
    showText(IDC_PROPERTIES_BAUD, std::to_string(PortPropertiesForm::kBaudRate));
    showText(IDC_PROPERTIES_DATA_BITS, std::to_string(PortPropertiesForm::kDataBits));
    showText(IDC_PROPERTIES_PARITY, PortPropertiesForm::kParity);
    showText(IDC_PROPERTIES_STOP_BITS, std::to_string(PortPropertiesForm::kStopBits));
    showText(IDC_PROPERTIES_FLOW_CONTROL, PortPropertiesForm::kFlowControl);
  }
  bool command(int id, int) override {
    if (id != IDOK) return false;
    act([this] { form_.ok(); });
    return true;
  }

 private:
  PortPropertiesForm& form_;
};

}  // namespace

VS_FORM_VIEW(40007, PortPropertiesView, PortPropertiesForm);

}  // namespace vs
