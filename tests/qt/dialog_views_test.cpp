// The Qt views of the password gate, the pressure and O2 settings, the
// zeroing instructions and the port selection, each on a form bound to the
// simulated controller: what a technician types reaches the right register,
// and a picture of each dialog is saved for a look.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "dialogs/o2_sensor_settings_form.h"
#include "dialogs/password_gate_form.h"
#include "dialogs/port_selection_form.h"
#include "dialogs/pressure_settings_form.h"
#include "dialogs/zero_transducer_form.h"
#include "qt/view_harness.h"
#include "support/controller_bench.h"

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

// Every key typed stays in the edit and counts: a decimal comma is a decimal
// separator, and a whole-number field refuses "2,5" by name rather than take
// it for 25.
TEST(DialogViews, PressureSettingsWritesWhatIsTypedAndRefusesWhatDoesNotFit) {
  test::ControllerBench bench;
  std::array<std::int16_t, 2> extra{};
  bench.master.readHoldingRegisters(1, 188, extra.data(), 2);
  PressureSettingsForm form(bench.ctx, settingsBlock(bench), extra);
  QString notWhole;
  QString tooLarge;
  const int result = runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Pressure Settings");
    type(editBesides(dialog, "Default Pressure"), "2,5");
    type(editBesides(dialog, "Minimum Pressure Limit"), "-1.2345");
    type(editBesides(dialog, "Maximum Pressure Limit"), "20,5");
    EXPECT_EQ(editBesides(dialog, "Maximum Pressure Limit")->text(), "20,5");
    type(editBesides(dialog, "Pressure Proportional Gain"), "2,5");
    EXPECT_EQ(editBesides(dialog, "Pressure Proportional Gain")->text(), "2,5");
    QTest::keyClick(editBesides(dialog, "Pressure Proportional Gain"), Qt::Key_Return);
    notWhole = statusLine(dialog);
    savePicture(dialog, "pressure_settings_refused");
    type(editBesides(dialog, "Pressure Proportional Gain"), "70000");
    buttonNamed(dialog, "Change")->click();
    tooLarge = statusLine(dialog);
    type(editBesides(dialog, "Pressure Proportional Gain"), "250");
    buttonNamed(dialog, "Change")->click();
    EXPECT_EQ(statusLine(dialog), "Valve settings are successfully updated!");
    savePicture(dialog, "pressure_settings");
    buttonNamed(dialog, "Save && Close")->click();
  });
  EXPECT_EQ(result, 2);
  EXPECT_EQ(notWhole, "Pressure Proportional Gain must be a whole number. Nothing was written.");
  EXPECT_EQ(tooLarge,
            "Pressure Proportional Gain must lie between 0 and 65535. Nothing was written.");
  EXPECT_EQ(bench.get(123), 2500);
  EXPECT_EQ(bench.get(133), -1234);
  EXPECT_EQ(bench.get(132), 20500);
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

TEST(DialogViews, PasswordGateMasksWhatIsTypedAndWarnsAboutAWrongPassword) {
  test::qtApplication();
  ValveLink link;
  PasswordGateForm form(link);
  QString warning;
  QString assistance;
  const int result = runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Required Information");
    auto* edit = dialog.findChild<QLineEdit*>();
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    // Behind the mask a dropped key would go unseen: the comma stays, and
    // the password is refused.
    QTest::keyClicks(edit, "7,391");
    EXPECT_EQ(edit->text(), "7,391");
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

// The Device ID is read whole: "2,5" is refused, not taken for 25 (or 0, the
// address of every controller on the line).
TEST(DialogViews, PortSelectionRefusesADeviceIdThatIsNotAWholeNumber) {
  test::qtApplication();
  ValveLink link;
  PortSelectionForm form(link, {});
  QString refusal;
  const int result = runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Select Communication Port");
    type(editBesides(dialog, "COM"), "3");
    type(editBesides(dialog, "Device ID"), "2,5");
    EXPECT_EQ(editBesides(dialog, "Device ID")->text(), "2,5");
    answerNextBox("port_selection_refused", &refusal);
    buttonNamed(dialog, "OK")->click();
    EXPECT_TRUE(dialog.isVisible());
    savePicture(dialog, "port_selection");
    type(editBesides(dialog, "Device ID"), "7");
    buttonNamed(dialog, "OK")->click();
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(refusal.toStdString(), std::string("Notice|") + PortSelectionForm::kDeviceIdRefused);
  EXPECT_EQ(link.portName, "COM3");
  EXPECT_EQ(link.slaveAddress, 7);
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
