#pragma once

#include <filesystem>
#include <string>

#include "forms/form.h"
#include "forms/shell_context.h"

namespace vs {

// "Download Settings" (template 140): reads a settings file the user chooses
// and writes it to the controller, then waits about five seconds on its own
// timer before telling the controller that the download is complete. While
// the blocks go out the status line counts them; closed between two blocks,
// the dialog does not store the part-written settings in the controller.
//
// Before anything is written the controller's settings are read and saved as
// a backup in the data folder, which the outcome's message names. Without a
// backup nothing is written: the status line says why, and only Download
// Without Backup, a button of its own, downloads all the same.
class DownloadSettingsForm : public Form {
 public:
  static constexpr int kTemplateId = 140;
  static constexpr int DOWNLOAD_TIMER = 275;
  static constexpr int kTimerPeriod = 50;  // ms
  static constexpr int kTicksToComplete = 99;
  // Posted to itself with the outcome: 0 completed, 1 a write failed.
  static constexpr int COMPLETION_MESSAGE = 0x8002;
  // What the change journal calls the download's writes: the menu item.
  static constexpr const char* kAction = "Download Settings";
  static constexpr const char* kBackingUp =
      "Backing up the controller's settings before the download. Please wait...";
  static constexpr const char* kDownloading =
      "QX4 Viewer is downloading new settings. Please wait...";
  static constexpr const char* kCompleted = "Download is successfully completed.";
  static constexpr const char* kTimedOut = "Communication Time-Out. Please try again.";
  // Device ID 0 is Modbus broadcast: the blocks would go out unconfirmed.
  static constexpr const char* kBroadcastRefused =
      "Device ID 0 gets no answer from any controller. Set the controller's Device ID (Comm "
      "Port) first. Nothing was written.";

  // `file`, if given, is taken as if chosen with Select File: the backup that
  // the change history restores.
  explicit DownloadSettingsForm(ShellContext& ctx, std::filesystem::path file = {})
      : Form(kTemplateId, ctx.line), ctx_(ctx), preselected_(std::move(file)) {}

  const std::string& path() const { return path_; }
  const std::string& status() const { return status_; }
  int progress() const { return progress_; }  // 0 to 100
  bool progressShown() const { return progressShown_; }
  // The backup made before the last download; empty when there is none.
  const std::filesystem::path& backup() const { return backup_; }
  // A backup has just failed: the user may download without one.
  bool withoutBackupOffered() const { return withoutBackupOffered_; }

  void onInit() override;
  void selectFile();
  void download();
  void downloadWithoutBackup();
  void close();
  void onClose() override { close(); }
  void onTimer(int id) override;
  void onMessage(int message, std::intptr_t outcome) override;

 protected:
  std::string partWrittenNote(int sent, int notSent) const override;

 private:
  void useFile(const std::string& path);
  void write(bool backUpFirst);
  // True once a backup has been saved; else the status line says why not.
  bool backUp();
  // What the status line adds to an outcome: the backup's name (its folder is
  // in the change history), so that it fits the status line.
  std::string backupNote() const;

  ShellContext& ctx_;
  std::filesystem::path preselected_;
  std::string path_;
  std::string status_;
  std::string fileError_;   // why the chosen file cannot be downloaded; empty when it can
  std::string downloaded_;  // the file last downloaded, named by the journal's lines
  std::filesystem::path backup_;
  bool withoutBackupOffered_ = false;
  int progress_ = 0;
  bool progressShown_ = false;
  int ticks_ = 0;
  bool stopped_ = false;  // closed while its blocks were going out
};

}  // namespace vs
