// The Qt views of the maintenance dialogs and the traveler report, each bound
// to its form on the simulated controller: what is typed and clicked reaches
// the controller, and a picture of every dialog is saved for a look.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QTextEdit>

#include "dialogs/force_inputs_form.h"
#include "dialogs/free_air_calibration_form.h"
#include "dialogs/governor_settings_form.h"
#include "dialogs/o2_schedule_form.h"
#include "qt/view_harness.h"
#include "report/traveler_report_form.h"
#include "support/controller_bench.h"

namespace vs {
namespace {

using test::answerNextBox;
using test::buttonNamed;
using test::runView;
using test::savePicture;

// The edit a label names (its buddy), typed into as a technician does.
QLineEdit* labelled(QDialog& dialog, const QString& label) {
  const auto labels = dialog.findChildren<QLabel*>();
  const auto it = std::find_if(labels.begin(), labels.end(),
                               [&label](QLabel* text) { return text->text() == label; });
  return it == labels.end() ? nullptr : qobject_cast<QLineEdit*>((*it)->buddy());
}

void retype(QDialog& dialog, const QString& label, const QString& text) {
  QLineEdit* edit = labelled(dialog, label);
  ASSERT_NE(edit, nullptr) << label.toStdString();
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

bool shows(QDialog& dialog, const QString& text) {
  const auto labels = dialog.findChildren<QLabel*>();
  return std::any_of(labels.begin(), labels.end(),
                     [&text](QLabel* label) { return label->text() == text; });
}

sim::ControllerOptions firmware(int version) {
  sim::ControllerOptions options;
  options.firmwareVersion = version;
  return options;
}

TEST(MaintenanceViews, ScheduleWritesATypedPointAndSavesOnClose) {
  test::ControllerBench bench;
  O2ScheduleForm::Block block{};
  bench.master.readHoldingRegisters(1, 194, block.data(), 18);
  O2ScheduleForm form(bench.ctx, block);
  const int result = runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Dynamic O2 Sensor Set Point Schedule");
    EXPECT_TRUE(shows(dialog, "Pressure Set point"));
    EXPECT_TRUE(shows(dialog, "O2 Sensor Set point"));
    EXPECT_TRUE(shows(dialog, "Dynamic schedule is off."));
    retype(dialog, "Point 3", "3,25");  // a decimal comma, as many keyboards write it
    buttonNamed(dialog, "Change")->click();
    EXPECT_TRUE(shows(dialog, "Valve settings are successfully updated!"));
    // Wide enough for its title: the bold text, with room for the title
    // bar's icon and buttons.
    QFont bold = dialog.font();
    bold.setBold(true);
    EXPECT_GE(dialog.width(), QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) +
                                  6 * QFontMetrics(bold).height());
    savePicture(dialog, "o2_schedule");
    buttonNamed(dialog, "Close")->click();
  });
  EXPECT_EQ(result, 2);
  EXPECT_EQ(bench.get(196), 3250);
  EXPECT_EQ(bench.controller.saveCount(), 1);
}

TEST(MaintenanceViews, GovernorStepsTheSpeedGainWithTheArrowKeys) {
  test::ControllerBench bench;
  GovernorSettingsForm::GovernorBlock governor{};
  GovernorSettingsForm::DerivativePair derivative{};
  bench.master.readHoldingRegisters(1, 145, governor.data(), 27);
  bench.master.readHoldingRegisters(1, 178, derivative.data(), 2);
  GovernorSettingsForm form(bench.ctx, governor, derivative);
  runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Governor Settings");
    EXPECT_NE(labelled(dialog, "Intregral Gain (Max)"), nullptr);
    QLineEdit* gain = labelled(dialog, "Speed Gain (ADC)");
    ASSERT_NE(gain, nullptr);
    gain->setFocus();
    QTest::keyClick(gain, Qt::Key_Up);
    QTest::keyClick(gain, Qt::Key_Up);
    EXPECT_EQ(gain->text(), "102");
    QTest::keyClick(gain, Qt::Key_Down);
    EXPECT_EQ(gain->text(), "101");
    // A gain is a whole number: "2,5" is refused by name, never taken for 25.
    retype(dialog, "Proportional Gain (Min)", "2,5");
    buttonNamed(dialog, "Change")->click();
    EXPECT_TRUE(
        shows(dialog, "Proportional Gain (Min) must be a whole number. Nothing was written."));
    savePicture(dialog, "governor_settings_refused");
    retype(dialog, "Proportional Gain (Min)", "25");
    retype(dialog, "Speed Set Point", "1500");
    buttonNamed(dialog, "Change")->click();
    EXPECT_TRUE(shows(dialog, "Valve settings are successfully updated!"));
    savePicture(dialog, "governor_settings");
  });
  EXPECT_EQ(bench.get(163), 101);
  EXPECT_EQ(bench.get(155), 25);
  EXPECT_EQ(bench.get(160), 1500);
}

