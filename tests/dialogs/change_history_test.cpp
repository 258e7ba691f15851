// The change history's form on a journal written by the journal itself: the
// serial numbers offered, the lines shown for each, and which lines can be
// restored.
#include <gtest/gtest.h>

#include <fstream>

#include "dialogs/change_history_form.h"
#include "journal/change_journal.h"
#include "journal/settings_backup.h"
#include "support/temp_dir.h"

namespace vs {
namespace {

using Strings = std::vector<std::string>;

JournalLine line(const std::string& time, const std::string& serial, const std::string& action,
                 const std::string& outcome = "ok", const std::string& file = {}) {
  JournalLine l;
  l.time = time;
  l.serialNumber = serial;
  l.action = action;
  l.outcome = outcome;
  l.file = file;
  return l;
}

struct ChangeHistory : ::testing::Test {
  ChangeHistory() {
    std::ofstream(backup) << "a settings file";
    EXPECT_EQ(ChangeJournal(journal).append({
                  line("2026-05-01 09:00:00", "20517", "Pressure Settings"),
                  line("2026-05-01 09:05:00", "20517", kBackupAction, "ok", backup.string()),
                  line("2026-05-01 09:05:01", "20517", "Download Settings", "ok", "/data/unit.dat"),
                  line("2026-05-02 10:00:00", "987", kBackupAction, "ok", gone.string()),
                  line("2026-05-02 10:00:05", "987", kBackupAction, "MODBUS_REPLY_TIMEOUT (132)"),
                  line("2026-05-03 11:00:00", "-3", "Zero Transducer"),
                  line("2026-05-03 11:30:00", "", "Force Digital Inputs"),
              }),
              "");
  }

  static Strings times(const ChangeHistoryForm& form) {
    Strings shown;
    for (const JournalLine& l : form.lines()) shown.push_back(l.time);
    return shown;
  }

  test::TempDir data;
  std::filesystem::path journal = journalPath(data.path());
  std::filesystem::path backup = data / "20517_2026-05-01_090500.dat";
  std::filesystem::path gone = data / "987_2026-05-02_100000.dat";
  std::vector<std::filesystem::path> restored;
  ChangeHistoryForm form{
      journal, [this](const std::filesystem::path& file) {
        restored.push_back(file);
        // The restore journals lines of its own.
        ChangeJournal(journal).append({line("2026-05-04 08:00:00", "20517", "Download Settings")});
      }};
};

TEST_F(ChangeHistory, ShowsEachControllerNewestFirstAndRestoresOnlyABackupThatIsThere) {
  form.init();
  EXPECT_EQ(form.serialNumbers(), (Strings{"All", "-3", "987", "20517"}));
  EXPECT_EQ(form.serialChoice(), 0u);
  EXPECT_EQ(times(form).front(), "2026-05-03 11:30:00");
  EXPECT_EQ(times(form).size(), 7u);
  EXPECT_EQ(form.status(), "7 lines, newest first.");
  EXPECT_EQ(ChangeHistoryForm::columns().size(), ChangeHistoryForm::cells(form.lines()[0]).size());

  form.chooseSerialNumber(3);
  EXPECT_EQ(times(form),
            (Strings{"2026-05-01 09:05:01", "2026-05-01 09:05:00", "2026-05-01 09:00:00"}));
  EXPECT_EQ(form.status(), "3 lines of serial number 20517, newest first.");
  form.selectLine(0);
  EXPECT_EQ(ChangeHistoryForm::cells(form.lines()[0]).back(), "unit.dat");
  EXPECT_EQ(form.status(), "Settings file: /data/unit.dat");
  EXPECT_FALSE(form.canRestore());
  form.restore();  // not a backup: nothing happens
  EXPECT_TRUE(restored.empty());
  form.selectLine(1);
  EXPECT_TRUE(form.canRestore());
  EXPECT_EQ(form.status(),
            "Backup of serial number 20517 made 2026-05-01 09:05:00: " + backup.string() +
                "\nRestore this backup… opens Download Settings with it; the controller's "
                "settings are backed up again first.");

  const int revision = form.revision();
  form.restore();
  EXPECT_EQ(restored, std::vector<std::filesystem::path>{backup});
  // Shown anew, the restore's own line on top, the same controller chosen.
  EXPECT_NE(form.revision(), revision);
  EXPECT_EQ(form.serialNumbers()[form.serialChoice()], "20517");
  EXPECT_EQ(times(form).front(), "2026-05-04 08:00:00");
  EXPECT_EQ(form.selectedLine(), -1);
  EXPECT_FALSE(form.canRestore());

  form.chooseSerialNumber(2);
  form.selectLine(1);  // its file has gone
  EXPECT_FALSE(form.canRestore());
  EXPECT_EQ(form.status(), "The backup file " + gone.string() + " is not there any more.");
  form.selectLine(0);  // a backup that failed
  EXPECT_FALSE(form.canRestore());
  EXPECT_EQ(form.status(), "2 lines of serial number 987, newest first.");
}

TEST_F(ChangeHistory, SaysWhenThereIsNothingOrTheJournalCannotBeRead) {
  ChangeHistoryForm empty(data / "none.csv", {});
  empty.init();
  EXPECT_EQ(empty.serialNumbers(), Strings{"All"});
  EXPECT_TRUE(empty.lines().empty());
  EXPECT_EQ(empty.status(), "Nothing written to a controller is on record yet.");

  ChangeHistoryForm unreadable(data.path(), {});
  unreadable.init();
  EXPECT_TRUE(unreadable.lines().empty());
  EXPECT_EQ(unreadable.status(),
            "The change journal cannot be read: " + data.path().string() + ": not a file");
}

}  // namespace
}  // namespace vs
