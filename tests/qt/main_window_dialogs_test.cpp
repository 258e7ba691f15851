// Every settings and maintenance dialog run from the real program window, as a
// technician opens it: from its menu item or its function key, past the
// password gate where there is one, on the simulated controller behind a pty
// at 9600 baud. What is typed must end up in the controller, stored where the
// dialog stores, and the window must go back to polling afterwards.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QTreeWidget>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <sstream>

#include "dialogs/download_settings_form.h"
#include "dialogs/settings_form.h"
#include "dialogs/upload_settings_form.h"
#include "forms/valve_link.h"
#include "qt/calibration_list_view.h"
#include "qt/change_history_view.h"
#include "qt/force_inputs_view.h"
#include "qt/free_air_calibration_view.h"
#include "qt/governor_settings_view.h"
#include "qt/o2_schedule_view.h"
#include "qt/settings_dialog_view.h"
#include "qt/settings_file_views.h"
#include "qt/traveler_report_view.h"
#include "qt/view_harness.h"
#include "qt/window_rig.h"
#include "qt/zero_transducer_view.h"
#include "registers/register_map.h"
#include "support/full_disk.h"

namespace vs {
namespace {

using namespace std::chrono_literals;
using test::buttonNamed;
using test::editBesides;
using test::save;
using test::statusLine;
using test::waitFor;

constexpr const char* kWindowClose = "Confirm Window Close|Are you sure you want to close window?";
// What accepting a service password shows.
std::string assistance() { return "Assistance|" + PasswordGateForm::kAssistanceText; }

void retype(QDialog& dialog, const QString& label, const QString& text) {
  QLineEdit* edit = editBesides(dialog, label);
  ASSERT_NE(edit, nullptr) << label.toStdString();
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

// As gtest prints them readably.
std::string status(QDialog& dialog) { return statusLine(dialog).toStdString(); }
std::string besides(QDialog& dialog, const QString& label) {
  const QLineEdit* edit = editBesides(dialog, label);
  return edit == nullptr ? "<no " + label.toStdString() + ">" : edit->text().toStdString();
}

bool shows(QDialog& dialog, const QString& text) {
  const auto labels = dialog.findChildren<QLabel*>();
  return std::any_of(labels.begin(), labels.end(),
                     [&text](QLabel* label) { return label->text() == text; });
}

class MainWindowDialogs : public test::WindowTest {
 protected:
  void SetUp() override {
    answerer.gatePicture = "e2e_password_gate.png";
    ASSERT_EQ(simulator.start(), 0);
    open(simulator.path());
    ASSERT_TRUE(waitForRecords(5));
  }

  // Runs `script` on the dialog of type View once `trigger` has made it the
  // active modal widget, and closes the dialog with its close box if the
  // script left it open; false when it never came or never went.
  template <typename View>
  bool drive(const std::function<void()>& trigger, const std::function<void(View&)>& script) {
    bool ran = false;
    bool finished = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
      auto* view = dynamic_cast<View*>(QApplication::activeModalWidget());
      if (ran || view == nullptr || !view->isVisible()) return;
      ran = true;
      look.stop();
      script(*view);
      if (view->isVisible()) view->close();
      finished = true;
    });
    look.start(20);
    trigger();
    return waitFor([&] { return finished && QApplication::activeModalWidget() == nullptr; }, 60s);
  }

  // The menu item a technician clicks.
  void choose(const QString& menu, const QString& item) {
    for (QAction* top : window->menuBar()->actions()) {
      if (top->text() != menu || top->menu() == nullptr) continue;
      for (QAction* action : top->menu()->actions()) {
        if (action->text() == item) return action->trigger();
      }
    }
    ADD_FAILURE() << "no item " << item.toStdString() << " in menu " << menu.toStdString();
  }

