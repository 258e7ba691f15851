#include <gtest/gtest.h>

#include <string>

#include "logging/log_files.h"
#include "logging/playback_form.h"
#include "support/scripted_desktop.h"
#include "support/temp_dir.h"
#include "widgets/trend_chart.h"

namespace vs {
namespace {

// The chart keeps its default capacity of 10 slots: pages of 11 records that
// start at records 0, 10, 20, ...
class Playback : public ::testing::Test {
 protected:
  std::vector<LogRecord> openLog(int records, int extraBytes = 0) {
    auto written = test::writeSampleLog(dir / "log_2006_3_5_9.log", records, extraBytes);
    choose(dir / "log_2006_3_5_9.log");
    return written;
  }
  void choose(const std::filesystem::path& path) {
    host.fileChoices.push_back(path.string());
    EXPECT_EQ(form.OpenLogFile(), 0);
    host.deliverPosted();
  }
  // The main window's repaint in playback mode shows the record at the position.
  void expectShowing(const std::vector<LogRecord>& records) {
    ASSERT_TRUE(state.showPosition());
    EXPECT_EQ(link.liveValues, records.at(state.position).values);
  }
  std::vector<std::int32_t> positionsUntilStopped() {
    std::vector<std::int32_t> positions;
    while (positions.size() < 1000 && host.tick(PLAYBACK_TIMER))
      positions.push_back(state.position);
    return positions;
  }

