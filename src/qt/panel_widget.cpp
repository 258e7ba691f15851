#include "qt/panel_widget.h"

#include <QPainter>
#include <QResizeEvent>

#include "qt/qpainter_canvas.h"
#include "shell/shell.h"

namespace vs {

QFont PanelWidget::instrumentFont() {
  QFont font = QPainterCanvas::panelFont();
  font.setStretch(QFont::SemiCondensed);
  return font;
}

PanelWidget::PanelWidget(QWidget* parent) : QWidget(parent), font_(instrumentFont()) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  // The window's own background, seen only before the first frame.
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(64, 128, 128));
  setPalette(background);
  setFocusPolicy(Qt::StrongFocus);
}

void PanelWidget::resizeEvent(QResizeEvent* event) {
  const QSize size = event->size();
  // The image is made again only when the window changes size, never per frame.
  frame_ = QImage(size, QImage::Format_RGB32);
  if (shell_ != nullptr) shell_->onResize(size.width(), size.height());
}

void PanelWidget::paintEvent(QPaintEvent*) {
  if (shell_ == nullptr || frame_.isNull()) return;
  {
    QPainterCanvas canvas(frame_, font_);
    shell_->onPaint(canvas);
  }
  QPainter(this).drawImage(0, 0, frame_);
}

}  // namespace vs
