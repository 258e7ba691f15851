#include <gtest/gtest.h>

#include <algorithm>

#include "dialogs/pressure_settings_form.h"
#include "dialogs/settings_commands.h"
#include "support/controller_bench.h"

namespace vs {
namespace {

using Strings = std::vector<std::string>;
using P = PressureSettingsForm;

struct PressureSettings : ::testing::Test {
  void SetUp() override { use(test::ControllerBench::kLatestFirmware); }

  // A bench whose controller runs the given firmware, holding known settings.
  void use(int firmware) {
    sim::ControllerOptions options;
    options.firmwareVersion = firmware;
    bench = std::make_unique<test::ControllerBench>(options);
    bench->set(123, 2500);    // default_pressure
    bench->set(132, 24000);   // max_pressure
    bench->set(133, -8000);   // min_pressure
    bench->set(126, 100);     // pressure_prop
    bench->set(127, -25536);  // pressure_intgral, 40000 as a pattern
    bench->set(188, 1750);    // alt_start_pressure
  }

  // Runs the command with a script for the dialog; the script sees the form.
  void run(const std::function<void(PressureSettingsForm&)>& script) {
    EXPECT_TRUE(bench->runWith<PressureSettingsForm>(pressureSettingsCommand, script));
  }

  std::unique_ptr<test::ControllerBench> bench;
};

TEST_F(PressureSettings, ShowsTheRegistersAndWritesBackExactlyWhatIsTyped) {
  std::string status;
  run([&](PressureSettingsForm& form) {
    EXPECT_EQ(form.caption(), "Pressure Settings");
    EXPECT_EQ(form.text(P::DEFAULT_PRESSURE), "2.500");
    EXPECT_EQ(form.text(P::MAX_PRESSURE), "24.000");
    EXPECT_EQ(form.text(P::MIN_PRESSURE), "-8.000");
    EXPECT_EQ(form.text(P::PROPORTIONAL_GAIN), "100");
    EXPECT_EQ(form.text(P::INTEGRAL_GAIN), "40000");
    EXPECT_EQ(form.text(P::ALT_START_PRESSURE), "1.750");
    bench->master.clear();
    form.setText(P::DEFAULT_PRESSURE, "3.25");
    form.setText(P::MIN_PRESSURE, "-1.2345");
    form.setText(P::MAX_PRESSURE, "20");
    form.setText(P::PROPORTIONAL_GAIN, "65535");
    form.setText(P::ALT_START_PRESSURE, "");
    form.change();
    status = form.status();
    EXPECT_FALSE(form.isEnded());
  });
  EXPECT_EQ(bench->master.texts(), (Strings{"6:126=-1", "6:127=-25536", "6:133=-1234",
                                            "6:132=20000", "6:123=3250", "6:188=0"}));
  EXPECT_EQ(status, "Valve settings are successfully updated!");
  EXPECT_EQ(bench->get(133), -1234);
  EXPECT_DOUBLE_EQ(bench->link.pressureRangeMin, -1.234);
  EXPECT_DOUBLE_EQ(bench->link.pressureRangeMax, 20.0);
}

TEST_F(PressureSettings, ReadsTheAlternativeStartPressureFromFirmware462) {
  run([](PressureSettingsForm& form) { form.close(); });
  EXPECT_EQ(bench->master.texts(), (Strings{"3:112x22", "3:188x2"}));

  use(461);
  run([&](PressureSettingsForm& form) {
    EXPECT_EQ(form.fields().back().state, FieldState::Disabled);
    form.setText(P::ALT_START_PRESSURE, "5");  // a disabled edit takes no text
    EXPECT_EQ(form.text(P::ALT_START_PRESSURE), "0.000");
    form.change();
  });
  EXPECT_EQ(bench->master.texts(), (Strings{"3:112x22", "6:126=100", "6:127=-25536", "6:133=-8000",
                                            "6:132=24000", "6:123=2500"}));
}

TEST_F(PressureSettings, RefusesANumberThatDoesNotFitAndWritesNothing) {
  Strings statuses;
  run([&](PressureSettingsForm& form) {
    bench->master.clear();
    form.setText(P::PROPORTIONAL_GAIN, "70000");
    form.change();
    statuses.push_back(form.status());
    form.setText(P::PROPORTIONAL_GAIN, "100");
    form.setText(P::DEFAULT_PRESSURE, "32.768");
    form.change();
    statuses.push_back(form.status());
    form.setText(P::DEFAULT_PRESSURE, "-40");
    form.change();
    statuses.push_back(form.status());
  });
  EXPECT_TRUE(bench->master.requests.empty());
  EXPECT_EQ(statuses, (Strings{
                          "Pressure Proportional Gain must lie between 0 and 65535. Nothing was "
                          "written.",
                          "Default Pressure must lie between -32.768 and 32.767. Nothing was "
                          "written.",
                          "Default Pressure must lie between -32.768 and 32.767. Nothing was "
                          "written.",
                      }));
  EXPECT_DOUBLE_EQ(bench->link.pressureRangeMin, -8.0);  // untouched
}

TEST_F(PressureSettings, AFailedWriteIsReportedAfterEveryWriteWasTried) {
  std::string status;
  run([&](PressureSettingsForm& form) {
    bench->master.clear();
    bench->faultOnRequest(3, sim::FaultKind::Exception);
    form.setText(P::MIN_PRESSURE, "-2");
    form.setText(P::MAX_PRESSURE, "12");
    form.change();
    status = form.status();
  });
  EXPECT_EQ(bench->master.texts(6).size(), 6u);
  EXPECT_NE(bench->master.requests[2].result, 0);
  EXPECT_EQ(bench->get(133), -8000);  // refused
  EXPECT_EQ(bench->get(132), 12000);  // the others still went
  EXPECT_EQ(status, "Failed to update the settings.");
  // The scales follow what was entered even so.
  EXPECT_DOUBLE_EQ(bench->link.pressureRangeMin, -2.0);
  EXPECT_DOUBLE_EQ(bench->link.pressureRangeMax, 12.0);
}

TEST_F(PressureSettings, SaveAndCloseStoresWhatTheControllerHoldsAndReconnects) {
  run([&](PressureSettingsForm& form) {
    bench->master.clear();
    form.setText(P::DEFAULT_PRESSURE, "9");  // typed but never changed: lost
    form.saveAndClose();
  });
  EXPECT_EQ(bench->master.texts(), Strings{"6:144=4660"});
  EXPECT_EQ(bench->get(123), 2500);
  EXPECT_EQ(bench->controller.saveCount(), 1);
  EXPECT_TRUE(bench->desktop.timerRunning(POLL_TIMER));
  EXPECT_EQ(bench->desktop.posted, (std::deque<int>{CMD_DISCONNECT, CMD_CONNECT}));
  EXPECT_EQ(bench->desktop.calls.front(), "killTimer 5001");
}

// Close while Change is out on the line: the write in hand finishes, the rest
// is not sent, the technician is told what reached the controller, and the
// dialog closes as Close does. A second click meanwhile starts nothing.
TEST_F(PressureSettings, CloseDuringChangeStopsAfterTheWriteInHand) {
  std::vector<std::string> boxes;
  std::vector<bool> busy;
  bench->desktop.onForm(P::kTemplateId, [&](Form& form, test::ScriptedFormHost& host) {
    auto& pressure = dynamic_cast<P&>(form);
    bench->master.clear();
    int waits = 0;
    bench->desktop.whileWaiting = [&] {
      if (++waits != 2) return;
      pressure.act([&] { pressure.change(); });
      pressure.closeBox();
    };
    pressure.setText(P::DEFAULT_PRESSURE, "3.25");
    pressure.act([&] { pressure.change(); });
    bench->desktop.whileWaiting = nullptr;
    EXPECT_TRUE(pressure.isEnded());
    for (const auto& box : host.boxes) boxes.push_back(box.text);
    busy = host.busyChanges;
  });
  pressureSettingsCommand(bench->ctx);
  EXPECT_EQ(bench->master.texts(), (Strings{"6:126=100", "6:127=-25536"}));
  EXPECT_EQ(boxes, Strings{"The dialog was closed part-way through its writes: the first 2 of 6 "
                           "went out, the other 4 were not sent.\nOpen the dialog again to see "
                           "what the controller holds now."});
  EXPECT_EQ(busy, (std::vector<bool>{true, false}));
  EXPECT_EQ(bench->get(123), 2500);
  EXPECT_EQ(bench->desktop.posted, (std::deque<int>{CMD_DISCONNECT, CMD_CONNECT}));
  EXPECT_TRUE(bench->desktop.timerRunning(POLL_TIMER));
}

TEST_F(PressureSettings, AFailedSaveKeepsTheDialogOpen) {
  run([&](PressureSettingsForm& form) {
    bench->controller.faults().injectNext(sim::FaultKind::Exception, 1);
    form.saveAndClose();
    EXPECT_FALSE(form.isEnded());
    EXPECT_EQ(form.status(), "Failed to save new settings.");
    form.saveAndClose();
    EXPECT_TRUE(form.isEnded());
  });
  EXPECT_EQ(bench->controller.saveCount(), 1);
}

TEST_F(PressureSettings, CloseAndTheCloseBoxEndWithoutWriting) {
  run([](PressureSettingsForm& form) { form.close(); });
  bench->desktop.formScripts.clear();
  pressureSettingsCommand(bench->ctx);  // unscripted: the close box
  EXPECT_TRUE(bench->master.texts(6).empty());
  EXPECT_TRUE(bench->desktop.timerRunning(POLL_TIMER));
  const auto& calls = bench->desktop.calls;
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "post 40002"), 2);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "post 40001"), 2);
}

