#include "qt/qt_page_printer.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

#include "qt/qpainter_canvas.h"
#include "report/page_fit.h"

namespace vs {
namespace {

// How far the page's ink reaches to the right and down, in printer pixels, when
// it is drawn with a default font of `pixels` pixels.
PageExtent inkExtent(int pixels, int dotsPerInch, const QSizeF& area, const PageDrawer& draw) {
  const int divisor = dryRunDivisor(dotsPerInch);
  QImage image((area * 2 / divisor).toSize(), QImage::Format_Grayscale8);
  image.fill(Qt::white);
  {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, pixels / divisor));
    QPainterCanvas canvas(image, font);
    draw(canvas, dotsPerInch / divisor);
  }
  int right = 0;
  int bottom = 0;
  for (int y = 0; y < image.height(); ++y) {
    const uchar* row = image.constScanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      if (row[x] == 255) continue;
      right = std::max(right, x + 1);
      bottom = y + 1;
    }
  }
  return {right * divisor, bottom * divisor};
}

// The largest default font up to 12 points with which the page fits the
// printable area.
QFont pageFont(QPrinter& printer, const PageDrawer& draw) {
  const QSizeF area = printer.pageRect(QPrinter::DevicePixel).size();
  const int dotsPerInch = printer.resolution();
  QFont font;
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(fittingFontPixels(
      dotsPerInch, {static_cast<int>(area.width()), static_cast<int>(area.height())},
      [&](int pixels) { return inkExtent(pixels, dotsPerInch, area, draw); }));
  return font;
}

}  // namespace

bool QtPagePrinter::printPage(const PrintJob& job, const PageDrawer& draw) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromStdString(job.documentName));
  printer.setCopyCount(1);
  const QString pdfFile = QString::fromStdString(job.pdfFile);
  if (pdfFile.isEmpty()) {
    QPrintDialog dialog(&printer, parent_);
    // One page: there are no page numbers to choose.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) return false;
  } else {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFile);
    printer.setPageMargins(QMarginsF(12.7, 12.7, 12.7, 12.7), QPageLayout::Millimeter);
    // Emptied first, so that what is found there afterwards is this page.
    QFile file(pdfFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  }
  {
    QPainterCanvas canvas(printer, pageFont(printer, draw));
    draw(canvas, printer.resolution());
  }
  return pdfFile.isEmpty() || QFileInfo(pdfFile).size() > 0;
}

}  // namespace vs
