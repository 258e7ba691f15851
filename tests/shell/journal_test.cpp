// The program's change journal end to end: the shell's own master chain over a
// pty to the simulated controller, the requests on the link worker. What the
// journal records of a dialog's writes, what the status bar says when it
// cannot be written, and a backup restored from the change history.

#include <gtest/gtest.h>

#include <algorithm>

#include "dialogs/change_history_form.h"
#include "dialogs/download_settings_form.h"
#include "dialogs/pressure_settings_form.h"
#include "journal/journal_reader.h"
#include "journal/settings_backup.h"
#include "registers/settings_file.h"
#include "shell_rig.h"
#include "support/controller_settings.h"
#include "support/full_disk.h"

namespace vs {
namespace {

using test::ShellRig;
using Strings = std::vector<std::string>;
using P = PressureSettingsForm;

struct ProgramJournal : ::testing::Test {
  std::vector<JournalLine> lines() {
    auto reading = readJournal(journalPath(rig.data.path()));
    EXPECT_TRUE(reading.ok) << reading.error;
    std::reverse(reading.lines.begin(), reading.lines.end());
    return reading.lines;
  }
  std::string& shown(int part) { return rig.desktop.statusTexts[part]; }
  // Runs Download Settings on the file in hand (or the one chosen), to the end.
  void downloadScript(std::optional<std::string> choose) {
    rig.desktop.onForm(DownloadSettingsForm::kTemplateId,
                       [this, choose](Form& form, test::ScriptedFormHost& host) {
                         auto& download = dynamic_cast<DownloadSettingsForm&>(form);
                         if (choose) {
                           host.fileChoices.push_back(*choose);
                           download.selectFile();
                         }
                         downloaded.push_back(download.path());
                         download.download();
                         for (int tick = 0; tick < DownloadSettingsForm::kTicksToComplete; ++tick)
                           host.tick(275);
                         statuses.push_back(download.status());
                         download.close();
                       });
  }

