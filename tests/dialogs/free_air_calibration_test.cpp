// The O2 sensor's free-air calibration on the simulated controller, one
// second at a time: the timer is ticked by hand and the controller's clock is
// moved on with it, so minutes of calibration pass at once.
#include <gtest/gtest.h>

#include <chrono>

#include "dialogs/free_air_calibration_form.h"
#include "dialogs/maintenance_commands.h"
#include "dialogs/password_gate_form.h"
#include "sim/manual_clock.h"
#include "support/controller_bench.h"

namespace vs {
namespace {

using Strings = std::vector<std::string>;
using Calibration = FreeAirCalibrationForm;
constexpr const char* kPleaseWait = "O2 Sensor free air calibration is in process. Please wait...";

sim::ControllerOptions stoppedEngine(sim::ManualClock& clock, int firmware,
                                     sim::CalibrationOutcome outcome) {
  sim::ControllerOptions options;
  options.clock = clock.source();
  options.mode = sim::kModeStopped;
  options.firmwareVersion = firmware;
  options.calibrationOutcome = outcome;
  return options;
}

struct FreeAirCalibration : ::testing::Test {
  explicit FreeAirCalibration(int firmware = 462,
                              sim::CalibrationOutcome outcome = sim::CalibrationOutcome::Success)
      : bench(stoppedEngine(clock, firmware, outcome)) {
    bench.desktop.onForm(PasswordGateForm::kTemplateId, [](Form& form, test::ScriptedFormHost&) {
      auto& gate = dynamic_cast<PasswordGateForm&>(form);
      gate.setPassword("7391");
      gate.ok();
    });
  }

  void run(const std::function<void(Calibration&, test::ScriptedFormHost&)>& script) {
    bench.desktop.onForm(Calibration::kTemplateId, [&](Form& form, test::ScriptedFormHost& host) {
      script(dynamic_cast<Calibration&>(form), host);
    });
    bench.master.clear();
    freeAirCalibrationCommand(bench.ctx);
  }

  // One second of the calibration: the controller's clock, then the tick.
  void second(test::ScriptedFormHost& host) {
    clock.advance(std::chrono::seconds(1));
    host.tick(Calibration::CALIBRATION_TIMER);
  }
  // Seconds until the status registers are read, counting from the start.
  int secondsUntilStatusRead(test::ScriptedFormHost& host, int limit = 200) {
    for (int elapsed = 1; elapsed <= limit; ++elapsed) {
      const std::size_t before = bench.master.requests.size();
      second(host);
      for (std::size_t i = before; i < bench.master.requests.size(); ++i) {
        if (bench.master.requests[i].text() == "3:62x2") return elapsed;
      }
    }
    return -1;
  }

