// Governor settings through the main-window command on the simulated
// controller: the three writes, the registers carried through, firmware with
// and without the IC speed gain, and what is refused.
#include <gtest/gtest.h>

#include "dialogs/governor_settings_form.h"
#include "dialogs/maintenance_commands.h"
#include "support/controller_bench.h"

namespace vs {
namespace {

using Strings = std::vector<std::string>;
using Form114 = GovernorSettingsForm;

sim::ControllerOptions firmware(int version) {
  sim::ControllerOptions options;
  options.firmwareVersion = version;
  return options;
}

struct GovernorSettings : ::testing::Test {
  explicit GovernorSettings(int version = 462) : bench(firmware(version)) {}

  void run(const std::function<void(Form114&)>& script) {
    bench.desktop.onForm(Form114::kTemplateId, [&](Form& form, test::ScriptedFormHost&) {
      auto& governor = dynamic_cast<Form114&>(form);
      script(governor);
      status = governor.status();
    });
    bench.master.clear();
    governorSettingsCommand(bench.ctx);
  }
  const test::RecordedRequest& written(int firstRegister) const {
    for (const auto& request : bench.master.requests) {
      if (request.function == 16 && request.firstRegister == firstRegister) return request;
    }
    static const test::RecordedRequest kNone;
    ADD_FAILURE() << "no block written at " << firstRegister;
    return kNone;
  }

