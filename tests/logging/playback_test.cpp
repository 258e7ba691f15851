#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "logging/log_files.h"
#include "logging/playback_rig.h"
#if !defined(_WIN32)
#include "support/full_disk.h"
#endif
#include "support/recording_canvas.h"
#include "widgets/number_text.h"

namespace vs {
namespace {

class Playback : public ::testing::Test, protected test::PlaybackRig {
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

// A short page must not keep the times of the page before it on the time axis,
// and its last record's cursor shows that record's time.
TEST_F(Playback, TimeAxisShowsOnlyTheTimesOfThePage) {
  chart.SetPosition(0, 0);
  chart.SetSize(40, 50);
  chart.OnResize(100, 100);  // 40 slots of one pixel; axis labels every 10 slots
  ASSERT_EQ(chart.Capacity(), 40);
  const auto records = test::writeSampleLog(dir / "a.log", 100);
  state.LoadLogPage(dir / "a.log", 50);
  state.LoadLogPage(dir / "a.log", 99);  // records 80 to 99
  ASSERT_TRUE(state.ShowPlaybackRecord(19));

  const auto timeOf = [&](int record, const char* format) {
    TextBuffer buffer;
    return std::string(formatLocalTime(buffer, records.at(record).timeStamp, format));
  };
  test::RecordingCanvas canvas;
  chart.PaintAxes(canvas);
  const auto texts = canvas.texts();
  EXPECT_TRUE(canvas.drewText(timeOf(99, "%m-%d-%Y %H:%M:%S")));
  std::vector<std::string> axis;
  for (const auto& text : texts) {
    if (text.size() == 8 && text[2] == ':') axis.push_back(text);
  }
  EXPECT_EQ(axis, (std::vector<std::string>{timeOf(80, "%H:%M:%S"), timeOf(90, "%H:%M:%S"),
                                            timeOf(99, "%H:%M:%S")}));
}

// After Zoom Out, or in a smaller window, a page loaded for the wider chart
// would be drawn past the plot's right edge.
TEST_F(Playback, ANarrowerChartGetsThePageAgainAtItsCapacity) {
  const auto records = test::writeSampleLog(dir / "a.log", 100);
  chart.SetPosition(0, 0);
  chart.SetSize(40, 50);
  chart.OnResize(100, 100);
  state.LoadLogPage(dir / "a.log", 30);
  ASSERT_EQ(state.pageCount(), 41);

  chart.SetSize(20, 50);
  ASSERT_EQ(chart.Capacity(), 20);
  state.position = 30;
  ASSERT_TRUE(state.showPosition());
  EXPECT_EQ(state.pageFirst(), 20);
  EXPECT_EQ(state.pageCount(), 21);
  EXPECT_LE(chart.WriteSlot(), 21);
  EXPECT_EQ(chart.CursorSlot(), 11);
  EXPECT_EQ(link.liveValues, records[30].values);

  chart.SetSize(40, 50);  // wider again: the page fits and stays
  state.position = 35;
  ASSERT_TRUE(state.showPosition());
  EXPECT_EQ(state.pageFirst(), 20);
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

TEST_F(Playback, CapacityPlusOneRecordsAreOnePage) {
  const auto records = openLog(11);
  EXPECT_EQ(form.slider.maximum, 10);
  EXPECT_EQ(form.slider.selectionFirst, 0);
  EXPECT_EQ(form.slider.selectionLast, 10);
  EXPECT_EQ(state.pageCount(), 11);
  form.sliderMoved(9);
  EXPECT_EQ(state.pageFirst(), 0);  // still in memory: no reload
  expectShowing(records);
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

TEST_F(Playback, FilesWithoutRecordsLeaveNothingToPlayAndSayWhy) {
  openLog(25);
  EXPECT_EQ(form.status, "");
  form.play();
  test::writeBytes(dir / "cut.log", std::vector<unsigned char>(43, 1));
  test::writeBytes(dir / "empty.log", {});
  const std::pair<std::filesystem::path, std::string> cases[] = {
      {dir / "cut.log", "The file holds no records."},
      {dir / "empty.log", "The file holds no records."},
      {dir / "missing.log", "The file cannot be read."},
      {dir.path(), "The file cannot be read."},
  };
  for (const auto& [path, status] : cases) {
    SCOPED_TRACE(path);
    choose(path);
    EXPECT_EQ(form.status, status);
    EXPECT_FALSE(form.slider.enabled);
    EXPECT_FALSE(form.transportEnabled);
    EXPECT_EQ(form.slider.maximum, 0);
    EXPECT_EQ(state.position, 0);
    EXPECT_FALSE(state.showPosition());  // nothing of the earlier file is shown
    EXPECT_FALSE(host.timerRunning(PLAYBACK_TIMER));
    form.play();
  }
  openLog(25);
  EXPECT_EQ(form.status, "");
}

TEST_F(Playback, OneRecordFileStopsOnItsOnlyRecord) {
  const auto records = openLog(1);
  form.play();
  EXPECT_EQ(positionsUntilStopped(), std::vector<std::int32_t>{0});
  form.stop();
  host.deliverPosted();
  expectShowing(records);
}

// Records what the view would show of an export, and when.
struct ProgressRecorder : ExportProgress {
  explicit ProgressRecorder(test::ScriptedFormHost& host) : host(host) {}
  bool update(std::int64_t done, std::int64_t total) override {
    updates.emplace_back(done, total);
    return !cancel;
  }
  void finish() override {
    ++finished;
    boxesAtFinish = host.boxes.size();
  }
  test::ScriptedFormHost& host;
  bool cancel = false;
  std::vector<std::pair<std::int64_t, std::int64_t>> updates;
  int finished = 0;
  std::size_t boxesAtFinish = 0;
};

class PlaybackExport : public Playback {
 protected:
  void SetUp() override { form.setExportProgress(&progress); }
  std::vector<std::string> csvLines(const std::filesystem::path& path) {
    const auto bytes = test::readBytes(path);
    std::vector<std::string> lines;
    std::string text(bytes.begin(), bytes.end());
    for (std::size_t from = 0, at; (at = text.find("\r\n", from)) != std::string::npos;
         from = at + 2)
      lines.push_back(text.substr(from, at - from));
    return lines;
  }
  ProgressRecorder progress{host};
};

TEST_F(PlaybackExport, WritesTheLoadedFileWhereTheUserChooses) {
  const auto records = openLog(25, 7);
  host.fileChoices.push_back((dir / "engine 7").string());  // no extension given
  form.exportCsv();

  ASSERT_EQ(host.fileRequests.size(), 2u);
  const auto& request = host.fileRequests[1];
  EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
  EXPECT_EQ(request.initialName, "log_2006_3_5_9.csv");
  EXPECT_EQ(request.initialFolder, dir.path().string());
  ASSERT_FALSE(request.filters.empty());
  EXPECT_EQ(request.filters[0].pattern, "*.csv");

  const auto lines = csvLines(dir / "engine 7.csv");
  ASSERT_EQ(lines.size(), 26u);  // header and every whole record
  EXPECT_EQ(lines[25].substr(lines[25].find(',') + 1, 10), std::to_string(records[24].timeStamp));

  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "25 records written to\n" + (dir / "engine 7.csv").string());
  EXPECT_EQ(host.boxes[0].caption, "Export CSV");
  EXPECT_EQ(host.boxes[0].icon, Icon::Information);
  ASSERT_FALSE(progress.updates.empty());
  EXPECT_EQ(progress.updates.back(), std::make_pair(std::int64_t{25}, std::int64_t{25}));
  EXPECT_EQ(progress.finished, 1);
  EXPECT_EQ(progress.boxesAtFinish, 0u);  // the progress is gone before the report
}

TEST_F(PlaybackExport, CancellingWritesNothing) {
  form.exportCsv();  // nothing loaded yet: nothing to export
  EXPECT_TRUE(host.fileRequests.empty());

  openLog(25);
  form.exportCsv();  // the chooser is cancelled
  EXPECT_EQ(host.fileRequests.size(), 2u);

  progress.cancel = true;  // the progress dialog's Cancel
  host.fileChoices.push_back((dir / "out.csv").string());
  form.exportCsv();
  EXPECT_EQ(progress.finished, 1);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "out.csv"));
}

TEST_F(PlaybackExport, AsksBeforeReplacingAFile) {
  openLog(25);
  test::writeBytes(dir / "out.csv", {'k', 'e', 'e', 'p'});
  host.fileChoices.push_back((dir / "out.csv").string());
  host.answers.push_back(ANSWER_NO);
  form.exportCsv();
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "out.csv already exists.\nDo you want to replace it?");
  EXPECT_EQ(host.boxes[0].buttons, Buttons::YesNo);
  EXPECT_EQ(test::readBytes(dir / "out.csv"), (std::vector<unsigned char>{'k', 'e', 'e', 'p'}));

