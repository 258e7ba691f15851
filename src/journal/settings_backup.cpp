#include "journal/settings_backup.h"

#include <cstdio>
#include <system_error>

#include "registers/settings_file.h"

namespace vs {
namespace {

// More backups of one controller within one second than this are a fault.
constexpr int kMaxBackupsASecond = 100;

// "1234_2026-05-01_140307.dat", then "..._140307_2.dat" within the same second.
std::filesystem::path freeName(const std::filesystem::path& folder, int serialNumber,
                               const LocalDateTime& t) {
  char stem[64];
  std::snprintf(stem, sizeof stem, "%d_%04d-%02d-%02d_%02d%02d%02d", serialNumber, t.year, t.month,
                t.day, t.hour, t.minute, t.second);
  for (int n = 1; n <= kMaxBackupsASecond; ++n) {
    std::string name = stem;
    if (n > 1) {
      name += '_';
      name += std::to_string(n);
    }
    name += ".dat";
    const auto candidate = folder / name;
    std::error_code error;
    if (!std::filesystem::exists(candidate, error) && !error) return candidate;
  }
  return {};
}

}  // namespace

std::filesystem::path backupFolder(const std::filesystem::path& dataDirectory, int serialNumber) {
  return dataDirectory / "backups" / std::to_string(serialNumber);
}

SettingsBackup backUpSettings(JournalingMaster& master, int slave,
                              const std::filesystem::path& dataDirectory) {
  SettingsImage image{};
  const BlockTransfer read = readSettingsBlocks(master, slave, image);
  return saveSettingsBackup(master, slave, read, image, dataDirectory);
}

SettingsBackup saveSettingsBackup(JournalingMaster& master, int slave, const BlockTransfer& read,
                                  const SettingsImage& image,
                                  const std::filesystem::path& dataDirectory) {
  const JournalAction action(master, kBackupAction);
  SettingsBackup backup;
  if (read.result != 0) {
    backup.result = read.result;
    backup.error = blockFailure("reading", read);
    master.note(slave, journalOutcome(slave, read.result), {});
    return backup;
  }
  const int serialNumber = image[REG_SERIAL_NUMBER - kFirstSettingsRegister];
  const auto folder = backupFolder(dataDirectory, serialNumber);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const auto file = freeName(folder, serialNumber, master.now());
  if (error || file.empty() || !writeSettingsFile(file, image)) {
    backup.error = "cannot save a backup in " + folder.string() +
                   (error ? ": " + error.message() : std::string());
    master.note(slave, "not saved", {});
    return backup;
  }
  backup.file = file;
  master.note(slave, "ok", file);
  return backup;
}

}  // namespace vs
