#include "qt/page_slider.h"

#include <QStyleOptionSlider>
#include <QStylePainter>

namespace vs {
namespace {

const QColor kPageColour(230, 120, 0);

}  // namespace

PageSlider::PageSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
  setTickPosition(QSlider::TicksBelow);
}

void PageSlider::setPage(int first, int last) {
  if (first == first_ && last == last_) return;
  first_ = first;
  last_ = last;
  setToolTip(last >= first ? QString("Records %1 to %2 in memory").arg(first).arg(last)
                           : QString());
  update();
}

// Groove and ticks first, the band on the groove, and the handle over both, so
// that the handle is never hidden by the band.
void PageSlider::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionSlider option;
  initStyleOption(&option);
  option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderTickmarks;
  painter.drawComplexControl(QStyle::CC_Slider, option);

  if (isEnabled() && last_ >= first_) {
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    // Where the handle's centre stands for a value, as the style places it.
    const int span = option.rect.width() - handle.width();
    const auto xOf = [&](int value) {
      return option.rect.x() + handle.width() / 2 +
             QStyle::sliderPositionFromValue(minimum(), maximum(), value, span, option.upsideDown);
    };
    const int left = xOf(std::max(first_, minimum()));
    const int right = xOf(std::min(last_, maximum()));
    const int height = std::max(groove.height() / 2, 3);
    painter.fillRect(
        QRect(left, groove.center().y() - height / 2, std::max(right - left, 2), height),
        kPageColour);
  }

  option.subControls = QStyle::SC_SliderHandle;
  painter.drawComplexControl(QStyle::CC_Slider, option);
}

}  // namespace vs