  test::TempDir dir;
  TrendChart chart;
  ValveLink link;
  PlaybackState state{chart, link};
  test::ScriptedDesktop desktop;
  PlaybackForm form{state, desktop, dir.path(), {2006, 3, 5}};
  test::ScriptedFormHost host{form};
};

TEST_F(Playback, PagesHoldCapacityPlusOneRecordsAndOverlapByOne) {
  const auto records = test::writeSampleLog(dir / "a.log", 25, 20);  // and a cut-off record
  EXPECT_EQ(state.LoadLogPage(dir / "a.log", 3), 24);
  EXPECT_EQ(state.pageFirst(), 0);
  EXPECT_EQ(state.pageLast(), 10);
  EXPECT_EQ(link.commStatus, 100);
  EXPECT_EQ(chart.WriteSlot(), 11);  // record r stamps slot r and fills slot r + 1

  ASSERT_TRUE(state.ShowPlaybackRecord(10));
  EXPECT_EQ(link.liveValues, records[10].values);
  EXPECT_EQ(chart.CursorSlot(), 11);

  state.LoadLogPage(dir / "a.log", 10);
  EXPECT_EQ(state.pageFirst(), 10);
  EXPECT_EQ(state.pageLast(), 20);
  state.LoadLogPage(dir / "a.log", 24);
  EXPECT_EQ(state.pageFirst(), 20);
  EXPECT_EQ(state.pageLast(), 24);
  EXPECT_FALSE(state.ShowPlaybackRecord(5));  // beyond the short last page
  EXPECT_FALSE(state.ShowPlaybackRecord(-1));
}

TEST_F(Playback, RecordValuesGoToTheirChartChannels) {
  const auto records = test::writeSampleLog(dir / "a.log", 11);
  for (int channel = 0; channel < 7; ++channel) chart.SetChannel(-5000, 5000, channel, 1);
  state.LoadLogPage(dir / "a.log", 0);
  const auto shown = [&](int channel) {
    return std::stod(std::string(chart.FormatValue(channel, 3)));
  };
  for (int r = 0; r < 11; ++r) {
    state.ShowPlaybackRecord(r);
    const auto& v = records[r].values;
    EXPECT_NEAR(shown(0), v[0] / 1000.0, 1.0);
    EXPECT_NEAR(shown(1), v[1] / 1000.0, 1.0);
    EXPECT_NEAR(shown(2), v[2] / 1000.0, 1.0);
    EXPECT_NEAR(shown(3), v[4] / 100.0, 1.0);
    EXPECT_NEAR(shown(4), v[5], 1.0);
    EXPECT_NEAR(shown(5), v[6] / 1000.0, 1.0);
    EXPECT_NEAR(shown(6), v[3], 1.0);
  }
}

TEST_F(Playback, WidestChartPagesNineHundredNinetyNineRecords) {
  chart.SetPosition(0, 0);
  chart.SetSize(100, 50);
  chart.OnResize(2400, 800);
  ASSERT_EQ(chart.Capacity(), TrendChart::kMaxCapacity);
  const auto records = test::writeSampleLog(dir / "a.log", 2000);
  state.LoadLogPage(dir / "a.log", 1500);
  EXPECT_EQ(state.pageFirst(), 998);
  EXPECT_EQ(state.pageLast(), 1996);
  ASSERT_TRUE(state.ShowPlaybackRecord(998));
  EXPECT_EQ(link.liveValues, records[1996].values);
}

TEST_F(Playback, ShortFilesCountWholeRecordsOnly) {
  test::writeSampleLog(dir / "a.log", 2, 12);  // 100 bytes
  EXPECT_EQ(state.LoadLogPage(dir / "a.log", 0), 1);
  EXPECT_EQ(state.pageCount(), 2);
  EXPECT_EQ(state.LoadLogPage(dir / "missing.log", 0), 0);
  EXPECT_EQ(state.pageCount(), 2);  // a file that cannot be opened changes nothing
}

TEST_F(Playback, ChooserOffersTheDaysLogFilesInTheDataFolder) {
  form.onInit();
  EXPECT_EQ(form.OpenLogFile(), 1);  // cancelled
  ASSERT_EQ(host.fileRequests.size(), 1u);
  const auto& request = host.fileRequests[0];
  ASSERT_EQ(request.filters.size(), 2u);
  EXPECT_EQ(request.filters[0].description, "Log Files");
  EXPECT_EQ(request.filters[0].pattern, "*2006_3_5*.log");
  EXPECT_EQ(request.filters[1].description, "All Files");
  EXPECT_EQ(request.filters[1].pattern, "*.*");
  EXPECT_EQ(request.initialName, "2006_3_5");
  EXPECT_EQ(request.initialFolder, dir.path().string());
  EXPECT_FALSE(form.slider.enabled);
  EXPECT_FALSE(form.transportEnabled);
  EXPECT_EQ(desktop.invalidations, 0);
}

TEST_F(Playback, FirstLoadSetsUpTheSliderOverTheWholeFile) {
  const auto records = openLog(25);
  EXPECT_EQ(form.pathText, (dir / "log_2006_3_5_9.log").string());
  EXPECT_TRUE(form.slider.enabled);
  EXPECT_TRUE(form.transportEnabled);
  EXPECT_EQ(form.slider.minimum, 0);
  EXPECT_EQ(form.slider.maximum, 24);
  EXPECT_EQ(form.slider.tickFrequency, 24);
  EXPECT_EQ(form.slider.selectionFirst, 0);
  EXPECT_EQ(form.slider.selectionLast, 10);
  EXPECT_EQ(form.slider.position, 0);
  EXPECT_EQ(desktop.calls.back(), "invalidate");
  expectShowing(records);
}

TEST_F(Playback, PlayRunsAcrossPagesToTheEndAndReturnsToRecordOne) {
  const auto records = openLog(25);
  form.play();
  EXPECT_EQ(host.timers[PLAYBACK_TIMER], 100);
  std::vector<std::int32_t> positions;
  while (positions.size() < 1000 && host.tick(PLAYBACK_TIMER)) {
    positions.push_back(state.position);
    if (state.position == 10) {
      EXPECT_EQ(form.slider.selectionFirst, 10);  // the next page
    }
    expectShowing(records);
    EXPECT_EQ(form.slider.position, state.position);
  }
  ASSERT_EQ(positions.size(), 25u);
  EXPECT_EQ(positions[0], 1);
  EXPECT_EQ(positions[23], 24);
  EXPECT_EQ(positions[24], 1);  // the end stops the timer and goes back to record 1
  EXPECT_EQ(form.slider.selectionFirst, 0);
}

TEST_F(Playback, ReversePlayStopsAtRecordZero) {
  const auto records = openLog(25);
  form.sliderMoved(12);
  form.fastReverse();
  EXPECT_EQ(host.timers[PLAYBACK_TIMER], 5);
  std::vector<std::int32_t> positions;
  while (positions.size() < 1000 && host.tick(PLAYBACK_TIMER)) {
    positions.push_back(state.position);
    expectShowing(records);
  }
  EXPECT_EQ(positions.front(), 11);
  EXPECT_EQ(positions.back(), 0);
  EXPECT_EQ(positions.size(), 13u);  // 11 down to 0, then the tick that stops
  EXPECT_EQ(form.slider.selectionFirst, 0);
}

TEST_F(Playback, StopShowsRecordOneAndDraggingLoadsThePageOfTheRecord) {
  const auto records = openLog(25);
  form.fastForward();
  EXPECT_EQ(host.timers[PLAYBACK_TIMER], 5);
  form.stop();
  host.deliverPosted();
  EXPECT_FALSE(host.timerRunning(PLAYBACK_TIMER));
  EXPECT_EQ(state.position, 1);
  EXPECT_EQ(form.slider.position, 1);
  expectShowing(records);

  form.sliderMoved(17);
  EXPECT_EQ(form.slider.selectionFirst, 10);
  EXPECT_EQ(form.slider.selectionLast, 20);
  expectShowing(records);
  form.sliderMoved(23);
  EXPECT_EQ(form.slider.selectionFirst, 20);
  expectShowing(records);

  form.play();
  form.pause();
  EXPECT_FALSE(host.timerRunning(PLAYBACK_TIMER));
  form.play();
  form.close();
  EXPECT_FALSE(host.timerRunning(PLAYBACK_TIMER));
  EXPECT_TRUE(form.isEnded());
  EXPECT_EQ(form.result(), 1);
}

TEST_F(Playback, SliderCoversFilesBeyondSixteenBits) {
  const auto records = openLog(70000);
  EXPECT_EQ(form.slider.maximum, 69999);
  form.sliderMoved(69995);
  EXPECT_EQ(form.slider.selectionFirst, 69990);
  expectShowing(records);
}

TEST_F(Playback, FilesWithoutRecordsLeaveNothingToPlay) {
  openLog(25);
  form.play();
  test::writeBytes(dir / "empty.log", std::vector<unsigned char>(43, 1));
  for (const auto& path : {dir / "empty.log", dir / "missing.log", dir.path()}) {
    SCOPED_TRACE(path);
    choose(path);
    EXPECT_FALSE(form.slider.enabled);
    EXPECT_FALSE(form.transportEnabled);
    EXPECT_EQ(form.slider.maximum, 0);
    EXPECT_EQ(state.position, 0);
    EXPECT_FALSE(state.showPosition());  // nothing of the earlier file is shown
    EXPECT_FALSE(host.timerRunning(PLAYBACK_TIMER));
    form.play();
  }
}

TEST_F(Playback, OneRecordFileStopsOnItsOnlyRecord) {
  const auto records = openLog(1);
  form.play();
  EXPECT_EQ(positionsUntilStopped(), std::vector<std::int32_t>{0});
  form.stop();
  host.deliverPosted();
  expectShowing(records);
}

}  // namespace
}  // namespace vs
