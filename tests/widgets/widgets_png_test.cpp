#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "gui_app.h"
#include "sample_panel.h"
#include "widgets/qpainter_canvas.h"

namespace vs {
namespace {

// Renders the panel as the main window shows it after a few hundred polls and
// saves it, with close-ups of one gauge, one bar and the chart, for a person
// to look at.
TEST(WidgetsPngTest, RendersThePanelForInspection) {
  test::ensureGuiApplication();
  constexpr int kWidth = 1600;
  constexpr int kHeight = 900;
  test::SamplePanel panel;
  panel.resize(kWidth, kHeight);
  std::int32_t now = 1700000000;
  panel.chart.SetClock([&now] { return now++; });

  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  const int repaints = panel.chart.Capacity() - 20;
  for (int tick = 0; tick < repaints; ++tick) {
    const auto values = test::SamplePanel::valuesAt(tick);
    {
      QPainterCanvas canvas(image);
      panel.draw(canvas, values);
    }
    panel.sample(values);
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