TEST(MaintenanceViews, GovernorOn439LeavesTheIcSpeedGainEmptyAndDisabled) {
  test::ControllerBench bench(firmware(439));
  GovernorSettingsForm form(bench.ctx, {}, {});
  runView(form, [&](QDialog& dialog) {
    QLineEdit* ic = labelled(dialog, "Speed Gain (IC)");
    ASSERT_NE(ic, nullptr);
    EXPECT_FALSE(ic->isEnabled());
    EXPECT_EQ(ic->text(), "");
  });
}

// "0,5" is no force value: refused by row, never read as 0 (NORM).
TEST(MaintenanceViews, ForceInputsChangesTheTypedSignal) {
  test::ControllerBench bench;
  bench.set(141, -1);
  ForceInputsForm form(bench.ctx);
  QString refusal;
  const int result = runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Force Digital Inputs");
    retype(dialog, "Ignition Confirm", "0,5");
    EXPECT_EQ(labelled(dialog, "Ignition Confirm")->text(), "0,5");
    answerNextBox("force_inputs_refused", &refusal);
    buttonNamed(dialog, "Change Status")->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(bench.get(141), -1);
    retype(dialog, "Ignition Confirm", "1");
    savePicture(dialog, "force_inputs");
    buttonNamed(dialog, "Change Status")->click();
  });
  EXPECT_EQ(refusal,
            "Notice|Ignition Confirm: a force value is -1 (OFF), 0 (NORM) or 1 (ON). Nothing was "
            "written.");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(bench.get(141), 1);
  EXPECT_EQ(bench.controller.saveCount(), 1);
}

TEST(MaintenanceViews, FreeAirCalibrationShowsItsProgress) {
  sim::ControllerOptions options;
  options.mode = sim::kModeStopped;
  test::ControllerBench bench(options);
  FreeAirCalibrationForm form(bench.ctx);
  runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Oxygen Sensor Free Air Calibration");
    EXPECT_TRUE(shows(dialog, "Attention!"));
    savePicture(dialog, "free_air_calibration");
    auto* progress = dialog.findChild<QProgressBar*>();
    EXPECT_FALSE(progress->isVisible());
    buttonNamed(dialog, "Free Air Cal")->click();
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->maximum(), 60);
    EXPECT_TRUE(shows(dialog, "O2 Sensor free air calibration is in process. Please wait..."));
    savePicture(dialog, "free_air_calibration_running");
  });
  EXPECT_EQ(bench.get(181), kCalibrationStartCode);
}

TEST(MaintenanceViews, TravelerReportSavesTheWrappedCommentAsPdf) {
  test::ControllerBench bench;
  TravelerReportForm form(bench.ctx);
  const std::string pdf = (bench.data / "traveler.pdf").string();
  QString saved;
  runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Traveler Report");
    EXPECT_EQ(dialog.findChild<QComboBox*>()->currentText(), "QX4");
    QLineEdit* serial = labelled(dialog, "Valve Serial Number");
    ASSERT_NE(serial, nullptr);
    EXPECT_EQ(serial->text(), "20517");
    EXPECT_TRUE(serial->isReadOnly());
    retype(dialog, "Techinician", "R. Ames");
    auto* comment = dialog.findChild<QTextEdit*>();
    comment->setFocus();
    QTest::keyClicks(comment, QString("Valve bench-tested at 3.5 in. W.C. ").repeated(8));
    EXPECT_EQ(comment->toPlainText().size(), 240);
    savePicture(dialog, "traveler_report");

    QTimer::singleShot(0, [&] {
      auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(chooser, nullptr);
      answerNextBox("traveler_pdf_saved", &saved);
      EXPECT_TRUE(test::acceptFileChooser(*chooser, QString::fromStdString(pdf)));
    });
    buttonNamed(dialog, "Save as PDF…")->click();
  });
  EXPECT_TRUE(saved.startsWith("Traveler Report|The traveler report was saved as"))
      << saved.toStdString();
  EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
}

TEST(MaintenanceViews, TravelerReportEndsAfterAPrintDialogThatWasCancelled) {
  test::ControllerBench bench;
  TravelerReportForm form(bench.ctx);
  bool asked = false;
  const int result = runView(form, [&](QDialog& dialog) {
    QTimer::singleShot(0, [&] {
      auto* printDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      asked = printDialog != nullptr && printDialog != &dialog;
      if (asked) printDialog->reject();
    });
    buttonNamed(dialog, "Print")->click();
  });
  EXPECT_TRUE(asked);
  EXPECT_EQ(result, 1);
}

}  // namespace
}  // namespace vs
