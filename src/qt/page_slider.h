#pragma once

#include <QSlider>

namespace vs {

// The playback slider: a horizontal slider over the records of a file that
// also shows which of them are in memory, as a band in its groove. QSlider has
// no selection range of its own.
class PageSlider : public QSlider {
 public:
  explicit PageSlider(QWidget* parent);

  // The records from `first` to `last` are loaded; an empty span shows no band.
  void setPage(int first, int last);
  int pageFirst() const { return first_; }
  int pageLast() const { return last_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int first_ = 0;
  int last_ = -1;
};

}  // namespace vs