  host.fileChoices.push_back((dir / "out.csv").string());
  host.answers.push_back(ANSWER_YES);
  form.exportCsv();
  EXPECT_EQ(csvLines(dir / "out.csv").size(), 26u);
}

#if !defined(_WIN32)  // a full disk is made with the POSIX file-size limit
TEST_F(PlaybackExport, AFullDiskKeepsTheFileItWasToReplace) {
  openLog(25);
  test::writeBytes(dir / "out.csv", {'k', 'e', 'e', 'p'});
  host.fileChoices.push_back((dir / "out.csv").string());
  host.answers.push_back(ANSWER_YES);
  {
    const test::FullDisk full;
    form.exportCsv();
  }
  EXPECT_EQ(host.boxes.back().text,
            "The CSV file could not be written:\n" + (dir / "out.csv").string());
  EXPECT_EQ(test::readBytes(dir / "out.csv"), (std::vector<unsigned char>{'k', 'e', 'e', 'p'}));
}
#endif

TEST_F(PlaybackExport, ReportsATargetThatCannotBeWritten) {
  const auto records = openLog(25);
  for (const auto& target : {dir / "no such folder" / "out.csv", dir / "log_2006_3_5_9.log"}) {
    SCOPED_TRACE(target);
    host.boxes.clear();
    host.fileChoices.push_back(target.string());
    form.exportCsv();
    ASSERT_FALSE(host.boxes.empty());
    EXPECT_EQ(host.boxes.back().text, "The CSV file could not be written:\n" + target.string());
    EXPECT_EQ(host.boxes.back().icon, Icon::Exclamation);
  }
  // Offered the log itself, the export refuses instead of truncating it.
  EXPECT_EQ(test::readBytes(dir / "log_2006_3_5_9.log"), test::encodeAll(records));

  std::filesystem::remove(dir / "log_2006_3_5_9.log");
  host.fileChoices.push_back((dir / "out.csv").string());
  form.exportCsv();
  EXPECT_EQ(host.boxes.back().text,
            "The log file could not be read:\n" + (dir / "log_2006_3_5_9.log").string());
}

}  // namespace
}  // namespace vs
