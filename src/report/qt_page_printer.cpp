#include "report/qt_page_printer.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

#include "widgets/qpainter_canvas.h"

namespace vs {
namespace {

// The largest font up to 10 points at which the page fits the printable area.
QFont pageFont(QPrinter& printer, const PrintJob& job) {
  const QRectF area = printer.pageRect(QPrinter::DevicePixel);
  QFont font;
  font.setStyleHint(QFont::SansSerif);
  int pixels = printer.resolution() * 10 / 72;
  for (;;) {
    font.setPixelSize(pixels);
    const QFontMetrics metrics(font, &printer);
    const bool fits = metrics.height() * job.lines <= area.height() &&
                      metrics.averageCharWidth() * job.characters <= area.width();
    if (fits || pixels <= 4) return font;
    pixels = pixels * 19 / 20;
  }
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
    QPainterCanvas canvas(printer, pageFont(printer, job));
    draw(canvas, printer.resolution());
  }
  return pdfFile.isEmpty() || QFileInfo(pdfFile).size() > 0;
}

}  // namespace vs
