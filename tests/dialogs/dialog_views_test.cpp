// The Qt views of the password gate, the pressure and O2 settings and the
// zeroing instructions, each on a form bound to the simulated controller:
// what a technician types reaches the right register, and a picture of each
// dialog is saved for a look.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "dialogs/o2_sensor_settings_form.h"
#include "dialogs/password_gate_form.h"
#include "dialogs/pressure_settings_form.h"
#include "dialogs/zero_transducer_form.h"
#include "support/controller_bench.h"
#include "support/view_harness.h"

namespace vs {
namespace {

using test::answerNextBox;
using test::buttonNamed;
using test::editBesides;
using test::runView;
using test::savePicture;
using test::statusLine;

// Replaces an edit's text the way a technician does: focus, then type.
void type(QLineEdit* edit, const QString& text) {
  ASSERT_NE(edit, nullptr);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

std::array<std::int16_t, 22> settingsBlock(test::ControllerBench& bench) {
  std::array<std::int16_t, 22> block{};
  bench.master.readHoldingRegisters(1, 112, block.data(), 22);
  return block;
}

TEST(DialogViews, PressureSettingsWritesWhatIsTypedAndRefusesWhatDoesNotFit) {
  test::ControllerBench bench;
  std::array<std::int16_t, 2> extra{};
  bench.master.readHoldingRegisters(1, 188, extra.data(), 2);
  PressureSettingsForm form(bench.ctx, settingsBlock(bench), extra);
  QString refused;
  const int result = runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Pressure Settings");
    type(editBesides(dialog, "Default Pressure"), "2.5");
    type(editBesides(dialog, "Minimum Pressure Limit"), "-1.2345");
    // Only what can make a number gets into a pressure edit.
    type(editBesides(dialog, "Maximum Pressure Limit"), "20,5");
    EXPECT_EQ(editBesides(dialog, "Maximum Pressure Limit")->text(), "205");
    type(editBesides(dialog, "Maximum Pressure Limit"), "20");
    type(editBesides(dialog, "Pressure Proportional Gain"), "7x0000");
    QTest::keyClick(editBesides(dialog, "Pressure Proportional Gain"), Qt::Key_Return);
    refused = statusLine(dialog);
    savePicture(dialog, "pressure_settings_refused");
    type(editBesides(dialog, "Pressure Proportional Gain"), "250");
    buttonNamed(dialog, "Change")->click();
    EXPECT_EQ(statusLine(dialog), "Valve settings are successfully updated!");
    savePicture(dialog, "pressure_settings");
    buttonNamed(dialog, "Save && Close")->click();
  });
  EXPECT_EQ(result, 2);
  EXPECT_EQ(refused,
            "Pressure Proportional Gain must lie between 0 and 65535. Nothing was written.");
  EXPECT_EQ(bench.get(123), 2500);
  EXPECT_EQ(bench.get(133), -1234);
  EXPECT_EQ(bench.get(132), 20000);
  EXPECT_EQ(bench.get(126), 250);
  EXPECT_EQ(bench.controller.saveCount(), 1);
  EXPECT_TRUE(bench.desktop.timerRunning(POLL_TIMER));
}

TEST(DialogViews, O2SensorSettingsShowsThreeEditsAndKeepsTheTimerHidden) {
  test::ControllerBench bench;
  O2SensorSettings values;
  values.setPoint = 20500;
  values.integralGain = 12;
  values.warmUpSeconds = 120;
  values.calibrationTimer = 45;
  O2SensorSettingsForm form(bench.ctx, values);
  runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "  ");
    int visible = 0;
    for (auto* edit : dialog.findChildren<QLineEdit*>()) visible += edit->isVisible();
    EXPECT_EQ(visible, 3);
    EXPECT_EQ(editBesides(dialog, "O2 Sensor Set Point")->text(), "20.500");
    type(editBesides(dialog, "O2 Sensor Warm-up Timer"), "90");
    buttonNamed(dialog, "Change")->click();
    savePicture(dialog, "o2_sensor_settings");
  });
  EXPECT_EQ(bench.get(145), 90);
  EXPECT_EQ(bench.get(184), 45);
  EXPECT_EQ(bench.get(114), 20500);
}

TEST(DialogViews, PasswordGateMasksDigitsAndWarnsAboutAWrongPassword) {
  test::qtApplication();
  ValveLink link;
  PasswordGateForm form(link);
  QString warning;
  QString assistance;
  const int result = runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Required Information");
    auto* edit = dialog.findChild<QLineEdit*>();
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    QTest::keyClicks(edit, "12a34");
    EXPECT_EQ(edit->text(), "1234");
    savePicture(dialog, "password_gate");
    answerNextBox("password_wrong", &warning);
    buttonNamed(dialog, "OK")->click();
    EXPECT_EQ(edit->text(), "");
    QTest::keyClicks(edit, "07391");
    answerNextBox("password_assistance", &assistance);
    QTest::keyClick(edit, Qt::Key_Return);
  });
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(link.settingsLocked);
  EXPECT_EQ(warning.toStdString(), "Warning|" + PasswordGateForm::kWrongPasswordText);
  EXPECT_EQ(assistance.toStdString(), "Assistance|" + PasswordGateForm::kAssistanceText);
}

TEST(DialogViews, PasswordGateCloseBoxCancels) {
  test::qtApplication();
  ValveLink link;
  link.settingsLocked = false;
  PasswordGateForm form(link);
  EXPECT_EQ(runView(form, [](QDialog&) {}), 2);
  EXPECT_TRUE(link.settingsLocked);
}

TEST(DialogViews, ZeroTransducerShowsTheStepsAndRequestsTheZeroing) {
  test::ControllerBench bench;
  ZeroTransducerForm form(bench.ctx, 0);
  const int result = runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "ATTENTION!");
    for (const auto text : ZeroTransducerForm::kTexts) {
      bool shown = false;
      for (auto* label : dialog.findChildren<QLabel*>()) {
        shown |= label->text().toStdString() == text;
      }
      EXPECT_TRUE(shown) << text;
    }
    savePicture(dialog, "zero_transducer");
    buttonNamed(dialog, "ZERO Transducer")->click();
    buttonNamed(dialog, "Close")->click();
  });
  EXPECT_EQ(result, 2);
  EXPECT_EQ(bench.get(153), 1);
  EXPECT_EQ(bench.controller.saveCount(), 1);
}

}  // namespace
}  // namespace vs
