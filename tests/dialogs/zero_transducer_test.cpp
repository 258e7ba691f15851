#include <gtest/gtest.h>

#include "dialogs/password_gate_form.h"
#include "dialogs/settings_commands.h"
#include "dialogs/zero_transducer_form.h"
#include "support/controller_bench.h"

namespace vs {
namespace {

using Strings = std::vector<std::string>;

struct ZeroTransducer : ::testing::Test {
  ZeroTransducer() {
    bench.desktop.onForm(PasswordGateForm::kTemplateId, [](Form& form, test::ScriptedFormHost&) {
      auto& gate = dynamic_cast<PasswordGateForm&>(form);
      gate.setPassword("7391");
      gate.ok();
    });
  }

  // Runs the command; the dialog gets `presses` presses of ZERO Transducer.
  void run(int presses) {
    bench.master.clear();
    bench.runWith<ZeroTransducerForm>(
        zeroTransducerCommand,
        [this, presses](ZeroTransducerForm& zero, test::ScriptedFormHost& host) {
          for (int i = 0; i < presses; ++i) zero.zero();
          dialogBoxes = host.boxes;
          zero.close();
        });
  }

  test::ControllerBench bench;
  std::vector<test::ShownBox> dialogBoxes;
};

TEST_F(ZeroTransducer, APressRequestsZeroingTwiceAndStoresIt) {
  run(1);
  EXPECT_EQ(bench.master.texts(),
            (Strings{"3:153x2", "3:153x2", "6:153=1", "6:153=1", "6:144=4660"}));
  EXPECT_EQ(bench.desktop.formsRun, (std::vector<int>{112, 137}));
  EXPECT_EQ(bench.desktop.posted, std::deque<int>{CMD_CONNECT});
  EXPECT_TRUE(dialogBoxes.empty());
  bench.controller.powerCycle();
  EXPECT_EQ(bench.controller.transducerZeroings(), 1);
}

TEST_F(ZeroTransducer, TwoPressesWriteFourTimesAndSaveTwice) {
  run(2);
  EXPECT_EQ(bench.master.texts(6),
            (Strings{"6:153=1", "6:153=1", "6:144=4660", "6:153=1", "6:153=1", "6:144=4660"}));
}

TEST_F(ZeroTransducer, AZeroingValueFoundBeforeThePressIsWrittenBackOnce) {
  bench.set(153, 7);
  run(1);
  EXPECT_EQ(bench.master.texts(6),
            (Strings{"6:153=1", "6:153=1", "6:144=4660", "6:153=7", "6:144=4660"}));
  EXPECT_EQ(bench.memory.previousZeroing, 0);

  // A later run without a press asks the controller for nothing.
  bench.set(153, 0);
  run(0);
  EXPECT_TRUE(bench.master.texts(6).empty());
  EXPECT_EQ(bench.get(153), 0);
}

TEST_F(ZeroTransducer, AFailedRequestIsReportedAndStillSaved) {
  bench.faultOnRequest(4, sim::FaultKind::Exception);  // the second request
  run(1);
  ASSERT_EQ(dialogBoxes.size(), 1u);
  EXPECT_EQ(dialogBoxes[0].text, "Failed to write to register");
  EXPECT_EQ(dialogBoxes[0].caption, "Warning");
  EXPECT_EQ(dialogBoxes[0].icon, Icon::Exclamation);
  EXPECT_EQ(bench.master.texts(6).back(), "6:144=4660");
}

TEST_F(ZeroTransducer, AFailedSaveIsReportedToo) {
  bench.faultOnRequest(5, sim::FaultKind::Exception);  // the save
  run(1);
  ASSERT_EQ(dialogBoxes.size(), 1u);
  EXPECT_EQ(dialogBoxes[0].text, "Failed to write to register");
}

TEST_F(ZeroTransducer, NoAnswerOrNoPasswordMeansNoWrites) {
  bench.controller.faults().setSilent(true);
  run(1);
  ASSERT_EQ(bench.desktop.boxes.size(), 1u);
  EXPECT_EQ(bench.desktop.boxes[0].text, "Valvescope is not connected to QX4.");
  EXPECT_EQ(bench.desktop.boxes[0].caption, "Notice");
  EXPECT_EQ(bench.desktop.boxes[0].icon, Icon::None);
  EXPECT_FALSE(bench.desktop.boxes[0].owned);
  EXPECT_TRUE(bench.desktop.formsRun.empty());
  EXPECT_EQ(bench.desktop.posted, std::deque<int>{CMD_CONNECT});

  bench.controller.faults().setSilent(false);
  bench.desktop.posted.clear();
  bench.desktop.formScripts.erase(PasswordGateForm::kTemplateId);  // the gate is closed
  run(1);
  EXPECT_EQ(bench.desktop.formsRun, std::vector<int>{112});
  EXPECT_TRUE(bench.master.texts(6).empty());
  EXPECT_EQ(bench.desktop.posted, std::deque<int>{CMD_CONNECT});
}

}  // namespace
}  // namespace vs
