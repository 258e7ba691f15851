// The traveler page end to end: the dialog on the simulated controller saves
// it through Qt's PDF output, and poppler reads the file back as a reader of
// the e-mailed report would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>

#include "qt/qt_page_printer.h"
#include "report/traveler_report_form.h"
#include "support/controller_bench.h"

namespace vs {
namespace {

QString run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

QApplication& application() {
  static int argc = 1;
  static char name[] = "traveler-pdf-test";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

struct FixedClock : Clock {
  std::int64_t unixTime() const override { return 0; }
  LocalDateTime localTime() const override { return {2025, 3, 7, 10, 30, 0, 0}; }
};

TEST(TravelerPdf, TheSavedFileHoldsOneReadablePage) {
  application();
  test::ControllerBench bench;
  bench.set(162, -12);
  FixedClock clock;
  TravelerReportForm form(bench.ctx, clock);
  test::ScriptedFormHost host(form);
  form.onInit();
  form.setText(TravelerReportForm::BOARD_SERIAL, "B-7731");
  form.setText(TravelerReportForm::TECHNICIAN, "R. Ames");
  form.setText(TravelerReportForm::CUSTOMER, "Northfield Gas");
  form.setText(TravelerReportForm::PART_NUMBER, "QX4-200-17");
  form.setCommentLines({"Replaced the O2 sensor; ", "free-air calibration passed."});

  QDir().mkpath(VS_REPORT_DIR);
  const std::string path = std::string(VS_REPORT_DIR) + "/traveler_20517.pdf";
  QFile::remove(QString::fromStdString(path));
  host.fileChoices.push_back(path);
  QtPagePrinter printer(nullptr);
  form.saveAsPdf(printer);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Traveler Report");
  EXPECT_EQ(host.boxes[0].icon, Icon::Information) << host.boxes[0].text;

  const QString file = QString::fromStdString(path);
  EXPECT_TRUE(run(PDFINFO_PATH, {file}).contains(QRegularExpression("Pages:\\s+1\\n")));
  const QString text = run(PDFTOTEXT_PATH, {"-layout", file, "-"});
  EXPECT_TRUE(text.contains(QRegularExpression("QX4 +TRAVELER"))) << text.toStdString();
  for (const char* expected :
       {"QX4",
        "TRAVELER",
        "Valve Serial #:",
        "20517",
        "3/7/2025",
        "Board Serial #:",
        "B-7731",
        "Tech:",
        "R. Ames",
        "Software Ver:",
        "4.62",
        "Part #:",
        "QX4-200-17",
        "Pressure Settings",
        "Default Pressure:",
        "3.500",
        "in. W.C.",
        "Alternative Start Pressure:",
        "Oxygen Sensor Settings",
        "AFR",
        "Actuator Settings",
        "Governor Settings",
        "Speed Set Point:",
        "1800",
        "RPM",
        "Speed Offset:",
        "-12",
        "Comments",
        "Replaced the O2 sensor; free-air calibration passed.",
        "Test Technician:_____________________________________ Date:_______________",
        "Q.C Inspector:_______________________________________ Date:_______________"}) {
    EXPECT_TRUE(text.contains(expected)) << expected << "\n" << text.toStdString();
  }

  // The page is printed as large as the paper allows inside its half-inch
  // margins: no word crosses a margin, and the words come near the right or
  // the bottom one.
  const QString boxes = run(PDFTOTEXT_PATH, {"-bbox", file, "-"});
  const QRegularExpression page(R"re(<page width="([\d.]+)" height="([\d.]+)")re");
  const QRegularExpressionMatch size = page.match(boxes);
  ASSERT_TRUE(size.hasMatch()) << boxes.toStdString();
  const double width = size.captured(1).toDouble();
  const double height = size.captured(2).toDouble();
  constexpr double kMargin = 36;  // 12.7 mm in points
  const QRegularExpression word(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">)re");
  double rightmost = 0;
  double lowest = 0;
  for (auto it = word.globalMatch(boxes); it.hasNext();) {
    const QRegularExpressionMatch box = it.next();
    EXPECT_GE(box.captured(1).toDouble(), kMargin - 1);
    EXPECT_GE(box.captured(2).toDouble(), kMargin - 1);
    EXPECT_LE(box.captured(3).toDouble(), width - kMargin + 1);
    EXPECT_LE(box.captured(4).toDouble(), height - kMargin + 1);
    rightmost = std::max(rightmost, box.captured(3).toDouble());
    lowest = std::max(lowest, box.captured(4).toDouble());
  }
  EXPECT_TRUE(rightmost > width - kMargin - 0.05 * width ||
              lowest > height - kMargin - 0.05 * height)
      << rightmost << " of " << width << ", " << lowest << " of " << height;
}

}  // namespace
}  // namespace vs
