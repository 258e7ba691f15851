#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "gui_app.h"
#include "logging/playback_state.h"
#include "qt/panel_widget.h"
#include "qt/qpainter_canvas.h"
#include "shell/live_view.h"
#include "widgets/sample_live_values.h"

namespace vs {
namespace {

// Renders the main window's panel after a few hundred polls and saves it,
// with close-ups of one gauge, one bar and the chart, for a person to look at.
TEST(WidgetsPngTest, RendersThePanelForInspection) {
  test::ensureGuiApplication();
  constexpr int kWidth = 1600;
  constexpr int kHeight = 900;
  LiveView view;
  ValveLink link;
  link.liveC[0] = 120;  // register 39: the warm-up counting down
  PlaybackState playback(view.chart(), link);
  view.resize(kWidth, kHeight);
  std::int32_t now = 1700000000;
  view.chart().SetClock([&now] { return now++; });

  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  const QFont font = PanelWidget::instrumentFont();
  const int repaints = view.chart().Capacity() - 20;
  for (int tick = 0; tick < repaints; ++tick) {
    link.liveValues = test::sampleLiveValues(tick);
    QPainterCanvas canvas(image, font);
    view.paint(canvas, link, playback);
  }

  const QString folder = QStringLiteral(VS_PNG_DIR);
  ASSERT_TRUE(QDir().mkpath(folder));
  EXPECT_TRUE(image.save(folder + "/panel.png"));
  EXPECT_TRUE(image.copy(QRect(560, 0, 420, 340)).save(folder + "/gauge.png"));
  EXPECT_TRUE(image.copy(QRect(0, 390, kWidth, 55)).save(folder + "/bar.png"));
  EXPECT_TRUE(image.copy(QRect(0, 540, kWidth, 360)).save(folder + "/chart.png"));
}

}  // namespace
}  // namespace vs
