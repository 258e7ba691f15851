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

namespace vs {
namespace {

// Dry runs draw at this fraction of the printer's resolution, small enough for
// an image of the whole page and fine enough to place every character.
constexpr int kDryRunDivisor = 8;

// How far the page's ink reaches to the right and down, in printer pixels, when
// it is drawn with a default font of `pixels` pixels.
QSize inkExtent(int pixels, int dotsPerInch, const QSizeF& area, const PageDrawer& draw) {
  QImage image((area * 2 / kDryRunDivisor).toSize(), QImage::Format_Grayscale8);
  image.fill(Qt::white);
  {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, pixels / kDryRunDivisor));
    QPainterCanvas canvas(image, font);
    draw(canvas, dotsPerInch / kDryRunDivisor);
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
  return QSize(right, bottom) * kDryRunDivisor;
}

// The largest default font up to 12 points with which the drawn page fits the
// printable area. The page is laid out in units of the font, so its extent
// grows with it; only the title keeps its physical size.
QFont pageFont(QPrinter& printer, const PageDrawer& draw) {
  const QSizeF area = printer.pageRect(QPrinter::DevicePixel).size();
  const int dotsPerInch = printer.resolution();
  int pixels = dotsPerInch * 12 / 72;
  for (int attempt = 0; attempt < 8; ++attempt) {
    const QSize extent = inkExtent(pixels, dotsPerInch, area, draw);
    const double scale = std::min(area.width() / std::max(1, extent.width()),
                                  area.height() / std::max(1, extent.height()));
    if (scale >= 1.0) break;
    // A little below the proportion, as glyphs do not scale exactly.
    pixels = std::max(kDryRunDivisor, static_cast<int>(pixels * scale * 0.98));
  }
  QFont font;
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixels);
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
