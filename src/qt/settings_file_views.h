#pragma once

#include "dialogs/download_settings_form.h"
#include "dialogs/upload_settings_form.h"
#include "qt/form_dialog.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vs {

// "Upload Settings": the chosen file, the status line, Create File, Upload
// Settings and Close.
class UploadSettingsView : public FormDialog {
 public:
  UploadSettingsView(UploadSettingsForm& form, QWidget* parent);

 protected:
  void refresh() override;

 private:
  UploadSettingsForm& form_;
  QLineEdit* path_;
  QLabel* status_;
};

// "Download Settings": the chosen file, the status line, the progress bar,
// Select File, Download and Close, and Download Without Backup once a backup
// has failed.
class DownloadSettingsView : public FormDialog {
 public:
  DownloadSettingsView(DownloadSettingsForm& form, QWidget* parent);

 protected:
  void refresh() override;

 private:
  DownloadSettingsForm& form_;
  QLineEdit* path_;
  QLabel* status_;
  QProgressBar* progress_;
  QPushButton* withoutBackup_;
};

}  // namespace vs
