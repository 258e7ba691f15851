// The Line Monitor's form over the simulated controller's traced frames: what
// it shows, a view's table kept in step through the changes it hands out
// (however refreshes, pauses, filters and clears interleave), Save and Close.

#include "dialogs/line_monitor_form.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <random>
#include <sstream>

#include "sim/loopback_master.h"
#include "support/scripted_desktop.h"
#include "support/temp_dir.h"

namespace vs {
namespace {

using sim::FaultKind;

const std::vector<BlockKey> kBlocks = {{3, 12, 20}, {3, 114, 10}, {3, 39, 6}, {3, 89, 2}};

class LineMonitorFormTest : public ::testing::Test {
 protected:
  LineMonitorFormTest() {
    master.close();
    master.setRetries(3);
    master.open();
    master.setFrameTrace(&trace);
  }
  void poll(FaultKind fault = FaultKind::None) {
    if (fault != FaultKind::None) controller.faults().injectNext(fault, 1);
    std::int16_t values[20];
    for (const BlockKey& block : kBlocks) {
      master.readHoldingRegisters(1, block.first, values, block.count);
    }
  }
  // The rows as a view keeps them: only through the changes handed out.
  void follow() {
    const auto change = form.takeTableChange();
    if (change.reset) {
      shown.clear();
      for (std::size_t i = 0; i < form.rowCount(); ++i) shown.push_back(form.rowKey(i));
      return;
    }
    ASSERT_LE(change.dropped, shown.size());
    shown.erase(shown.begin(), shown.begin() + static_cast<std::ptrdiff_t>(change.dropped));
    for (std::size_t i = form.rowCount() - change.added; i < form.rowCount(); ++i) {
      shown.push_back(form.rowKey(i));
    }
  }
  std::deque<std::uint64_t> held() const {
    std::deque<std::uint64_t> keys;
    for (std::size_t i = 0; i < form.rowCount(); ++i) keys.push_back(form.rowKey(i));
    return keys;
  }

