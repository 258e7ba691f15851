// "Upload Settings": the settings file chosen with Create File and the status
// line; Upload Settings writes the settings read at opening into it.

#include "dialogs/upload_settings_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"

namespace vs {
namespace {

static_assert(IDD_UPLOAD_SETTINGS == UploadSettingsForm::kTemplateId);

class UploadSettingsView : public FormDialog {
 public:
  explicit UploadSettingsView(UploadSettingsForm& form) : FormDialog(form), form_(form) {}

 protected:
  void refresh() override {
    showText(IDC_SETTINGS_FILE, form_.path());
    showText(IDC_SETTINGS_STATUS, form_.status());
  }
  bool command(int id, int code) override {
    if (code != BN_CLICKED) return false;
    if (id == IDOK) {
      act([this] { form_.createFile(); });
    } else if (id == 3) {
      act([this] { form_.upload(); });
    } else {
      return false;
    }
    return true;
  }

 private:
  UploadSettingsForm& form_;
};

}  // namespace

VS_FORM_VIEW(139, UploadSettingsView, UploadSettingsForm);

}  // namespace vs
