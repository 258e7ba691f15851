// "Select Communication Port": the number after "COM", the Device ID, and a
// list of the serial devices present to pick from instead. A number typed
// and a device picked exclude each other: what the user did last counts.

#include "dialogs/port_selection_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"
#include "win32/wide_text.h"

namespace vs {
namespace {

static_assert(IDD_PORT_SELECTION == PortSelectionForm::kTemplateId);
static_assert(IDC_PORT_NUMBER == PortSelectionForm::PORT_EDIT);
static_assert(IDC_PORT_DEVICE_ID == PortSelectionForm::DEVICE_ID_EDIT);

class PortSelectionView : public FormDialog {
 public:
  explicit PortSelectionView(PortSelectionForm& form) : FormDialog(form), form_(form) {}

 protected:
  void setUp() override {
    HWND devices = control(IDC_PORT_DEVICE);
    const auto add = [devices](const std::string& text) {
      SendMessageW(devices, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(text).c_str()));
    };
    if (form_.devices.empty()) {
      add("(no serial device found)");
      EnableWindow(devices, FALSE);
    } else {
      add("(use the COM number)");
      for (const auto& device : form_.devices) add(device);
    }
    SendMessageW(devices, CB_SETCURSEL, 0, 0);
  }
  void refresh() override {
    showText(IDC_PORT_NUMBER, form_.portNumber);
    showText(IDC_PORT_DEVICE_ID, form_.deviceId);
  }
  bool command(int id, int code) override {
    if (id == IDC_PORT_NUMBER && code == EN_CHANGE) {
      form_.portNumber = text(IDC_PORT_NUMBER);
      form_.device.clear();
      SendMessageW(control(IDC_PORT_DEVICE), CB_SETCURSEL, 0, 0);
    } else if (id == IDC_PORT_DEVICE_ID && code == EN_CHANGE) {
      form_.deviceId = text(IDC_PORT_DEVICE_ID);
    } else if (id == IDC_PORT_DEVICE && code == CBN_SELCHANGE) {
      const auto index =
          static_cast<std::size_t>(SendMessageW(control(IDC_PORT_DEVICE), CB_GETCURSEL, 0, 0));
      form_.device = index > 0 && index <= form_.devices.size() ? form_.devices[index - 1] : "";
      if (!form_.device.empty()) {
        form_.portNumber.clear();
        showText(IDC_PORT_NUMBER, "");
      }
    } else if (id == IDOK) {
      act([this] { form_.ok(); });
    } else {
      return false;
    }
    return true;
  }

 private:
  PortSelectionForm& form_;
};

}  // namespace

VS_FORM_VIEW(108, PortSelectionView, PortSelectionForm);

}  // namespace vs