  void press(Qt::Key key) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), 30000));
    QTest::keyClick(window.get(), key);
  }

  void expectPollingResumes() {
    const auto before = records();
    EXPECT_TRUE(waitForRecords(before + 5)) << "polling stayed stopped at " << before << " records";
  }

  std::int16_t stored(int reg) const {
    return controller.storedSettings()[static_cast<std::size_t>(reg - kFirstSettingsRegister)];
  }
  SettingsImage working() {
    SettingsImage image{};
    controller.readRegisters(kFirstSettingsRegister, kSettingsRegisterCount, image.data());
    return image;
  }

  // The message boxes seen, without the file choosers.
  std::vector<std::string> boxes() const {
    std::vector<std::string> shown;
    std::copy_if(answerer.seen.begin(), answerer.seen.end(), std::back_inserter(shown),
                 [](const std::string& seen) { return seen.rfind("file chooser|", 0) != 0; });
    return shown;
  }
};

// The cable pulled while Change writes: the dialog shows that it waits (a
// wait cursor, everything greyed but Close, what it does in its status line)
// and keeps repainting; Close stops the writes after the one in hand and says
// what went out.
TEST_F(MainWindowDialogs, CloseStopsTheWritesOfADialogWaitingOnASilentLine) {
  std::string busyStatus;
  bool waitCursor = false;
  bool changeGreyed = false;
  bool closeUsable = false;
  const auto whileWriting = [&](SettingsDialogView& dialog) {
    busyStatus = status(dialog);
    waitCursor = dialog.cursor().shape() == Qt::WaitCursor;
    changeGreyed = !buttonNamed(dialog, "Change")->isEnabled();
    closeUsable = buttonNamed(dialog, "Close")->isEnabled();
    save(dialog.grab(), "e2e_pressure_settings_busy.png");
    buttonNamed(dialog, "Close")->click();
  };
  ASSERT_TRUE(drive<SettingsDialogView>([&] { press(Qt::Key_F2); },
                                        [&](SettingsDialogView& dialog) {
                                          retype(dialog, "Default Pressure", "3.25");
                                          controller.faults().setSilent(true);
                                          QTimer::singleShot(600, &dialog,
                                                             [&] { whileWriting(dialog); });
                                          buttonNamed(dialog, "Change")->click();
                                          EXPECT_FALSE(dialog.isVisible());
                                        }));
  EXPECT_EQ(busyStatus, "Writing to the controller. Please wait...");
  EXPECT_TRUE(waitCursor);
  EXPECT_TRUE(changeGreyed);
  EXPECT_TRUE(closeUsable);
  // The write in hand when Close came (the first, unless the machine stalled).
  const std::regex partWritten(
      "Notice\\|The dialog was closed part-way through its writes: the first ([1-5]) of 6 went "
      "out, the other [1-5] were not sent\\.\nOpen the dialog again to see what the controller "
      "holds now\\.");
  EXPECT_EQ(
      std::count_if(answerer.seen.begin(), answerer.seen.end(),
                    [&](const std::string& seen) { return std::regex_match(seen, partWritten); }),
      1);
  controller.faults().setSilent(false);
  expectPollingResumes();
  EXPECT_NE(working()[123 - kFirstSettingsRegister], 3250);
}

// The data folder's disk full: the settings are written all the same, and
// the status bar says that neither the log nor the change journal is.
TEST_F(MainWindowDialogs, AFullDiskIsShownInTheStatusBarWhileTheWritesGoOn) {
  window->resize(1366, 740);  // as on a laptop's screen
  std::string duringChange;
  QPixmap picture;
  {
    // The disk fills once the dialog has stopped the polling, so that the
    // change is the first thing not written, however slow the dialog opens.
    std::optional<test::FullDisk> full;
    ASSERT_TRUE(drive<SettingsDialogView>([&] { press(Qt::Key_F2); },
                                          [&](SettingsDialogView& dialog) {
                                            full.emplace();
                                            retype(dialog, "Default Pressure", "3.25");
                                            buttonNamed(dialog, "Change")->click();
                                            EXPECT_EQ(status(dialog), SettingsForm::kUpdated);
                                            duringChange = window->shell().statusText(2);
                                            buttonNamed(dialog, "Save && Close")->click();
                                          }));
    ASSERT_TRUE(waitFor([&] { return window->shell().statusText(2).rfind("Log", 0) == 0; }, 60s));
    picture = window->grab();
  }
  save(picture, "main_window_full_disk.png");
  EXPECT_EQ(duringChange, "Change journal not written: File too large");
  const std::string both = "Log file and change journal not written: File too large";
  const auto labels = window->statusBar()->findChildren<QLabel*>();
  EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                          [&](QLabel* label) { return label->text().toStdString() == both; }));
  EXPECT_EQ(controller.readRegister(123), 3250);
  EXPECT_EQ(stored(123), 3250);
  closeWindow();
}

