#include <gtest/gtest.h>

#include "dialogs/o2_sensor_settings_form.h"
#include "dialogs/settings_commands.h"
#include "support/controller_bench.h"

namespace vs {
namespace {

using Strings = std::vector<std::string>;
using O2 = O2SensorSettingsForm;

struct O2SensorDialog : ::testing::Test {
  void use(int firmware) {
    sim::ControllerOptions options;
    options.firmwareVersion = firmware;
    bench = std::make_unique<test::ControllerBench>(options);
    bench->link.firmwareVersion = 0;  // the command reads it itself
    bench->set(114, 20500);           // o2_sp
    bench->set(130, 12);              // o2_intgral
    bench->set(145, 120);             // warmup_timer_start
    bench->set(184, 45);              // cal_timer_start
  }

  void run(const std::function<void(O2SensorSettingsForm&)>& script) {
    EXPECT_TRUE(bench->runWith<O2SensorSettingsForm>(o2SensorSettingsCommand, script));
  }

  std::unique_ptr<test::ControllerBench> bench;
};

TEST_F(O2SensorDialog, ShowsAndWritesTheO2LoopWithTheHiddenTimerCarriedThrough) {
  use(462);
  std::string status;
  run([&](O2SensorSettingsForm& form) {
    EXPECT_EQ(form.caption(), "  ");
    EXPECT_EQ(form.text(O2::SET_POINT), "20.500");
    EXPECT_EQ(form.text(O2::INTEGRAL_GAIN), "12");
    EXPECT_EQ(form.text(O2::WARM_UP_TIMER), "120");
    EXPECT_EQ(form.text(O2::CALIBRATION_TIMER), "45");
    EXPECT_EQ(form.fields().back().state, FieldState::Hidden);
    bench->master.clear();
    form.setText(O2::CALIBRATION_TIMER, "9");  // cannot be edited
    form.setText(O2::SET_POINT, "18.25");
    form.setText(O2::WARM_UP_TIMER, "300");
    form.change();
    status = form.status();
  });
  EXPECT_EQ(bench->master.texts(), (Strings{"6:114=18250", "6:130=12", "6:145=300", "6:184=45"}));
  EXPECT_EQ(status, "Valve settings are successfully updated!");
  EXPECT_EQ(bench->link.firmwareVersion, 462);
  EXPECT_EQ(bench->link.warmUpSetting, 120);
  EXPECT_EQ(bench->desktop.posted, (std::deque<int>{CMD_DISCONNECT, CMD_CONNECT}));
}

TEST_F(O2SensorDialog, ReadsWhatTheFirmwareOffers) {
  struct Case {
    int firmware;
    Strings reads;
    std::string timer;
  };
  const Case cases[] = {
      {462, {"3:28x2", "3:112x22", "3:145x27", "3:184x2"}, "45"},
      {400, {"3:28x2", "3:112x22", "3:145x27", "3:184x2"}, "45"},
      {399, {"3:28x2", "3:112x22", "3:145x27"}, "60"},
      {140, {"3:28x2", "3:112x22", "3:145x27"}, "60"},
      {139, {"3:28x2", "3:112x22", "3:145x10"}, "60"},
  };
  for (const Case& c : cases) {
    use(c.firmware);
    run([&](O2SensorSettingsForm& form) {
      EXPECT_EQ(form.text(O2::CALIBRATION_TIMER), c.timer) << c.firmware;
      EXPECT_EQ(form.text(O2::WARM_UP_TIMER), "120") << c.firmware;
      EXPECT_EQ(bench->master.texts(), c.reads) << c.firmware;
      bench->master.clear();
      form.change();
    });
    // The timer goes back whatever the firmware, 60 where it was never read.
    EXPECT_EQ(bench->master.texts().back(), "6:184=" + c.timer) << c.firmware;
  }
}

TEST_F(O2SensorDialog, RefusesASetPointOutsideTheRegister) {
  use(462);
  run([&](O2SensorSettingsForm& form) {
    bench->master.clear();
    form.setText(O2::SET_POINT, "40");
    form.change();
    EXPECT_EQ(form.status(),
              "O2 Sensor Set Point must lie between -32.768 and 32.767. Nothing was written.");
    form.setText(O2::SET_POINT, "20");
    form.setText(O2::INTEGRAL_GAIN, "65536");
    form.change();
    EXPECT_EQ(form.status(), "O2 Integral Gain must lie between 0 and 65535. Nothing was written.");
  });
  EXPECT_TRUE(bench->master.requests.empty());
}

TEST_F(O2SensorDialog, AnyFailedReadGivesTheNoticeInstead) {
  use(462);
  bench->faultOnRequest(4, sim::FaultKind::Exception);  // the timer read
  o2SensorSettingsCommand(bench->ctx);
  EXPECT_TRUE(bench->desktop.formsRun.empty());
  ASSERT_EQ(bench->desktop.boxes.size(), 1u);
  EXPECT_EQ(bench->desktop.boxes[0].text, "Failed to read valve settings.");
  EXPECT_TRUE(bench->desktop.posted.empty());
  EXPECT_EQ(bench->master.texts().size(), 4u);
}

}  // namespace
}  // namespace vs
