#pragma once

#include <windows.h>

#include <string>

#include "report/page_printer.h"

namespace vs {

// Pages on paper through the system's print dialog (PrintDlgEx), or into PDF
// files through the "Microsoft Print to PDF" printer with the file as the
// document's output: the same canvas drawing on the printer's DC either way.
class Win32PagePrinter : public PagePrinter {
 public:
  static constexpr const wchar_t* kPdfPrinter = L"Microsoft Print to PDF";
  static constexpr const char* kNoPdfPrinter =
      "Save as PDF prints to the printer \"Microsoft Print to PDF\", which this computer does "
      "not have.\nUse Print and choose another printer, or bring that printer back under "
      "\"Turn Windows features on or off\".";

  // The window the print dialog and any message belong to.
  void setOwner(HWND owner) { owner_ = owner; }

  bool printPage(const PrintJob& job, const PageDrawer& draw) override;
  std::string pdfUnavailable() const override;

 private:
  // The printer the user chooses, as a DC; null when cancelled.
  HDC choosePrinter() const;

  HWND owner_ = nullptr;
};

// Draws the page on `dc` (a printer's, or a test's picture) within `area`, in
// device pixels: in the largest default font up to 12 points with which the
// page fits. Returns that font's size in pixels.
int drawFittedPage(HDC dc, const RECT& area, int dotsPerInch, const PageDrawer& draw);

// The traveler's default font at `pixels` to the em: a plain sans-serif face;
// the canvas derives the heavy, title and fixed-pitch fonts from it.
LOGFONTW printedPageFont(int pixels);

}  // namespace vs