  ShellRig rig;
  Strings downloaded;
  Strings statuses;
};

// A full data folder: the write goes on, its line is not written, the status
// bar says why beside the log file's own trouble, and both clear once there is
// room again.
TEST_F(ProgramJournal, EveryWriteIsOnRecordAndAFullDiskIsShownButStopsNothing) {
  rig.connected();
  rig.tick(CLOCK_TIMER);
  ASSERT_TRUE(rig.tick(POLL_TIMER));
  std::string whileFull;
  std::string afterwards;
  rig.desktop.onForm(P::kTemplateId, [&](Form& form, test::ScriptedFormHost&) {
    auto& pressure = dynamic_cast<P&>(form);
    pressure.setText(P::DEFAULT_PRESSURE, "3.25");
    pressure.change();
    {
      const test::FullDisk full;
      pressure.setText(P::DEFAULT_PRESSURE, "3.5");
      pressure.change();
      EXPECT_EQ(pressure.status(), P::kUpdated);
      whileFull = shown(2);
    }
    pressure.setText(P::DEFAULT_PRESSURE, "3.75");
    pressure.change();
    afterwards = shown(2);
    pressure.close();
  });
  rig.command(CMD_PRESSURE_SETTINGS);
  EXPECT_EQ(rig.controller.readRegister(123), 3750);
  EXPECT_EQ(whileFull, "Change journal not written: File too large");
  EXPECT_EQ(afterwards, "");

  const auto written = lines();
  ASSERT_EQ(written.size(), 12u);  // the first and the third Change
  Strings defaultPressure;
  for (const JournalLine& line : written) {
    EXPECT_EQ(line.time, "2026-12-06 09:15:00");
    EXPECT_EQ(line.port, rig.simulator->path());
    EXPECT_EQ(line.deviceId, "1");
    EXPECT_EQ(line.serialNumber, "20517");
    EXPECT_EQ(line.firmware, "4.62");
    EXPECT_EQ(line.action, "Pressure Settings");
    EXPECT_EQ(line.outcome, "ok");
    if (line.reg == "123") defaultPressure.push_back(line.before + ">" + line.written);
  }
  EXPECT_EQ(defaultPressure, (Strings{"3500>3250", ">3750"}));

  // Both troubles at once, neither hiding the other.
  ASSERT_TRUE(rig.tick(POLL_TIMER));
  {
    const test::FullDisk full;
    ASSERT_TRUE(rig.tick(POLL_TIMER));
    rig.desktop.onForm(P::kTemplateId, [&](Form& form, test::ScriptedFormHost&) {
      auto& pressure = dynamic_cast<P&>(form);
      pressure.setText(P::DEFAULT_PRESSURE, "3.5");
      pressure.change();
      whileFull = shown(2);
      pressure.close();
    });
    rig.command(CMD_PRESSURE_SETTINGS);
  }
  EXPECT_EQ(whileFull, "Log file and change journal not written: File too large");
  EXPECT_EQ(rig.controller.readRegister(123), 3500);
}

// A download by mistake undone: the backup it made goes back through Download
// Settings from the change history, which backs the controller up again first.
TEST_F(ProgramJournal, ABackupRestoredFromTheHistoryPutsTheSettingsBack) {
  rig.connected();
  const SettingsImage original = test::settingsOf(rig.controller);
  SettingsImage wrong = original;
  wrong[123 - kFirstSettingsRegister] = 1111;
  wrong[130 - kFirstSettingsRegister] = 77;
  const auto file = rig.data / "wrong.dat";
  ASSERT_TRUE(writeSettingsFile(file, wrong));
  downloadScript(file.string());
  rig.command(CMD_DOWNLOAD_SETTINGS);
  ASSERT_EQ(test::settingsOf(rig.controller), wrong);

  downloadScript(std::nullopt);
  std::vector<std::string> serials;
  Strings shownAfter;
  rig.desktop.onForm(ChangeHistoryForm::kTemplateId, [&](Form& form, test::ScriptedFormHost&) {
    auto& history = dynamic_cast<ChangeHistoryForm&>(form);
    serials = history.serialNumbers();
    history.chooseSerialNumber(1);
    const auto& shown = history.lines();
    const auto backup = std::find_if(shown.begin(), shown.end(), [](const JournalLine& line) {
      return line.action == kBackupAction;
    });
    ASSERT_NE(backup, shown.end());
    EXPECT_EQ(backup->serialNumber, "20517");
    history.selectLine(static_cast<int>(backup - shown.begin()));
    ASSERT_TRUE(history.canRestore());
    history.restore();
    for (const JournalLine& line : history.lines()) shownAfter.push_back(line.action);
    history.close();
  });
  rig.command(CMD_CHANGE_HISTORY);

  EXPECT_EQ(serials, (Strings{"All", "20517"}));
  ASSERT_EQ(downloaded.size(), 2u);
  EXPECT_EQ(readSettingsFile(downloaded[1]).image, original);
  EXPECT_EQ(test::settingsOf(rig.controller), original);
  EXPECT_EQ(rig.controller.storedSettings(), original);
  // The restore made a backup of its own, of the settings it replaced.
  const auto all = lines();
  const auto backups = std::count_if(all.begin(), all.end(), [](const JournalLine& line) {
    return line.action == kBackupAction && line.outcome == "ok";
  });
  EXPECT_EQ(backups, 2);
  EXPECT_EQ(readSettingsFile(all[all.size() - 117].file).image, wrong);
  EXPECT_EQ(statuses[1].rfind(DownloadSettingsForm::kCompleted, 0), 0u) << statuses[1];
  // The history shows the restore's lines once it is over, newest first.
  ASSERT_FALSE(shownAfter.empty());
  EXPECT_EQ(shownAfter.front(), "Download Settings");
  EXPECT_EQ(all.back().file, downloaded[1]);
}

}  // namespace
}  // namespace vs