TEST_F(PressureSettings, ASilentControllerGetsTheReadFailureAndNoDialog) {
  bench->controller.faults().setSilent(true);
  pressureSettingsCommand(bench->ctx);
  EXPECT_TRUE(bench->desktop.formsRun.empty());
  ASSERT_EQ(bench->desktop.boxes.size(), 1u);
  EXPECT_EQ(bench->desktop.boxes[0].text, "Failed to read valve settings.");
  EXPECT_EQ(bench->desktop.boxes[0].caption, "Notice");
  EXPECT_EQ(bench->desktop.boxes[0].icon, Icon::Exclamation);
  EXPECT_TRUE(bench->desktop.boxes[0].owned);
  EXPECT_FALSE(bench->desktop.timerRunning(POLL_TIMER));
  EXPECT_TRUE(bench->desktop.posted.empty());
}

TEST_F(PressureSettings, AnUntouchedChangeRewritesEveryValueAsRead) {
  // Values whose three-decimal text does not survive binary floating point.
  const std::int16_t values[] = {-32763, 1001, 4349, -32768, 32767};
  for (const std::int16_t value : values) {
    bench->set(123, value);
    bench->set(132, value);
    bench->set(133, value);
    bench->set(188, value);
    run([](PressureSettingsForm& form) { form.change(); });
    EXPECT_EQ(bench->get(123), value);
    EXPECT_EQ(bench->get(132), value);
    EXPECT_EQ(bench->get(133), value);
    EXPECT_EQ(bench->get(188), value);
    EXPECT_EQ(bench->get(127), -25536);
  }
}

}  // namespace
}  // namespace vs
