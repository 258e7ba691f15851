#include "dialogs/upload_settings_form.h"

#include "dialogs/settings_file_chooser.h"
#include "files/utf8_path.h"
#include "registers/settings_file.h"

namespace vs {

void UploadSettingsForm::createFile() {
  const auto chosen =
      host().chooseFile(settingsFileRequest(FileDialogRequest::Mode::Save, ctx_.dataDirectory));
  if (chosen) path_ = withSettingsExtension(*chosen);
  status_.clear();
}

void UploadSettingsForm::upload() {
  if (path_.empty()) {
    host().messageBox("Please select existing file or create a new one.", "Notice",
                      Icon::Exclamation, Buttons::Ok);
    return;
  }
  status_ =
      writeSettingsFile(pathFromUtf8(path_), ctx_.memory.settingsImage) ? kUploaded : kWriteFailed;
}

}  // namespace vs
