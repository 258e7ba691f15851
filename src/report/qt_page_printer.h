#pragma once

#include "report/page_printer.h"

class QWidget;

namespace vs {

// Pages on paper through the system's print dialog, or into PDF files through
// Qt's PDF output: the same canvas drawing either way, in a font sized so
// that the page's lines and characters fit the printable area.
class QtPagePrinter : public PagePrinter {
 public:
  explicit QtPagePrinter(QWidget* parent) : parent_(parent) {}
  bool printPage(const PrintJob& job, const PageDrawer& draw) override;

 private:
  QWidget* parent_;
};

}  // namespace vs
