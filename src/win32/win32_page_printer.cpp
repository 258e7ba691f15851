#include "win32/win32_page_printer.h"

// The print dialog's and the spooler's headers need Windows' own first, and
// PrintDlgEx's the COM declarations.
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <commdlg.h>
#include <winspool.h>
// clang-format on

#include <algorithm>
#include <cwchar>

#include "report/page_fit.h"
#include "win32/dib_frame.h"
#include "win32/gdi_canvas.h"
#include "win32/wide_text.h"

namespace vs {
namespace {

// How far the page's ink reaches to the right and down, in device pixels,
// when it is drawn with a default font of `pixels`: drawn smaller into a
// picture of twice the area, and measured there.
PageExtent inkExtent(int pixels, int dotsPerInch, PageExtent area, const PageDrawer& draw) {
  const int divisor = dryRunDivisor(dotsPerInch);
  DibFrame frame;
  if (!frame.resize(std::max(1, area.width * 2 / divisor),
                    std::max(1, area.height * 2 / divisor))) {
    return area;  // nothing to measure with: the font stays as it is
  }
  PatBlt(frame.dc(), 0, 0, frame.width(), frame.height(), WHITENESS);
  {
    GdiCanvas canvas(frame.dc(), frame.width(), frame.height(),
                     printedPageFont(std::max(1, pixels / divisor)));
    draw(canvas, dotsPerInch / divisor);
  }
  int right = 0;
  int bottom = 0;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      if (frame.pixel(x, y) == kWhite) continue;
      right = std::max(right, x + 1);
      bottom = y + 1;
    }
  }
  return {right * divisor, bottom * divisor};
}

// The page on paper: half an inch in from each edge, within what the printer
// reaches; in device pixels from the corner of its printable area.
RECT pageArea(HDC dc) {
  const int marginX = GetDeviceCaps(dc, LOGPIXELSX) / 2;
  const int marginY = GetDeviceCaps(dc, LOGPIXELSY) / 2;
  const int offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
  const int offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
  return {
      std::max(marginX - offsetX, 0), std::max(marginY - offsetY, 0),
      std::min(GetDeviceCaps(dc, PHYSICALWIDTH) - marginX - offsetX, GetDeviceCaps(dc, HORZRES)),
      std::min(GetDeviceCaps(dc, PHYSICALHEIGHT) - marginY - offsetY, GetDeviceCaps(dc, VERTRES))};
}

// The printer the print dialog returned as its driver, device and settings,
// when it returned no DC.
HDC printerFromNames(HGLOBAL names, HGLOBAL mode) {
  if (names == nullptr) return nullptr;
  const auto* devNames = static_cast<const DEVNAMES*>(GlobalLock(names));
  const auto* devMode = mode != nullptr ? static_cast<const DEVMODEW*>(GlobalLock(mode)) : nullptr;
  const auto* base = reinterpret_cast<const wchar_t*>(devNames);
  HDC dc = CreateDCW(base + devNames->wDriverOffset, base + devNames->wDeviceOffset,
                     base + devNames->wOutputOffset, devMode);
  if (mode != nullptr) GlobalUnlock(mode);
  GlobalUnlock(names);
  return dc;
}

}  // namespace

LOGFONTW printedPageFont(int pixels) {
  LOGFONTW font{};
  font.lfHeight = -pixels;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  std::wcscpy(font.lfFaceName, L"Arial");
  return font;
}

int drawFittedPage(HDC dc, const RECT& area, int dotsPerInch, const PageDrawer& draw) {
  const PageExtent size{area.right - area.left, area.bottom - area.top};
  const int pixels = fittingFontPixels(
      dotsPerInch, size, [&](int tried) { return inkExtent(tried, dotsPerInch, size, draw); });
  POINT origin{};
  SetViewportOrgEx(dc, area.left, area.top, &origin);
  {
    GdiCanvas canvas(dc, size.width, size.height, printedPageFont(pixels));
    draw(canvas, dotsPerInch);
  }
  SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
  return pixels;
}

HDC Win32PagePrinter::choosePrinter() const {
  PRINTDLGEXW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner_;
  // One copy of one page: nothing to choose but the printer and its settings.
  // Without any printer the dialog says so itself and fails.
  dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_NOCURRENTPAGE |
                 PD_USEDEVMODECOPIESANDCOLLATE;
  dialog.nCopies = 1;
  dialog.nStartPage = START_PAGE_GENERAL;
  const HRESULT shown = PrintDlgExW(&dialog);
  HDC dc = nullptr;
  if (SUCCEEDED(shown) && dialog.dwResultAction == PD_RESULT_PRINT) {
    dc = dialog.hDC != nullptr ? dialog.hDC : printerFromNames(dialog.hDevNames, dialog.hDevMode);
  } else if (dialog.hDC != nullptr) {
    DeleteDC(dialog.hDC);
  }
  if (dialog.hDevMode != nullptr) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames != nullptr) GlobalFree(dialog.hDevNames);
  return dc;
}

bool Win32PagePrinter::printPage(const PrintJob& job, const PageDrawer& draw) {
  const HDC dc =
      job.pdfFile.empty() ? choosePrinter() : CreateDCW(L"WINSPOOL", kPdfPrinter, nullptr, nullptr);
  if (dc == nullptr) return false;
  const std::wstring name = toWide(job.documentName);
  const std::wstring output = toWide(job.pdfFile);
  DOCINFOW document{};
  document.cbSize = sizeof document;
  document.lpszDocName = name.c_str();
  document.lpszOutput = output.empty() ? nullptr : output.c_str();
  bool printed = false;
  if (StartDocW(dc, &document) > 0) {
    if (StartPage(dc) > 0) {
      drawFittedPage(dc, pageArea(dc), GetDeviceCaps(dc, LOGPIXELSY), draw);
      printed = EndPage(dc) > 0;
    }
    if (printed) {
      printed = EndDoc(dc) > 0;
    } else {
      AbortDoc(dc);
    }
  }
  DeleteDC(dc);
  return printed;
}

std::string Win32PagePrinter::pdfUnavailable() const {
  HANDLE printer = nullptr;
  if (OpenPrinterW(const_cast<wchar_t*>(kPdfPrinter), &printer, nullptr) == 0) return kNoPdfPrinter;
  ClosePrinter(printer);
  return {};
}

}  // namespace vs
