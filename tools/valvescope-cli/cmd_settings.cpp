#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "cli_text.h"
#include "commands.h"
#include "journal/settings_backup.h"
#include "link_session.h"
#include "registers/settings_file.h"
#include "registers/settings_transfer.h"

namespace vs::cli {
namespace {

void printDifferences(const TransferResult& outcome) {
  for (const auto& difference : outcome.differences) std::puts(describe(difference).c_str());
}

// The file is checked before the port is opened: a file that is no settings
// image costs no traffic.
bool readableSettings(const std::string& file) {
  const SettingsFileContent content = readSettingsFile(file);
  if (!content.ok) complain(file + ": " + content.error);
  return content.ok;
}

}  // namespace

int runUpload(const Invocation& invocation) {
  const std::string& file = invocation.args[0];
  LinkSession link(invocation);
  if (const int opened = link.open(); opened != CLI_OK) return opened;
  SettingsImage image{};
  if (const BlockTransfer read = readSettingsBlocks(link.master(), link.slave(), image);
      read.result != MODBUS_OK) {
    return link.fail(blockFailure("reading", read));
  }
  // Nothing is written to the file unless all five blocks arrived.
  if (!writeSettingsFile(file, image)) {
    complain(file + ": cannot write the settings file");
    return CLI_FILE;
  }
  std::printf("uploaded %d registers to %s\n", kSettingsRegisterCount, file.c_str());
  return CLI_OK;
}

int runDownload(const Invocation& invocation) {
  const std::string& file = invocation.args[0];
  if (!readableSettings(file)) return CLI_FILE;
  LinkSession link(invocation);
  if (const int opened = link.open(); opened != CLI_OK) return opened;
  std::error_code unresolved;
  const auto whole = std::filesystem::absolute(file, unresolved);
  const JournalAction action(link.master(), "valvescope-cli download",
                             unresolved ? std::filesystem::path(file) : whole);
  // The journal names the controller with or without a backup.
  if (const int read = link.readAhead({REG_FIRMWARE_VERSION, REG_SERIAL_NUMBER}); read != CLI_OK) {
    return read;
  }
  if (!invocation.noBackup) {
    const SettingsBackup backup = backUpSettings(link.master(), link.slave(), link.dataDirectory());
    if (!backup.made()) {
      return link.fail("no backup of the controller's settings: " + backup.error +
                           "; nothing was written (--no-backup downloads without one)",
                       backup.result != 0 ? CLI_CONTROLLER : CLI_FILE);
    }
    std::printf("backup of the controller's settings: %s\n", backup.file.string().c_str());
  }
  const TransferResult outcome =
      downloadSettings(link.master(), link.slave(), file, kDownloadSettleTime);
  printDifferences(outcome);
  if (outcome.slave != link.slave()) {
    std::printf("the controller now answers at address %d\n", outcome.slave);
  }
  if (!outcome.ok) {
    return link.fail(outcome.error, outcome.differences.empty() ? CLI_CONTROLLER : CLI_DIFFERENT);
  }
  std::printf("downloaded %s: %d registers written, read back and saved\n", file.c_str(),
              kSettingsRegisterCount);
  return CLI_OK;
}

int runDiff(const Invocation& invocation) {
  const std::string& file = invocation.args[0];
  if (!readableSettings(file)) return CLI_FILE;
  LinkSession link(invocation);
  if (const int opened = link.open(); opened != CLI_OK) return opened;
  const TransferResult outcome = diffSettings(link.master(), link.slave(), file);
  if (!outcome.ok) return link.fail(outcome.error);
  printDifferences(outcome);
  if (outcome.differences.empty()) {
    std::printf("the controller matches %s\n", file.c_str());
    return CLI_OK;
  }
  std::printf("%zu registers differ from %s\n", outcome.differences.size(), file.c_str());
  return CLI_DIFFERENT;
}

}  // namespace vs::cli