// A technician backs the unit's settings up to a file, tunes them with F2, F3
// and F4, and then puts the backup back with Download Settings.
TEST_F(MainWindowDialogs, SettingsBackedUpTunedWithFunctionKeysAndDownloadedBack) {
  const SettingsImage original = working();
  const auto backup = data.path() / "unit_backup.dat";

  answerer.nextFile = QString::fromStdString(backup.string());
  ASSERT_TRUE(drive<UploadSettingsView>(
      [&] { choose("Valve Settings", "Upload Settings"); },
      [&](UploadSettingsView& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Upload Settings");
        buttonNamed(dialog, "Create File")->click();
        EXPECT_EQ(dialog.findChild<QLineEdit*>()->text().toStdString(), backup.string());
        buttonNamed(dialog, "Upload Settings")->click();
        EXPECT_EQ(status(dialog), UploadSettingsForm::kUploaded);
        save(dialog.grab(), "e2e_upload_settings.png");
        buttonNamed(dialog, "Close")->click();
      }));
  {
    std::ifstream file(backup);
    std::vector<std::int16_t> values{std::istream_iterator<std::int16_t>(file), {}};
    EXPECT_TRUE(file.eof());  // nothing but numbers
    EXPECT_EQ(values, std::vector<std::int16_t>(original.begin(), original.end()));
    EXPECT_EQ(values.size(), 114u);
  }
  expectPollingResumes();

  ASSERT_TRUE(drive<SettingsDialogView>([&] { press(Qt::Key_F2); },
                                        [&](SettingsDialogView& dialog) {
                                          EXPECT_EQ(dialog.windowTitle(), "Pressure Settings");
                                          EXPECT_EQ(besides(dialog, "Default Pressure"), "3.500");
                                          retype(dialog, "Default Pressure", "4.25");
                                          buttonNamed(dialog, "Change")->click();
                                          EXPECT_EQ(status(dialog), SettingsForm::kUpdated);
                                          save(dialog.grab(), "e2e_pressure_settings.png");
                                          // Pressed again, its first write refused.
                                          controller.faults().injectNext(sim::FaultKind::Exception,
                                                                         1);
                                          buttonNamed(dialog, "Change")->click();
                                          EXPECT_EQ(status(dialog), SettingsForm::kUpdateFailed);
                                          buttonNamed(dialog, "Save && Close")->click();
                                        }));
  EXPECT_EQ(controller.readRegister(123), 4250);
  EXPECT_EQ(stored(123), 4250);
  expectPollingResumes();

  ASSERT_TRUE(drive<SettingsDialogView>([&] { press(Qt::Key_F3); },
                                        [&](SettingsDialogView& dialog) {
                                          EXPECT_EQ(dialog.windowTitle(), "  ");
                                          EXPECT_EQ(besides(dialog, "O2 Sensor Warm-up Timer"),
                                                    "120");
                                          retype(dialog, "O2 Sensor Warm-up Timer", "90");
                                          buttonNamed(dialog, "Change")->click();
                                          EXPECT_EQ(status(dialog), SettingsForm::kUpdated);
                                          save(dialog.grab(), "e2e_o2_sensor_settings.png");
                                          buttonNamed(dialog, "Save && Close")->click();
                                        }));
  EXPECT_EQ(controller.readRegister(REG_WARMUP_TIMER_START), 90);
  EXPECT_EQ(stored(REG_WARMUP_TIMER_START), 90);
  expectPollingResumes();

  ASSERT_TRUE(drive<CalibrationListView>(
      [&] { press(Qt::Key_F4); },
      [&](CalibrationListView& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Calibration Settings");
        auto* list = dialog.findChild<QTreeWidget*>();
        ASSERT_EQ(list->topLevelItemCount(), 114);
        const auto found = list->findItems("pressure_prop", Qt::MatchExactly, 0);
        ASSERT_EQ(found.size(), 1);
        QTreeWidgetItem* row = found.front();
        EXPECT_EQ(row->text(1), "250");
        list->scrollToItem(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(row).center());
        auto* edit = dialog.findChild<QLineEdit*>();
        EXPECT_EQ(edit->text(), "250");
        QTest::keyClicks(edit, "275");  // over the selected value
        buttonNamed(dialog, "Change")->click();
        EXPECT_EQ(row->text(1), "275");
        save(dialog.grab(), "e2e_calibration_list.png");
        buttonNamed(dialog, "Save && Close")->click();
      }));
  EXPECT_EQ(answerer.passwordsGiven, 1);
  EXPECT_EQ(controller.readRegister(126), 275);
  EXPECT_EQ(stored(126), 275);
  expectPollingResumes();

  const int commitsBefore = controller.downloadCommitCount();
  answerer.nextFile = QString::fromStdString(backup.string());
  ASSERT_TRUE(drive<DownloadSettingsView>(
      [&] { choose("Valve Settings", "Download Settings"); },
      [&](DownloadSettingsView& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Download Settings");
        buttonNamed(dialog, "Select File")->click();
        EXPECT_EQ(dialog.findChild<QLineEdit*>()->text().toStdString(), backup.string());
        EXPECT_EQ(status(dialog), "");
        buttonNamed(dialog, "Download")->click();
        EXPECT_TRUE(waitFor(
            [&] { return status(dialog).rfind(DownloadSettingsForm::kCompleted, 0) == 0; }, 60s))
            << status(dialog);
        EXPECT_EQ(dialog.findChild<QProgressBar*>()->value(), 100);
        save(dialog.grab(), "e2e_download_settings.png");
        buttonNamed(dialog, "Close")->click();
      }));
  EXPECT_EQ(controller.downloadCommitCount(), commitsBefore + 1);
  EXPECT_EQ(working(), original);
  EXPECT_EQ(controller.storedSettings(), original);
  expectPollingResumes();

  // Everything written so far is on record, the download's backup among it.
  ASSERT_TRUE(drive<ChangeHistoryView>(
      [&] { choose("Service", "Change History…"); },
      [&](ChangeHistoryView& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Change History");
        auto* serials = dialog.findChild<QComboBox*>();
        ASSERT_EQ(serials->count(), 2);
        EXPECT_EQ(serials->itemText(1), "20517");
        auto* table = dialog.findChild<QTableWidget*>();
        ASSERT_EQ(table->columnCount(), 12);
        EXPECT_EQ(table->horizontalHeaderItem(5)->text(), "Action");
        const auto column = [&](int row, int col) { return table->item(row, col)->text(); };
        // Pressure (two Changes and the store), O2 (four and the store),
        // calibration list (one and the store), the backup, the download
        // (114 registers, the commit and the store).
        ASSERT_EQ(table->rowCount(), 13 + 5 + 2 + 1 + 116);
        EXPECT_EQ(column(0, 6) + "=" + column(0, 9), "144=4660");
        EXPECT_EQ(column(0, 5), "Download Settings");
        EXPECT_EQ(column(0, 11), "unit_backup.dat");
        const int backupRow = 116;
        EXPECT_EQ(column(backupRow, 5), "Backup before download");
        const QString refused = column(table->rowCount() - 7, 10);
        EXPECT_EQ(refused, "refused (MODBUS_EXCEPTION_SLAVE_DEVICE_FAILURE)");
        auto* restore = buttonNamed(dialog, "Restore this backup…");
        EXPECT_FALSE(restore->isEnabled());
        table->selectRow(backupRow);
        table->scrollToItem(table->item(backupRow - 4, 0), QAbstractItemView::PositionAtTop);
        EXPECT_TRUE(restore->isEnabled());
        save(dialog.grab(), "e2e_change_history.png");
        emit serials->activated(1);
        EXPECT_EQ(table->rowCount(), 13 + 5 + 2 + 1 + 116);
        buttonNamed(dialog, "Close")->click();
      }));

  closeWindow();
  EXPECT_EQ(boxes(), (std::vector<std::string>{assistance(), kWindowClose}));
}