  sim::ManualClock clock;
  test::ControllerBench bench;
};

struct FreeAirCalibrationOn399 : FreeAirCalibration {
  FreeAirCalibrationOn399() : FreeAirCalibration(399) {}
};
struct FailingCalibration : FreeAirCalibration {
  FailingCalibration() : FreeAirCalibration(462, sim::CalibrationOutcome::Failure) {}
};

TEST_F(FreeAirCalibration, CountsDownSixtySecondsAndReadsTheResultFifteenLater) {
  run([this](Calibration& form, test::ScriptedFormHost& host) {
    EXPECT_EQ(form.heading(), "Attention!");
    EXPECT_EQ(form.status(), "Make sure the engine is shut down before proceeding.");
    EXPECT_FALSE(form.progressVisible());
    bench.master.clear();
    form.start();
    EXPECT_EQ(bench.master.texts(), (Strings{"3:28x2", "3:184x2", "6:181=2736"}));
    EXPECT_EQ(form.heading(), "");
    EXPECT_EQ(form.status(), kPleaseWait);
    EXPECT_TRUE(form.progressVisible());
    EXPECT_EQ(form.progressMaximum(), 60);
    EXPECT_EQ(host.timers, (std::map<int, int>{{Calibration::CALIBRATION_TIMER, 1000}}));

    for (int left = 60; left >= 1; --left) {
      second(host);
      ASSERT_EQ(form.status(),
                "O2 Sensor free air calibration is in process: " + std::to_string(left));
    }
    EXPECT_EQ(form.progressPosition(), 60);
    EXPECT_EQ(secondsUntilStatusRead(host), 15);
    EXPECT_EQ(form.status(), "Free air calibration is successfully completed.");
    EXPECT_FALSE(form.progressVisible());
    EXPECT_FALSE(host.timerRunning(Calibration::CALIBRATION_TIMER));
  });
  EXPECT_EQ(bench.desktop.posted, std::deque<int>{CMD_CONNECT});
}

TEST_F(FreeAirCalibration, TheCountdownIsTheControllersCalibrationTime) {
  bench.set(REG_CAL_TIMER_START, 20);
  run([this](Calibration& form, test::ScriptedFormHost& host) {
    form.start();
    EXPECT_EQ(form.progressMaximum(), 20);
    EXPECT_EQ(secondsUntilStatusRead(host), 35);
  });
  EXPECT_EQ(bench.memory.calibrationSeconds, 20);
}

TEST_F(FailingCalibration, AFailedCalibrationIsReported) {
  run([this](Calibration& form, test::ScriptedFormHost& host) {
    form.start();
    EXPECT_EQ(secondsUntilStatusRead(host), 75);
    EXPECT_EQ(form.status(), "Free air calibration failed!");
    EXPECT_EQ(form.progressPosition(), 0);
    EXPECT_FALSE(form.progressVisible());
  });
}

TEST_F(FreeAirCalibration, NoAnswerIsReportedAsATimeOut) {
  run([this](Calibration& form, test::ScriptedFormHost& host) {
    // The start code is not answered: the outcome comes at once.
    bench.faultOnRequest(3, sim::FaultKind::NoReply);  // after 28 and 184
    form.start();
    host.deliverPosted();
    EXPECT_EQ(form.status(), "Communication Time-Out. Please try again.");
    EXPECT_FALSE(host.timerRunning(Calibration::CALIBRATION_TIMER));

    // The status registers are not answered after the wait.
    form.start();
    for (int i = 0; i < 74; ++i) second(host);
    bench.controller.faults().setSilent(true);
    second(host);
    EXPECT_EQ(form.status(), "Communication Time-Out. Please try again.");
    EXPECT_EQ(form.progressPosition(), 0);
  });
}

TEST_F(FreeAirCalibrationOn399, CountsSixtySecondsWhateverRegister184Holds) {
  bench.set(REG_CAL_TIMER_START, 20);
  run([this](Calibration& form, test::ScriptedFormHost& host) {
    bench.master.clear();
    form.start();
    EXPECT_EQ(bench.master.texts(3), Strings{"3:28x2"});
    EXPECT_EQ(form.progressMaximum(), 60);
    EXPECT_EQ(secondsUntilStatusRead(host), 75);
  });
}

TEST_F(FreeAirCalibration, WithoutTheFirmwareTheLastKnownLengthStands) {
  run([this](Calibration& form, test::ScriptedFormHost& host) {
    // The very first start: nothing known, no countdown, the status after 15 s.
    bench.controller.faults().injectNext(sim::FaultKind::Exception, 1);
    form.start();
    EXPECT_EQ(form.progressMaximum(), 0);
    second(host);
    EXPECT_EQ(form.status(), kPleaseWait);
    EXPECT_EQ(secondsUntilStatusRead(host), 14);

    // Once learnt, the length outlives the dialog.
    form.start();
    form.close();
  });
  EXPECT_EQ(bench.memory.calibrationSeconds, 60);
  run([this](Calibration& form, test::ScriptedFormHost&) {
    bench.controller.faults().injectNext(sim::FaultKind::Exception, 1);
    form.start();
    EXPECT_EQ(form.progressMaximum(), 60);
  });
}

TEST_F(FreeAirCalibration, WithTheEngineRunningNothingIsWritten) {
  bench.link.liveValues[LIVE_MODE] = 2;  // the last poll before the dialog opened
  run([this](Calibration& form, test::ScriptedFormHost& host) {
    form.start();
    EXPECT_EQ(form.status(), "Please shut down the engine!");
    EXPECT_EQ(form.heading(), "Attention!");
    EXPECT_TRUE(bench.master.texts(6).empty());
    EXPECT_FALSE(host.timerRunning(Calibration::CALIBRATION_TIMER));
  });
}

TEST_F(FreeAirCalibration, WithoutAnAnswerThereIsNoPasswordAndNoDialog) {
  bench.controller.faults().setSilent(true);
  run([](Calibration&, test::ScriptedFormHost&) { ADD_FAILURE() << "the dialog opened"; });
  ASSERT_EQ(bench.desktop.boxes.size(), 1u);
  EXPECT_EQ(bench.desktop.boxes[0].text, "Valvescope is not connected to QX4.");
  EXPECT_EQ(bench.desktop.boxes[0].icon, Icon::None);
  EXPECT_FALSE(bench.desktop.boxes[0].owned);
  EXPECT_TRUE(bench.desktop.formsRun.empty());
  EXPECT_EQ(bench.desktop.posted, std::deque<int>{CMD_CONNECT});
}

}  // namespace
}  // namespace vs
