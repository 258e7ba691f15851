// Forcing the controller's digital inputs through the main-window command:
// the engine check, the password, the order of the writes, what a value field
// reads as, and what is refused.
#include <gtest/gtest.h>

#include "dialogs/force_inputs_form.h"
#include "dialogs/maintenance_commands.h"
#include "dialogs/password_gate_form.h"
#include "support/controller_bench.h"

namespace vs {
namespace {

using Strings = std::vector<std::string>;

constexpr std::size_t IGNITION_CONFIRM = 0;
constexpr std::size_t FORCE_ACTUATOR = 2;
constexpr std::size_t O2_SENSOR_HEATER = 4;

struct ForceInputs : ::testing::Test {
  ForceInputs() {
    bench.desktop.onForm(PasswordGateForm::kTemplateId, [](Form& form, test::ScriptedFormHost&) {
      auto& gate = dynamic_cast<PasswordGateForm&>(form);
      gate.setPassword("2604");
      gate.ok();
    });
  }

  void run(const std::function<void(ForceInputsForm&, test::ScriptedFormHost&)>& script) {
    bench.desktop.onForm(ForceInputsForm::kTemplateId,
                         [&](Form& form, test::ScriptedFormHost& host) {
                           script(dynamic_cast<ForceInputsForm&>(form), host);
                           result = form.isEnded() ? form.result() : 0;
                         });
    bench.master.clear();
    forceDigitalInputsCommand(bench.ctx);
  }

  test::ControllerBench bench;
  int result = 0;
};

TEST_F(ForceInputs, ChangeStatusWritesInProcessingOrderSavesAndCloses) {
  bench.set(182, -1);
  run([](ForceInputsForm& form, test::ScriptedFormHost&) {
    EXPECT_EQ(form.stateText(IGNITION_CONFIRM), "NORM");
    EXPECT_EQ(form.stateText(FORCE_ACTUATOR), "OFF");
    EXPECT_EQ(form.valueText(FORCE_ACTUATOR), "-1");
    EXPECT_EQ(form.stateText(O2_SENSOR_HEATER), "ON");
    form.setValueText(IGNITION_CONFIRM, "1");
    form.changeStatus();
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(bench.master.texts(3), (Strings{"3:112x22", "3:141x6", "3:177x3", "3:180x3"}));
  EXPECT_EQ(bench.master.texts(6), (Strings{"6:141=1", "6:142=0", "6:143=0", "6:177=1", "6:180=0",
                                            "6:182=-1", "6:144=4660"}));
  EXPECT_EQ(bench.desktop.formsRun, (std::vector<int>{112, 119}));
  EXPECT_EQ(bench.desktop.posted, std::deque<int>{CMD_CONNECT});
}

TEST_F(ForceInputs, ReleaseAllPutsEverySignalBackToNormal) {
  bench.set(141, 1);
  bench.set(180, -1);
  run([](ForceInputsForm& form, test::ScriptedFormHost&) { form.releaseAll(); });
  EXPECT_EQ(result, 2);
  EXPECT_EQ(bench.master.texts(6), (Strings{"6:141=0", "6:142=0", "6:143=0", "6:177=0", "6:180=0",
                                            "6:182=0", "6:144=4660"}));
}

TEST_F(ForceInputs, AValueFieldIsReadWhole) {
  run([](ForceInputsForm& form, test::ScriptedFormHost&) {
    form.setValueText(IGNITION_CONFIRM, "+1");
    form.setValueText(O2_SENSOR_HEATER, "");
    form.setValueText(FORCE_ACTUATOR, "  -1 ");
    form.changeStatus();
  });
  EXPECT_EQ(bench.get(141), 1);
  EXPECT_EQ(bench.get(177), 0);
  EXPECT_EQ(bench.get(182), -1);
}

// Not read in part: "0,5" is no force value, and never NORM.
TEST_F(ForceInputs, AnythingButOffNormalOrOnIsRefusedByRow) {
  for (const char* typo : {"2", "-2", "11", "65535", "99999999", "0,5", "0.5", "1x", "x1", "- 1"}) {
    std::vector<test::ShownBox> boxes;
    run([&](ForceInputsForm& form, test::ScriptedFormHost& host) {
      form.setValueText(O2_SENSOR_HEATER, typo);
      form.changeStatus();
      EXPECT_FALSE(form.isEnded());
      boxes = host.boxes;
    });
    ASSERT_EQ(boxes.size(), 1u) << typo;
    EXPECT_EQ(boxes[0].text,
              "O2 Sensor Heater: a force value is -1 (OFF), 0 (NORM) or 1 (ON). Nothing was "
              "written.");
    EXPECT_TRUE(bench.master.texts(6).empty()) << typo;
  }
}

TEST_F(ForceInputs, AFailedWriteIsReportedAfterEveryWriteWasTried) {
  run([this](ForceInputsForm& form, test::ScriptedFormHost&) {
    bench.controller.faults().injectNext(sim::FaultKind::Exception, 1);
    form.changeStatus();
    EXPECT_FALSE(form.isEnded());
  });
  EXPECT_EQ(bench.master.texts(6).size(), 7u);
  ASSERT_EQ(bench.desktop.boxes.size(), 1u);
  EXPECT_EQ(bench.desktop.boxes[0].text, "Failed to change status. Please retry.");
  EXPECT_EQ(bench.desktop.boxes[0].caption, "Error");
  EXPECT_FALSE(bench.desktop.boxes[0].owned);
}

TEST_F(ForceInputs, WithTheEngineRunningOnlyTheNoticeShows) {
  bench.link.liveValues[LIVE_MODE] = 2;
  run([](ForceInputsForm&, test::ScriptedFormHost&) { ADD_FAILURE() << "the dialog opened"; });
  ASSERT_EQ(bench.desktop.boxes.size(), 1u);
  EXPECT_EQ(bench.desktop.boxes[0].text, "Please shut down the engine to proceed!");
  EXPECT_EQ(bench.desktop.boxes[0].icon, Icon::None);
  EXPECT_FALSE(bench.desktop.boxes[0].owned);
  EXPECT_TRUE(bench.desktop.formsRun.empty());  // no password asked
  EXPECT_TRUE(bench.master.texts(6).empty());
  EXPECT_EQ(bench.desktop.posted, std::deque<int>{CMD_CONNECT});
}

TEST_F(ForceInputs, WithoutAnAnswerOnlyTheTimeOutShows) {
  bench.controller.faults().setSilent(true);
  run([](ForceInputsForm&, test::ScriptedFormHost&) { ADD_FAILURE() << "the dialog opened"; });
  ASSERT_EQ(bench.desktop.boxes.size(), 1u);
  EXPECT_EQ(bench.desktop.boxes[0].text, "Communication time-out");
  EXPECT_TRUE(bench.desktop.formsRun.empty());
  EXPECT_EQ(bench.desktop.posted, std::deque<int>{CMD_CONNECT});
}

TEST_F(ForceInputs, AnUndefinedValueReadAtOpeningIsShownButNotWrittenBack) {
  bench.set(142, 5);
  std::vector<test::ShownBox> boxes;
  run([&](ForceInputsForm& form, test::ScriptedFormHost& host) {
    EXPECT_EQ(form.stateText(1), "UNDEF");
    EXPECT_EQ(form.valueText(1), "5");
    form.changeStatus();
    boxes = host.boxes;
  });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text.substr(0, 16), "Actuator Power: ");
  EXPECT_TRUE(bench.master.texts(6).empty());
}

}  // namespace
}  // namespace vs
