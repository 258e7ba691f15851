#pragma once

#include <functional>
#include <string>

#include "widgets/canvas.h"

namespace vs {

// One page for the printer, or for a PDF file.
struct PrintJob {
  std::string documentName;  // as the printer's queue shows it
  std::string pdfFile;       // empty: the user chooses a printer
};

// Draws the page on the output's canvas, in units of its default font; the
// resolution lets fonts of a fixed physical size be sized in device units.
// The output may call it more than once to choose the font's size.
using PageDrawer = std::function<void(Canvas& canvas, int dotsPerInch)>;

// Where a dialog's page goes: the program's print dialog and PDF output, or a
// test's recording canvas.
class PagePrinter {
 public:
  virtual ~PagePrinter() = default;
  // False when the user cancelled the print dialog or the file could not be
  // written.
  virtual bool printPage(const PrintJob& job, const PageDrawer& draw) = 0;
  // Why this output cannot write PDF files on this computer, for the user;
  // empty when it can.
  virtual std::string pdfUnavailable() const { return {}; }
};

}  // namespace vs