// With the engine shut down, a technician zeroes the transducer, sets up the
// O2 schedule and the governor, forces an input and releases it, calibrates
// the O2 sensor in free air and saves the traveler report for the customer.
TEST_F(MainWindowDialogs, ServiceWorkOnAStoppedEngineFromTheToolsAndServiceMenus) {
  controller.setMode(sim::kModeStopped);
  ASSERT_TRUE(waitFor([&] { return window->shell().link().liveValues[LIVE_MODE] == 0; }, 60s));

  ASSERT_TRUE(drive<ZeroTransducerView>([&] { choose("Tools", "Zero Transducer"); },
                                        [&](ZeroTransducerView& dialog) {
                                          EXPECT_EQ(dialog.windowTitle(), "ATTENTION!");
                                          save(dialog.grab(), "e2e_zero_transducer.png");
                                          buttonNamed(dialog, "ZERO Transducer")->click();
                                          buttonNamed(dialog, "Close")->click();
                                        }));
  EXPECT_EQ(controller.readRegister(REG_ZEROING), 1);
  EXPECT_EQ(stored(REG_ZEROING), 1);
  expectPollingResumes();
  // The dialog's steps 2 and 3: power off and on, then F12.
  controller.powerCycle();
  EXPECT_EQ(controller.transducerZeroings(), 1);
  EXPECT_EQ(controller.readRegister(REG_ZEROING), 0);
  press(Qt::Key_F12);
  expectPollingResumes();

  const QString schedule = "Dynamic O2 Set-point Schedule…";
  ASSERT_TRUE(drive<O2ScheduleView>([&] { choose("Service", schedule); },
                                    [&](O2ScheduleView& dialog) {
                                      EXPECT_EQ(dialog.windowTitle(),
                                                "Dynamic O2 Sensor Set Point Schedule");
                                      EXPECT_EQ(status(dialog), "Dynamic schedule is off.");
                                      retype(dialog, "Point 3", "3.25");
                                      buttonNamed(dialog, "Change")->click();
                                      EXPECT_EQ(status(dialog), SettingsForm::kUpdated);
                                      save(dialog.grab(), "e2e_o2_schedule.png");
                                      buttonNamed(dialog, "Enable/Disable")->click();
                                    }));
  EXPECT_EQ(controller.readRegister(196), 3250);
  EXPECT_EQ(controller.readRegister(REG_MAN_SCHEDULE_EN), 1);
  expectPollingResumes();
  // The next opening reads the schedule as on; its Close stores it.
  ASSERT_TRUE(drive<O2ScheduleView>([&] { choose("Service", schedule); },
                                    [&](O2ScheduleView& dialog) {
                                      EXPECT_EQ(status(dialog), "Dynamic schedule is on.");
                                      EXPECT_EQ(besides(dialog, "Point 3"), "3.25");
                                      buttonNamed(dialog, "Close")->click();
                                    }));
  EXPECT_EQ(stored(196), 3250);
  EXPECT_EQ(stored(REG_MAN_SCHEDULE_EN), 1);
  expectPollingResumes();

  ASSERT_TRUE(drive<GovernorSettingsView>([&] { choose("Service", "Governor Settings…"); },
                                          [&](GovernorSettingsView& dialog) {
                                            EXPECT_EQ(dialog.windowTitle(), "Governor Settings");
                                            EXPECT_EQ(besides(dialog, "Speed Set Point"), "1800");
                                            retype(dialog, "Speed Set Point", "1500");
                                            buttonNamed(dialog, "Change")->click();
                                            EXPECT_EQ(status(dialog), SettingsForm::kUpdated);
                                            save(dialog.grab(), "e2e_governor_settings.png");
                                            buttonNamed(dialog, "Save && Close")->click();
                                          }));
  EXPECT_EQ(controller.readRegister(160), 1500);
  EXPECT_EQ(stored(160), 1500);
  expectPollingResumes();

  // The state fields are the read-only edits, one per row, top to bottom.
  const auto ignitionState = [](QDialog& dialog) {
    for (auto* edit : dialog.findChildren<QLineEdit*>()) {
      if (edit->isReadOnly()) return edit->text().toStdString();
    }
    return std::string("<none>");
  };
  ASSERT_TRUE(drive<ForceInputsView>([&] { choose("Service", "Force Digital Inputs…"); },
                                     [&](ForceInputsView& dialog) {
                                       EXPECT_EQ(dialog.windowTitle(), "Force Digital Inputs");
                                       EXPECT_EQ(ignitionState(dialog), "NORM");
                                       retype(dialog, "Ignition Confirm", "1");
                                       save(dialog.grab(), "e2e_force_inputs.png");
                                       buttonNamed(dialog, "Change Status")->click();
                                     }));
  EXPECT_EQ(controller.readRegister(141), 1);
  EXPECT_EQ(stored(141), 1);
  expectPollingResumes();
  ASSERT_TRUE(drive<ForceInputsView>([&] { choose("Service", "Force Digital Inputs…"); },
                                     [&](ForceInputsView& dialog) {
                                       EXPECT_EQ(ignitionState(dialog), "ON");
                                       buttonNamed(dialog, "Release All")->click();
                                     }));
  for (const auto& row : ForceInputsForm::kRows) {
    EXPECT_EQ(controller.readRegister(row.reg), 0) << row.label;
    EXPECT_EQ(stored(row.reg), 0) << row.label;
  }
  expectPollingResumes();

  // This unit's sensor calibrates in 3 s, so the whole run, with the 15 s the
  // dialog waits before asking for the outcome, takes under 20 s.
  controller.writeRegister(REG_CAL_TIMER_START, 3);
  ASSERT_TRUE(drive<FreeAirCalibrationView>(
      [&] { choose("Service", "O2 Free-air Calibration…"); },
      [&](FreeAirCalibrationView& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Oxygen Sensor Free Air Calibration");
        EXPECT_TRUE(shows(dialog, "Attention!"));
        buttonNamed(dialog, "Free Air Cal")->click();
        auto* progress = dialog.findChild<QProgressBar*>();
        EXPECT_TRUE(progress->isVisible());
        EXPECT_EQ(progress->maximum(), 3);
        EXPECT_TRUE(waitFor(
            [&] { return shows(dialog, "O2 Sensor free air calibration is in process: 2"); }, 60s));
        save(dialog.grab(), "e2e_free_air_calibration.png");
        EXPECT_TRUE(waitFor(
            [&] { return shows(dialog, "Free air calibration is successfully completed."); }, 60s));
        EXPECT_FALSE(progress->isVisible());
        buttonNamed(dialog, "Close")->click();
      }));
  EXPECT_EQ(answerer.passwordsGiven, 4);
  const auto writes = controller.writeLog();
  EXPECT_TRUE(std::any_of(writes.begin(), writes.end(), [](const sim::RegisterWrite& write) {
    return write.reg == REG_DO_SENSOR_CAL && write.value == kCalibrationStartCode;
  }));
  EXPECT_EQ(controller.readRegister(62), 0);  // calibrated, no failure
  EXPECT_EQ(controller.readRegister(63), 0);
  expectPollingResumes();

  const auto pdf = data.path() / "traveler_20517.pdf";
  answerer.nextFile = QString::fromStdString(pdf.string());
  ASSERT_TRUE(drive<TravelerReportView>(
      [&] { choose("Service", "Traveler Report…"); },
      [&](TravelerReportView& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Traveler Report");
        EXPECT_EQ(besides(dialog, "Valve Serial Number"), "20517");
        retype(dialog, "Techinician", "R. Ames");
        auto* comment = dialog.findChild<QTextEdit*>();
        comment->setFocus();
        QTest::keyClicks(comment, "Transducer zeroed, O2 sensor calibrated in free air.");
        save(dialog.grab(), "e2e_traveler_report.png");
        buttonNamed(dialog, "Save as PDF…")->click();
        buttonNamed(dialog, "Cancel")->click();
      }));
  {
    std::ifstream file(pdf, std::ios::binary);
    std::string start(5, '\0');
    file.read(start.data(), 5);
    EXPECT_EQ(start, "%PDF-");
  }
  // The report stops polling to read the settings; F12 starts it again.
  press(Qt::Key_F12);
  expectPollingResumes();

  closeWindow();
  std::vector<std::string> expected(4, assistance());  // one for each password given
  expected.push_back("Traveler Report|The traveler report was saved as\n" + pdf.string());
  expected.push_back(kWindowClose);
  EXPECT_EQ(boxes(), expected);
}

}  // namespace
}  // namespace vs
