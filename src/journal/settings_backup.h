#pragma once

#include <filesystem>
#include <string>

#include "journal/journaling_master.h"
#include "registers/settings_image.h"
#include "registers/settings_transfer.h"

namespace vs {

// The journal's action on the line of a backup; the History window offers to
// restore the file of such a line.
inline constexpr const char* kBackupAction = "Backup before download";

struct SettingsBackup {
  std::filesystem::path file;  // the backup made; empty when there is none
  // Why there is none, for the caller's message: "reading registers 112 to
  // 133: MODBUS_REPLY_TIMEOUT (132)", or the file that could not be saved.
  std::string error;
  int result = 0;  // the failed read's MasterResult; 0 when the read went well

  bool made() const { return !file.empty(); }
};

// backups/<serial number> in the data folder.
std::filesystem::path backupFolder(const std::filesystem::path& dataDirectory, int serialNumber);

// The controller's 114 settings registers, read in the blocks Upload Settings
// reads and saved as a settings file backups/<serial>/<serial>_<date>_<time>.dat
// in the data folder, named so that backups sort by time and none replaces
// an earlier one. The backup is journaled under kBackupAction, made or not.
// A download must not go on without one unless the user says so.
SettingsBackup backUpSettings(JournalingMaster& master, int slave,
                              const std::filesystem::path& dataDirectory);

// The second half of backUpSettings, for a caller that made the reads through
// another master (the program's, on the window's side of the serial line):
// saves what `read` brought into `image`, or journals why there is no backup.
SettingsBackup saveSettingsBackup(JournalingMaster& master, int slave, const BlockTransfer& read,
                                  const SettingsImage& image,
                                  const std::filesystem::path& dataDirectory);

}  // namespace vs
