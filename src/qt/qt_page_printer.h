#pragma once

#include "report/page_printer.h"

class QWidget;

namespace vs {

// Pages on paper through the system's print dialog, or into PDF files through
// Qt's PDF output: the same canvas drawing either way, in the largest font
// up to 12 points with which the page fits the printable area.
class QtPagePrinter : public PagePrinter {
 public:
  explicit QtPagePrinter(QWidget* parent) : parent_(parent) {}
  bool printPage(const PrintJob& job, const PageDrawer& draw) override;

 private:
  QWidget* parent_;
};

}  // namespace vs
