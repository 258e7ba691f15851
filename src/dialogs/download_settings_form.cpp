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
  const auto showBlock = [this](std::size_t block) {
    const SettingsBlock& b = kSettingsBlocks[block];
    status_ = std::string(kDownloading) + "\nWriting registers " + std::to_string(b.firstRegister) +
              " to " + std::to_string(b.firstRegister + b.count - 1) + " (block " +
              std::to_string(block + 1) + " of " + std::to_string(kSettingsBlocks.size()) + ").";
  };
  const BlockTransfer written = writeSettingsBlocks(ctx_.master, ctx_.link.slaveAddress,
                                                    ctx_.memory.settingsImage, showBlock);
  // Closed meanwhile: the dialog is about to go, with whatever went out.
  if (ctx_.line.stopRequested()) {
    stopped_ = true;
    return;
  }
  status_ = kDownloading;
  startTimer(DOWNLOAD_TIMER, kTimerPeriod);
  if (written.result != 0) host().post(COMPLETION_MESSAGE, 1);
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
  killTimer(DOWNLOAD_TIMER);
  if (outcome == 0) {
    status_ = kCompleted;
  } else {
    status_ = kTimedOut;
    progress_ = 0;
  }
}

// Part of a download is never made permanent.
void DownloadSettingsForm::close() {
  if (!stopped_) saveSettings(ctx_);
  end(2);
}

std::string DownloadSettingsForm::partWrittenNote(int sent, int notSent) const {
  return "The download was stopped after " + std::to_string(sent) + " of " +
         std::to_string(sent + notSent) +
         " blocks had gone out: the controller may hold part of the new settings, unsaved, until "
         "it restarts.\nDownload the file again to finish.";
}

}  // namespace vs
