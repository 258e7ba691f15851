#include "dialogs/download_settings_form.h"

#include <algorithm>

#include "dialogs/settings_file_chooser.h"
#include "files/utf8_path.h"
#include "forms/command_frame.h"
#include "forms/line_master.h"
#include "journal/settings_backup.h"
#include "registers/settings_file.h"
#include "registers/settings_transfer.h"

namespace vs {

void DownloadSettingsForm::onInit() {
  if (!preselected_.empty()) useFile(utf8Of(preselected_));
}

void DownloadSettingsForm::selectFile() {
  status_.clear();
  const auto chosen =
      host().chooseFile(settingsFileRequest(FileDialogRequest::Mode::Open, ctx_.dataDirectory));
  if (chosen) useFile(*chosen);
}

void DownloadSettingsForm::useFile(const std::string& path) {
  path_ = path;
  withoutBackupOffered_ = false;
  // Only a whole settings file replaces the image; anything else is refused
  // here and again at Download, so no stale or made-up value is sent.
  const SettingsFileContent content = readSettingsFile(pathFromUtf8(path_));
  if (content.ok) {
    ctx_.memory.settingsImage = content.image;
    fileError_.clear();
  } else {
    fileError_ = content.error + " It cannot be downloaded.";
    status_ = fileError_;
  }
}

void DownloadSettingsForm::download() { write(true); }

void DownloadSettingsForm::downloadWithoutBackup() {
  if (withoutBackupOffered_) write(false);
}

void DownloadSettingsForm::write(bool backUpFirst) {
  ticks_ = 0;
  withoutBackupOffered_ = false;
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
  const LineAction action(ctx_.master, kAction, pathFromUtf8(path_));
  backup_.clear();
  if (backUpFirst && !backUp()) return;
  downloaded_ = path_;
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

// The reads go out as any dialog's; the file is saved and journaled on the
// line's side, where the journal is kept.
bool DownloadSettingsForm::backUp() {
  status_ = kBackingUp;
  SettingsImage image{};
  const int slave = ctx_.link.slaveAddress;
  const BlockTransfer read = readSettingsBlocks(ctx_.master, slave, image);
  SettingsBackup backup;
  const bool saved = ctx_.master.withJournal([&](JournalingMaster& journal) {
    backup = saveSettingsBackup(journal, slave, read, image, ctx_.dataDirectory);
  });
  // Closed meanwhile: nothing was written, so nothing is to be stored.
  if (!saved || ctx_.line.stopRequested()) {
    stopped_ = true;
    return false;
  }
  if (backup.made()) {
    backup_ = backup.file;
    return true;
  }
  status_ = "No backup of the controller's settings could be made (" + backup.error +
            "). Nothing was written.\nPress Download to try again, or Download Without Backup.";
  withoutBackupOffered_ = true;
  return false;
}

void DownloadSettingsForm::onTimer(int id) {
  if (id != DOWNLOAD_TIMER) return;
  progress_ = std::min(progress_ + 1, 100);
  if (++ticks_ != kTicksToComplete) return;
  const LineAction action(ctx_.master, kAction, pathFromUtf8(downloaded_));
  writeRegister(ctx_, REG_DOWNLOAD_DONE, kSaveCommandValue);
  progress_ = 100;
  host().post(COMPLETION_MESSAGE, 0);
}

void DownloadSettingsForm::onMessage(int message, std::intptr_t outcome) {
  if (message != COMPLETION_MESSAGE) return;
  killTimer(DOWNLOAD_TIMER);
  if (outcome == 0) {
    status_ = kCompleted + backupNote();
  } else {
    status_ = kTimedOut + backupNote();
    progress_ = 0;
  }
}

std::string DownloadSettingsForm::backupNote() const {
  if (backup_.empty()) return "\nNo backup was made first.";
  return "\nBackup made first: " + utf8Of(backup_.filename());
}

// Part of a download is never made permanent.
void DownloadSettingsForm::close() {
  const LineAction action(ctx_.master, kAction, pathFromUtf8(downloaded_));
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
