// The main window's repaint in playback mode, on the shell's own instrument
// panel: once the position has moved, the next repaint shows that record on
// every instrument and puts the chart's cursor on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "logging/log_files.h"
#include "logging/playback_form.h"
#include "shell/live_view.h"
#include "support/recording_canvas.h"
#include "support/scripted_desktop.h"
#include "support/temp_dir.h"
#include "widgets/number_text.h"

namespace vs {
namespace {

std::string number(double value, int decimals) {
  TextBuffer buffer;
  return std::string(formatNumber(buffer, value, decimals));
}

// Every record's values differ from every other's, so a record shown late or
// from the wrong page cannot pass for the right one.
std::vector<LogRecord> writeDistinctLog(const std::filesystem::path& path, int count) {
  std::vector<LogRecord> records;
  for (int i = 0; i < count; ++i) {
    LogRecord r;
    r.timeStamp = 1'772'953'200 + i / 5;
    r.values = {200 + i, 1199 - i,       10'000 + 3 * i, i,         500 + 10 * i,
                i % 3,   20'000 + 3 * i, 2'000 + i,      5'000 + i, 0};
    records.push_back(r);
  }
  test::writeBytes(path, test::encodeAll(records));
  return records;
}

TEST(PlaybackRepaint, EveryInstrumentShowsTheRecordAtThePosition) {
  test::TempDir dir;
  const auto records = writeDistinctLog(dir / "log_2026_3_8_7.log", 1200);
  LiveView view;
  view.resize(1920, 1080);
  ValveLink link;
  PlaybackState state(view.chart(), link);
  test::RecordingCanvas startUp;  // the window has been painted before playback
  view.paint(startUp, link, state);
  link.playbackMode = true;
  test::ScriptedDesktop mainWindow;
  PlaybackForm form(state, mainWindow, dir.path(), {2026, 3, 8});
  test::ScriptedFormHost host(form);
  host.fileChoices.push_back((dir / "log_2026_3_8_7.log").string());
  ASSERT_EQ(form.OpenLogFile(), 0);
  const int capacity = view.chart().Capacity();
  ASSERT_GT(capacity, 100);

  // In the page, at its last record (shown from the next page), on a page
  // loaded by a jump, and back on the first page.
  for (const int position : {0, 7, capacity, capacity + 3, 1100, 1199, 2}) {
    SCOPED_TRACE(position);
    form.sliderMoved(position);
    test::RecordingCanvas canvas;
    view.paint(canvas, link, state);

    const auto& v = records[static_cast<std::size_t>(position)].values;
    const auto drawn = [&](const std::string& text) {
      const auto texts = canvas.texts();
      return std::count(texts.begin(), texts.end(), text);
    };
    EXPECT_EQ(drawn(number(v[LIVE_O2_FEEDBACK] / 1000.0, 3)), 2);  // gauge 0 and bar 1
    EXPECT_EQ(drawn(number(v[LIVE_PRESSURE] / 1000.0, 3)), 2);     // gauge 1 and bar 2
    EXPECT_EQ(drawn(number(v[LIVE_ANALOG_INPUT] / 100.0, 1)), 1);  // gauge 2
    EXPECT_GE(drawn(number(v[LIVE_O2_SET_POINT] / 1000.0, 3)), 1);
    EXPECT_GE(drawn(number(v[LIVE_PRESSURE_SET_POINT] / 1000.0, 3)), 1);
    EXPECT_EQ(drawn(number(v[LIVE_PRE_CAT_TEMP], 1)), 1);
    EXPECT_EQ(drawn(number(v[LIVE_POST_CAT_TEMP], 1)), 1);
    EXPECT_EQ(view.chart().CursorSlot(), position - state.pageFirst() + 1);
    EXPECT_TRUE(canvas.drewText(view.chart().FormatValue(1, 3)));
    EXPECT_EQ(view.chart().FormatValue(1, 3), number(v[LIVE_O2_FEEDBACK] / 1000.0, 3) + " ");
  }
}

}  // namespace
}  // namespace vs