  sim::SimulatedController controller;
  sim::LoopbackMaster master{controller};
  FrameTrace trace{64};
  TickRecorder ticks;
  LineMonitor monitor{trace, kBlocks, &ticks};
  std::vector<std::string> sentences{"Lower the latency timer."};
  test::TempDir folder;
  LineMonitorForm form{monitor, [this] { return LineAdvice{"", sentences}; }, folder.path()};
  test::ScriptedFormHost host{form};
  std::deque<std::uint64_t> shown;
};

TEST_F(LineMonitorFormTest, ShowsTheStatisticsTicksAndAdviceOnItsTimer) {
  form.init();
  EXPECT_TRUE(form.shown());
  EXPECT_EQ(host.timers.at(LineMonitorForm::kRefreshTimer), 200);
  EXPECT_EQ(form.ticks, "Poll ticks: none yet");

  poll(FaultKind::WrongCrc);
  ticks.tickStarted(0);
  ticks.tickEnded(250'000);
  ASSERT_TRUE(host.tick(LineMonitorForm::kRefreshTimer));
  ASSERT_EQ(form.statistics.size(), 5u);
  using Row = LineMonitorForm::StatisticsRow;
  const Row& all = form.statistics[0];
  EXPECT_EQ((std::vector<std::string>(all.begin(), all.begin() + 9)),
            (std::vector<std::string>{"All", "5", "4", "1", "0", "1", "0", "0", "0"}));
  EXPECT_EQ(form.statistics[1][0], "12-31");
  EXPECT_EQ(form.statistics[1][1], "2") << "the block's first reply and its retry";
  EXPECT_EQ(form.statistics[4][0], "89-90");
  EXPECT_NE(form.statistics[4][9], "-") << "a latency for every block answered";
  EXPECT_EQ(form.ticks.substr(0, 41), "Poll ticks: 0.0 a second; 1 of 1 took ove");
  EXPECT_EQ(form.advice, sentences);
  EXPECT_EQ(form.notes, "");
  EXPECT_EQ(form.rowCount(), 10u);
}

// A view that only applies the changes handed out holds exactly the rows the
// form holds, in order, whatever happens between two looks: refreshes by
// the shell while the window is closed, the ring overflowing, pause, the
// faulty rows alone and back, Clear, the window closed and shown again.
TEST_F(LineMonitorFormTest, AViewFollowingTheChangesHoldsTheTableRowForRow) {
  std::mt19937 random(7);
  form.init();
  for (int step = 0; step < 600; ++step) {
    const unsigned what = random() % 20;
    if (what < 9) {
      // Now and then more than the table holds between two looks.
      for (unsigned n = random() % 4 == 0 ? 10 : 1; n > 0; --n) {
        poll(random() % 4 == 0 ? FaultKind::NoReply : FaultKind::None);
      }
    } else if (what < 12) {
      host.tick(LineMonitorForm::kRefreshTimer);
    } else if (what < 14) {
      monitor.refresh();  // the shell, while the window is closed
    } else if (what == 14) {
      form.act([this] { form.setErrorsOnly(!form.errorsOnly()); });
    } else if (what == 15) {
      form.act([this] { form.setPaused(!form.paused()); });
    } else if (what == 16 && random() % 4 == 0) {
      form.act([this] { form.clear(); });
    } else if (what == 17 && random() % 4 == 0) {
      form.closeBox();
      EXPECT_FALSE(host.timerRunning(LineMonitorForm::kRefreshTimer));
      form.restart();
      form.init();
    }
    if (random() % 3 != 0) continue;
    follow();
    ASSERT_EQ(shown, held()) << "at step " << step;
  }
}

TEST_F(LineMonitorFormTest, PauseHoldsTheTableAndSaysSo) {
  form.init();
  poll();
  host.tick(LineMonitorForm::kRefreshTimer);
  form.act([this] { form.setPaused(true); });
  EXPECT_EQ(form.status, "Paused: the table stands still, the statistics go on counting.");
  poll();
  host.tick(LineMonitorForm::kRefreshTimer);
  EXPECT_EQ(form.rowCount(), 8u);
  EXPECT_EQ(form.statistics[0][1], "8");
  form.closeBox();
  form.restart();
  form.init();
  EXPECT_TRUE(form.paused()) << "as the technician left it";
  EXPECT_EQ(form.status.substr(0, 7), "Paused:");
}

TEST_F(LineMonitorFormTest, SavesWholeOrSaysItCouldNotAndClosesItsTimer) {
  form.init();
  poll(FaultKind::Exception);
  host.tick(LineMonitorForm::kRefreshTimer);

  const std::string path = (folder / "line.txt").string();
  host.fileChoices.push_back(path);
  form.act([this] { form.save(); });
  ASSERT_EQ(host.fileRequests.size(), 1u);
  EXPECT_EQ(host.fileRequests[0].mode, FileDialogRequest::Mode::Save);
  EXPECT_EQ(host.fileRequests[0].initialFolder, folder.path().string());
  EXPECT_EQ(host.fileRequests[0].initialName.substr(0, 13), "line_monitor_");
  EXPECT_EQ(form.status, "Saved as " + path);
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("\nLower the latency timer.\n\nframes:\n"), std::string::npos)
      << text.str();
  EXPECT_NE(text.str().find("exception 4, slave device failure"), std::string::npos);

  form.act([this] { form.save(); });  // cancelled: nothing happens
  EXPECT_EQ(form.status, "Saved as " + path);
  host.fileChoices.push_back((folder / "no-such-folder" / "line.txt").string());
  form.act([this] { form.save(); });
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text.substr(0, 39), "The line monitor could not be saved as\n");
  EXPECT_EQ(host.boxes[0].icon, Icon::Exclamation);

  form.closeBox();
  EXPECT_TRUE(form.isEnded());
  EXPECT_FALSE(form.shown());
  EXPECT_FALSE(host.timerRunning(LineMonitorForm::kRefreshTimer));
}

}  // namespace
}  // namespace vs
