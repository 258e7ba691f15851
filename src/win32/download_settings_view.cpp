// "Download Settings": the settings file chosen with Select File, the status
// line and the progress of a download. Close stays usable while the blocks
// go out and stops them after the one in hand. Download Without Backup shows
// only after a backup has failed, and never as the default: neither Enter
// nor a second Download goes without a backup.

// The common controls need Windows' own header first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "dialogs/download_settings_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"

namespace vs {
namespace {

static_assert(IDD_DOWNLOAD_SETTINGS == DownloadSettingsForm::kTemplateId);

class DownloadSettingsView : public FormDialog {
 public:
  explicit DownloadSettingsView(DownloadSettingsForm& form) : FormDialog(form), form_(form) {}

 protected:
  void setUp() override { SendMessageW(control(IDC_DOWNLOAD_PROGRESS), PBM_SETRANGE32, 0, 100); }
  void refresh() override {
    showText(IDC_SETTINGS_FILE, form_.path());
    showText(IDC_DOWNLOAD_STATUS, form_.status());
    SendMessageW(control(IDC_DOWNLOAD_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(form_.progress()),
                 0);
    ShowWindow(control(IDC_DOWNLOAD_PROGRESS), form_.progressShown() ? SW_SHOWNA : SW_HIDE);
    HWND withoutBackup = control(IDC_DOWNLOAD_WITHOUT_BACKUP);
    if (form_.withoutBackupOffered()) {
      ShowWindow(withoutBackup, SW_SHOWNA);
    } else {
      // Hidden with the focus, it would take the keyboard with it.
      if (GetFocus() == withoutBackup) focus(3);
      ShowWindow(withoutBackup, SW_HIDE);
    }
  }
  bool command(int id, int code) override {
    if (code != BN_CLICKED) return false;
    if (id == IDOK) {
      act([this] { form_.selectFile(); });
    } else if (id == 3) {
      act([this] { form_.download(); });
    } else if (id == IDC_DOWNLOAD_WITHOUT_BACKUP) {
      act([this] { form_.downloadWithoutBackup(); });
    } else {
      return false;
    }
    return true;
  }

 private:
  DownloadSettingsForm& form_;
};

}  // namespace

VS_FORM_VIEW(140, DownloadSettingsView, DownloadSettingsForm);

}  // namespace vs
