#include "dialogs/download_settings_form.h"

#include <algorithm>

#include "dialogs/settings_file_chooser.h"
#include "forms/command_frame.h"
#include "registers/settings_file.h"
#include "registers/settings_transfer.h"

namespace vs {
void DownloadSettingsForm::selectFile() {
  status_.clear();
  const auto chosen =
      host().chooseFile(settingsFileRequest(FileDialogRequest::Mode::Open, ctx_.dataDirectory));
  if (!chosen) return;
  path_ = *chosen;
  // Only a whole settings file replaces the image; anything else is refused
  // here and again at Download, so no stale or made-up value is sent.
  const SettingsFileContent content = readSettingsFile(path_);
  if (content.ok) {
    ctx_.memory.settingsImage = content.image;
    fileError_.clear();
  } else {
    fileError_ = content.error + " It cannot be downloaded.";
    status_ = fileError_;
  }
}

void DownloadSettingsForm::download() {
  ticks_ = 0;
  if (path_.empty()) {
    status_ = "Please select a file.";
    return;
  }
  if (!fileError_.empty()) {
    status_ = fileError_;
    return;
  }
  if (ctx_.link.slaveAddress == kBroadcastAddress) {
    status_ = kBroadcastRefused;
    return;
  }
  progressShown_ = true;
  progress_ = 0;
  status_ = kDownloading;
  const bool written =
      writeSettingsBlocks(ctx_.master, ctx_.link.slaveAddress, ctx_.memory.settingsImage).result ==
      0;
  host().startTimer(DOWNLOAD_TIMER, kTimerPeriod);
  if (!written) host().post(COMPLETION_MESSAGE, 1);
}

void DownloadSettingsForm::onTimer(int id) {
  if (id != DOWNLOAD_TIMER) return;
  progress_ = std::min(progress_ + 1, 100);
  if (++ticks_ != kTicksToComplete) return;
  writeRegister(ctx_, REG_DOWNLOAD_DONE, kSaveCommandValue);
  progress_ = 100;
  host().post(COMPLETION_MESSAGE, 0);
}

void DownloadSettingsForm::onMessage(int message, std::intptr_t outcome) {
  if (message != COMPLETION_MESSAGE) return;
  host().killTimer(DOWNLOAD_TIMER);
  if (outcome == 0) {
    status_ = kCompleted;
  } else {
    status_ = kTimedOut;
    progress_ = 0;
  }
}

void DownloadSettingsForm::close() {
  saveSettings(ctx_);
  end(2);
}

}  // namespace vs
