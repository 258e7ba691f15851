// The dynamic O2 set-point schedule through its main-window command, on the
// simulated controller: what is written, in which request, and what the
// technician reads in the status line.
#include <gtest/gtest.h>

#include "dialogs/maintenance_commands.h"
#include "dialogs/o2_schedule_form.h"
#include "support/controller_bench.h"

namespace vs {
namespace {

using Strings = std::vector<std::string>;
using Script = std::function<void(O2ScheduleForm&, test::ScriptedFormHost&)>;

struct O2Schedule : ::testing::Test {
  // Runs the command; the dialog is handed to `script`, then closed with its
  // close box if it is still open.
  void run(const Script& script) {
    bench.desktop.onForm(O2ScheduleForm::kTemplateId,
                         [&](Form& form, test::ScriptedFormHost& host) {
                           auto& schedule = dynamic_cast<O2ScheduleForm&>(form);
                           status = schedule.status();
                           script(schedule, host);
                           status = schedule.status();
                         });
    bench.master.clear();
    o2ScheduleCommand(bench.ctx);
  }

  test::ControllerBench bench;
  std::string status;
};

// Link checks that fall due while Change is out on the line wait for it, as
// one, and go out after it: never a request in the middle of another
// sequence.
TEST_F(O2Schedule, ALinkCheckDueDuringChangeWaitsForItAsOne) {
  std::vector<bool> busy;
  run([&](O2ScheduleForm& form, test::ScriptedFormHost& host) {
    bench.master.clear();
    bench.desktop.whileWaiting = [&] {
      busy.push_back(form.busy());
      host.tick(O2ScheduleForm::LINK_CHECK_TIMER);
      host.tick(O2ScheduleForm::LINK_CHECK_TIMER);
    };
    form.act([&] { form.press(1); });
    bench.desktop.whileWaiting = nullptr;
    EXPECT_EQ(bench.master.texts(), Strings{"16:194x18"});
    host.deliverPosted();
    EXPECT_EQ(bench.master.texts(), (Strings{"16:194x18", "3:1x2"}));
    EXPECT_EQ(host.busyChanges, (std::vector<bool>{true, false, true, false}));
  });
  EXPECT_EQ(busy, std::vector<bool>{true});
  EXPECT_EQ(status, "Valve settings are successfully updated!");
}

// Change clicked while a link check is out is not lost, since nothing on
// screen said the dialog was busy: it goes out once the check is answered.
// Clicked again while its own write is out, it is the same click twice.
TEST_F(O2Schedule, ChangeClickedDuringALinkCheckRunsAfterItAndADoubleClickOnce) {
  run([&](O2ScheduleForm& form, test::ScriptedFormHost& host) {
    const auto clickChangeWhileWaiting = [&] {
      bench.desktop.whileWaiting = [&] {
        bench.desktop.whileWaiting = nullptr;
        form.act([&] { form.press(1); });
      };
    };
    bench.master.clear();
    clickChangeWhileWaiting();
    host.tick(O2ScheduleForm::LINK_CHECK_TIMER);
    EXPECT_EQ(bench.master.texts(), (Strings{"3:1x2", "16:194x18"}));
    EXPECT_EQ(form.status(), "Valve settings are successfully updated!");

    bench.master.clear();
    clickChangeWhileWaiting();
    form.act([&] { form.press(1); });
    host.deliverPosted();
    EXPECT_EQ(bench.master.texts(), Strings{"16:194x18"});
  });
}

TEST_F(O2Schedule, ChangeWritesTheWholeBlockWithTheHiddenSettingsAsRead) {
  const std::int16_t hidden[] = {-1200, 24000, 650, 30, 5, -17, 1040};  // 205 to 211
  for (int i = 0; i < 7; ++i) bench.set(205 + i, hidden[i]);
  run([](O2ScheduleForm& form, test::ScriptedFormHost&) {
    EXPECT_EQ(form.text(O2ScheduleForm::pressureEdit(0)), "1.00");
    EXPECT_EQ(form.text(O2ScheduleForm::o2Edit(0)), "0.760");
    form.setText(O2ScheduleForm::pressureEdit(2), "3.25");
    form.setText(O2ScheduleForm::o2Edit(4), "0.7");
    form.press(1);
    EXPECT_FALSE(form.isEnded());
  });
  EXPECT_EQ(status, "Valve settings are successfully updated!");
  const auto& requests = bench.master.requests;
  ASSERT_EQ(bench.master.texts(16), Strings{"16:194x18"});
  const auto block = std::find_if(requests.begin(), requests.end(),
                                  [](const auto& r) { return r.function == 16; });
  EXPECT_EQ(block->values,
            (std::vector<std::int16_t>{1000, 2000, 3250, 4000, 5000, 760, 740, 720, 700, 700, 0,
                                       -1200, 24000, 650, 30, 5, -17, 1040}));
  // Close stores the settings, then the main window reconnects.
  EXPECT_EQ(bench.master.texts(6), Strings{"6:144=4660"});
  EXPECT_EQ(bench.desktop.posted, (std::deque<int>{CMD_DISCONNECT, CMD_CONNECT}));
  EXPECT_EQ(bench.desktop.timers.count(POLL_TIMER), 1u);

  // The next opening shows what was written.
  run([](O2ScheduleForm& form, test::ScriptedFormHost&) {
    EXPECT_EQ(form.text(O2ScheduleForm::pressureEdit(2)), "3.25");
    EXPECT_EQ(form.text(O2ScheduleForm::o2Edit(4)), "0.700");
  });
}

TEST_F(O2Schedule, AnUntouchedPointKeepsTheThousandthsItsTwoDecimalsHide) {
  bench.set(195, 3255);
  run([](O2ScheduleForm& form, test::ScriptedFormHost&) {
    EXPECT_EQ(form.text(O2ScheduleForm::pressureEdit(1)).substr(0, 3), "3.2");
    form.press(1);
  });
  EXPECT_EQ(bench.get(195), 3255);
}

TEST_F(O2Schedule, APointThatDoesNotFitIsRefusedAndNothingIsWritten) {
  run([](O2ScheduleForm& form, test::ScriptedFormHost&) {
    form.setText(O2ScheduleForm::pressureEdit(3), "40");
    form.press(1);
  });
  EXPECT_EQ(status,
            "Point 4 Pressure Set point must lie between -32.768 and 32.767. Nothing was written.");
  EXPECT_TRUE(bench.master.texts(16).empty());
}

TEST_F(O2Schedule, EnableDisableSwitchesTheFlagReadAtOpeningAndCloses) {
  run([](O2ScheduleForm& form, test::ScriptedFormHost&) {
    EXPECT_EQ(form.status(), "Dynamic schedule is off.");
    form.press(O2ScheduleForm::ENABLE_DISABLE);
    EXPECT_TRUE(form.isEnded());
    EXPECT_EQ(form.result(), 2);
  });
  // No save: the switch lasts until the controller restarts.
  EXPECT_EQ(bench.master.texts(6), Strings{"6:204=1"});
  EXPECT_EQ(bench.desktop.posted, (std::deque<int>{CMD_DISCONNECT, CMD_CONNECT}));

  run([](O2ScheduleForm& form, test::ScriptedFormHost&) {
    EXPECT_EQ(form.status(), "Dynamic schedule is on.");
    form.press(O2ScheduleForm::ENABLE_DISABLE);
  });
  EXPECT_EQ(bench.master.texts(6), Strings{"6:204=0"});
}

TEST_F(O2Schedule, FailuresAreReportedInTheStatusLine) {
  run([this](O2ScheduleForm& form, test::ScriptedFormHost& host) {
    EXPECT_EQ(host.timers, (std::map<int, int>{{O2ScheduleForm::LINK_CHECK_TIMER, 500}}));
    bench.controller.faults().injectNext(sim::FaultKind::Exception, 1);
    form.press(1);
    EXPECT_EQ(form.status(), "Failed to update the settings.");

    bench.controller.faults().setSilent(true);
    host.tick(O2ScheduleForm::LINK_CHECK_TIMER);
    EXPECT_EQ(form.status(), "Communication Time-out.");
    bench.controller.faults().setSilent(false);
    host.tick(O2ScheduleForm::LINK_CHECK_TIMER);
    EXPECT_EQ(form.status(), "Communication Time-out.");

    bench.controller.faults().injectNext(sim::FaultKind::Exception, 1);
    form.press(O2ScheduleForm::ENABLE_DISABLE);
    EXPECT_EQ(form.status(), "Communication time-out!");
    EXPECT_FALSE(form.isEnded());
  });
}

TEST_F(O2Schedule, AFailedReadOpensNothing) {
  bench.faultOnRequest(2, sim::FaultKind::Exception);  // the schedule block, after 28
  run([](O2ScheduleForm&, test::ScriptedFormHost&) { ADD_FAILURE() << "the dialog opened"; });
  ASSERT_EQ(bench.desktop.boxes.size(), 1u);
  EXPECT_EQ(bench.desktop.boxes[0].text, "Failed to read valve settings.");
  EXPECT_EQ(bench.desktop.boxes[0].icon, Icon::Exclamation);
  EXPECT_TRUE(bench.desktop.boxes[0].owned);
  EXPECT_TRUE(bench.desktop.posted.empty());
  EXPECT_FALSE(bench.desktop.timerRunning(POLL_TIMER));
}

}  // namespace
}  // namespace vs