  test::ControllerBench bench;
  std::string status;
};

struct GovernorFirmware439 : GovernorSettings {
  GovernorFirmware439() : GovernorSettings(439) {}
};
struct GovernorFirmware440 : GovernorSettings {
  GovernorFirmware440() : GovernorSettings(440) {}
};

TEST_F(GovernorSettings, ChangeCarriesTheRegistersItDoesNotShowThroughAsRead) {
  std::vector<std::int16_t> before(27);
  for (int i = 0; i < 27; ++i) before[i] = static_cast<std::int16_t>(1000 + i);
  before[159 - 145] = -2;    // transient_reset, hidden
  before[162 - 145] = -345;  // speed_offset, hidden
  before[165 - 145] = -50;   // gov_offset, shown
  before[171 - 145] = -7;
  for (int i = 0; i < 27; ++i) bench.set(145 + i, before[i]);
  bench.set(178, 12);
  bench.set(179, 34);
  bench.set(186, 250);
  run([](Form114& form) {
    EXPECT_EQ(form.text(Form114::SPEED_SET_POINT), "1015");
    EXPECT_EQ(form.text(Form114::GOVERNOR_OFFSET), "-50");
    form.setText(Form114::SPEED_SET_POINT, "1500");
    form.setText(Form114::PROPORTIONAL_MIN, "70000");  // refused: does not fit
    form.press(1);
    EXPECT_EQ(form.status(),
              "Proportional Gain (Min) must lie between 0 and 65535. Nothing was written.");
    form.setText(Form114::PROPORTIONAL_MIN, "42");
    form.setText(Form114::DERIVATIVE_MAX, "77");
    form.setText(Form114::SPEED_GAIN_IC, "300");
    form.press(1);
  });
  EXPECT_EQ(status, "Valve settings are successfully updated!");
  EXPECT_EQ(bench.master.texts(),
            (Strings{"3:145x27", "3:178x2", "3:186x2", "16:145x27", "16:178x2", "6:186=300"}));
  std::vector<std::int16_t> expected = before;
  expected[160 - 145] = 1500;
  expected[155 - 145] = 42;
  EXPECT_EQ(written(145).values, expected);  // 145 to 154, 159, 162, 171 and untouched edits
  EXPECT_EQ(written(178).values, (std::vector<std::int16_t>{12, 77}));
  EXPECT_EQ(bench.desktop.posted, (std::deque<int>{CMD_DISCONNECT, CMD_CONNECT}));
}

TEST_F(GovernorSettings, AMinusSignInASpeedGainIsRefusedByName) {
  for (const int field : {Form114::SPEED_GAIN_ADC, Form114::SPEED_GAIN_IC}) {
    run([field](Form114& form) {
      form.setText(field, "-150");
      form.press(1);
      form.close();
    });
    const std::string name = field == Form114::SPEED_GAIN_ADC ? "(ADC)" : "(IC)";
    EXPECT_EQ(status, "Speed Gain " + name + " must lie between 0 and 65535. Nothing was written.");
    EXPECT_TRUE(bench.master.texts(16).empty());
    EXPECT_TRUE(bench.master.texts(6).empty());
  }
}

TEST_F(GovernorSettings, TheArrowsStayWithinTheirRangeButTypedValuesAreWrittenAsTyped) {
  run([](Form114& form) {
    EXPECT_EQ(form.text(Form114::SPEED_GAIN_ADC), "100");
    form.stepSpeedGain(-1);
    EXPECT_EQ(form.text(Form114::SPEED_GAIN_ADC), "100");
    form.setText(Form114::SPEED_GAIN_ADC, "31999");
    form.stepSpeedGain(1);
    form.stepSpeedGain(1);
    EXPECT_EQ(form.text(Form114::SPEED_GAIN_ADC), "32000");
    form.stepSpeedGain(-3);
    EXPECT_EQ(form.text(Form114::SPEED_GAIN_ADC), "31997");
    form.setText(Form114::SPEED_GAIN_ADC, "40000");
    form.press(1);
  });
  EXPECT_EQ(written(145).values[163 - 145], static_cast<std::int16_t>(40000 - 65536));
}

TEST_F(GovernorSettings, SaveAndCloseEndsWhateverTheSaveAnswers) {
  run([this](Form114& form) {
    bench.controller.faults().injectNext(sim::FaultKind::Exception, 1);
    form.press(3);
    EXPECT_TRUE(form.isEnded());
    EXPECT_EQ(form.result(), 2);
  });
  EXPECT_EQ(bench.master.texts(6), Strings{"6:144=4660"});
  EXPECT_EQ(bench.desktop.posted, (std::deque<int>{CMD_DISCONNECT, CMD_CONNECT}));
  EXPECT_TRUE(bench.desktop.timerRunning(POLL_TIMER));
}

TEST_F(GovernorSettings, EveryWriteIsTriedWhenOneFails) {
  run([this](Form114& form) {
    bench.controller.faults().injectNext(sim::FaultKind::Exception, 1);
    form.press(1);
    form.close();
  });
  EXPECT_EQ(status, "Failed to update the settings.");
  EXPECT_EQ(bench.master.texts(16), (Strings{"16:145x27", "16:178x2"}));
  EXPECT_EQ(bench.master.texts(6), Strings{"6:186=100"});
}

TEST_F(GovernorSettings, WithoutTheDerivativePairThereIsNoGovernor) {
  bench.faultOnRequest(2, sim::FaultKind::Exception);  // 178, after 145
  run([](Form114&) { ADD_FAILURE() << "the dialog opened"; });
  ASSERT_EQ(bench.desktop.boxes.size(), 1u);
  EXPECT_EQ(bench.desktop.boxes[0].text, "This feature is not supported.");
  EXPECT_EQ(bench.desktop.boxes[0].caption, "Notice");
  EXPECT_EQ(bench.desktop.boxes[0].icon, Icon::Exclamation);
  EXPECT_TRUE(bench.desktop.posted.empty());
}

TEST_F(GovernorFirmware439, HasNoIcSpeedGainToReadOrWrite) {
  run([](Form114& form) {
    EXPECT_FALSE(form.hasIcSpeedGain());
    form.press(1);
  });
  EXPECT_EQ(bench.master.texts(), (Strings{"3:145x27", "3:178x2", "16:145x27", "16:178x2"}));
}

TEST_F(GovernorFirmware440, ReadsAndWritesTheIcSpeedGain) {
  bench.set(186, 640);
  run([](Form114& form) {
    EXPECT_TRUE(form.hasIcSpeedGain());
    EXPECT_EQ(form.text(Form114::SPEED_GAIN_IC), "640");
    form.press(1);
  });
  EXPECT_EQ(bench.master.texts(6), Strings{"6:186=640"});
}

TEST_F(GovernorFirmware440, AnUnreadableIcSpeedGainIsNeverWritten) {
  bench.faultOnRequest(3, sim::FaultKind::Exception);  // 186, after 145 and 178
  run([](Form114& form) {
    EXPECT_FALSE(form.hasIcSpeedGain());
    form.press(1);
  });
  EXPECT_TRUE(bench.master.texts(6).empty());
}

}  // namespace
}  // namespace vs
