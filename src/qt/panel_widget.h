#pragma once

#include <QImage>
#include <QWidget>

namespace vs {

class Shell;

// The main window's client area: the instrument panel, drawn by the shell into
// an off-screen image and copied to the screen in one piece, so that the
// instruments never flicker. The background is never erased separately.
class PanelWidget : public QWidget {
 public:
  explicit PanelWidget(QWidget* parent);

  // The instruments' font: the canvas's panel font, semi-condensed, since the
  // panel's geometry leaves room for captions in a narrow system font.
  static QFont instrumentFont();

  void attach(Shell* shell) { shell_ = shell; }
  // The frame last drawn, as it went to the screen.
  const QImage& frame() const { return frame_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  Shell* shell_ = nullptr;
  QImage frame_;
  QFont font_;
};

}  // namespace vs
