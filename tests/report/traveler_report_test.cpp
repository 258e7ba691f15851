// The traveler report dialog through its main-window command on the
// simulated controller: the reads at opening, what reaches the page, and how
// Print, Save as PDF and Cancel end.
#include <gtest/gtest.h>

#include "report/traveler_report_form.h"
#include "support/controller_bench.h"
#include "support/recording_canvas.h"

namespace vs {
namespace {

using Strings = std::vector<std::string>;
using Report = TravelerReportForm;

// Draws what it is asked to print on a recording canvas, at 600 dpi, unless
// it plays a cancelled print dialog.
struct RecordingPrinter : PagePrinter {
  bool printPage(const PrintJob& job, const PageDrawer& draw) override {
    jobs.push_back(job);
    if (!accept) return false;
    canvas.calls.clear();
    draw(canvas, 600);
    return writes;
  }
  std::string pdfUnavailable() const override { return noPdf; }
  bool accept = true;
  std::string noPdf;
  bool writes = true;
  std::vector<PrintJob> jobs;
  test::RecordingCanvas canvas{{20, 50, false}};
};

sim::ControllerOptions firmware(int version) {
  sim::ControllerOptions options;
  options.firmwareVersion = version;
  return options;
}

struct TravelerReportDialog : ::testing::Test {
  explicit TravelerReportDialog(int version = 462) : bench(firmware(version)) {
    bench.link.firmwareVersion = 0;  // learnt at opening
  }

  void run(const std::function<void(Report&, test::ScriptedFormHost&)>& script) {
    bench.desktop.onForm(Report::kTemplateId, [&](Form& form, test::ScriptedFormHost& host) {
      script(dynamic_cast<Report&>(form), host);
      result = form.isEnded() ? form.result() : 0;
    });
    bench.master.clear();
    travelerReportCommand(bench.ctx);
  }

  test::ControllerBench bench;
  RecordingPrinter printer;
  int result = 0;
};

struct TravelerReportOn139 : TravelerReportDialog {
  TravelerReportOn139() : TravelerReportDialog(139) {}
};

TEST_F(TravelerReportDialog, OpeningStopsPollingAndReadsWhatThePageShows) {
  bench.desktop.startTimer(POLL_TIMER, 200);
  bench.set(188, 1750);
  run([this](Report& form, test::ScriptedFormHost&) {
    EXPECT_EQ(form.text(Report::REPORT_FOR), "QX4");
    EXPECT_EQ(form.text(Report::VALVE_SERIAL), "20517");
    EXPECT_FALSE(bench.desktop.timerRunning(POLL_TIMER));
  });
  EXPECT_EQ(bench.master.texts(),
            (Strings{"3:112x22", "3:132x22", "3:28x2", "3:154x22", "3:188x2"}));
  EXPECT_EQ(bench.link.firmwareVersion, 462);
  const RegisterValues& values = bench.memory.registerValues;
  EXPECT_EQ(values.get("stroke_gain"), 1000);
  EXPECT_EQ(values.get("zeroing"), 0);
  EXPECT_EQ(values.get("speed_p_max"), 200);
  EXPECT_EQ(values.get("undershoot_gain"), 100);  // register 175, the last one read
  EXPECT_FALSE(values.contains("force_o2"));
  EXPECT_EQ(values.get("alt_start_pressure"), 1750);
  // Polling resumes only with the next Connect.
  EXPECT_FALSE(bench.desktop.timerRunning(POLL_TIMER));
  EXPECT_TRUE(bench.desktop.posted.empty());
}

TEST_F(TravelerReportOn139, KeepsTheGovernorValuesHeldBeforeItOpened) {
  bench.memory.registerValues.set("requested_speed", 1234);
  bench.set(160, 1800);
  run([this](Report& form, test::ScriptedFormHost&) { form.print(printer); });
  EXPECT_EQ(bench.master.texts(), (Strings{"3:112x22", "3:132x22", "3:28x2", "3:154x2"}));
  EXPECT_TRUE(printer.canvas.drewText("1234"));
  EXPECT_FALSE(printer.canvas.drewText("1800"));
}

TEST_F(TravelerReportDialog, AFailedReadLeavesTheValuesOfAnEarlierOne) {
  bench.memory.registerValues.set("default_pressure", 4250);
  bench.controller.faults().injectNext(sim::FaultKind::Exception, 1);  // 112 to 133
  run([this](Report& form, test::ScriptedFormHost&) { form.print(printer); });
  EXPECT_TRUE(printer.canvas.drewText("4.250"));
  EXPECT_EQ(bench.memory.registerValues.get("max_pressure"), 24000);  // from 132 to 153
}

TEST_F(TravelerReportDialog, PrintPrintsTheTypedFieldsAtTheirPrintedLengthAndEnds) {
  run([this](Report& form, test::ScriptedFormHost&) {
    form.setText(Report::REPORT_FOR, "QX4-PLUS-2000");
    form.setText(Report::CUSTOMER, "Northfield Gas Storage and Compression Co.");
    form.setText(Report::VALVE_SERIAL, "1");  // read-only
    form.setCommentLines({"Replaced O2 ", "sensor."});
    form.print(printer);
  });
  EXPECT_EQ(result, 1);
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_EQ(printer.jobs[0].documentName, "Valve Configuration Data");
  EXPECT_EQ(printer.jobs[0].pdfFile, "");
  EXPECT_TRUE(printer.canvas.drewText("QX4-PLUS-"));
  EXPECT_TRUE(printer.canvas.drewText("Northfield Gas Storage and Co"));
  EXPECT_TRUE(printer.canvas.drewText("20517"));
  EXPECT_TRUE(printer.canvas.drewText("Replaced O2 sensor."));
  EXPECT_TRUE(printer.canvas.drewText("4.62"));
}

TEST_F(TravelerReportDialog, ACancelledPrintDialogStillEndsTheDialog) {
  printer.accept = false;
  run([this](Report& form, test::ScriptedFormHost&) { form.print(printer); });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(printer.canvas.calls.empty());

  run([this](Report& form, test::ScriptedFormHost&) { form.cancel(); });
  EXPECT_EQ(result, 2);
  EXPECT_EQ(printer.jobs.size(), 1u);
}

TEST_F(TravelerReportDialog, SaveAsPdfAsksForAFileAndStaysOpen) {
  run([this](Report& form, test::ScriptedFormHost& host) {
    host.fileChoices.push_back(std::nullopt);  // the chooser cancelled
    form.saveAsPdf(printer);
    EXPECT_TRUE(printer.jobs.empty());

    host.fileChoices.push_back((bench.data / "valve 20517").string());
    form.saveAsPdf(printer);
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].pdfFile, (bench.data / "valve 20517.pdf").string());
    EXPECT_TRUE(printer.canvas.drewText("TRAVELER"));
    EXPECT_FALSE(form.isEnded());

    printer.writes = false;
    host.fileChoices.push_back((bench.data / "report.PDF").string());
    form.saveAsPdf(printer);
    EXPECT_EQ(printer.jobs[1].pdfFile, (bench.data / "report.PDF").string());

    ASSERT_EQ(host.fileRequests.size(), 3u);
    const FileDialogRequest& request = host.fileRequests[0];
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.initialFolder, bench.data.path().string());
    EXPECT_EQ(request.initialName, "traveler_20517.pdf");
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].pattern, "*.pdf");
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].icon, Icon::Information);
    EXPECT_EQ(host.boxes[1].text,
              "The PDF file could not be written:\n" + (bench.data / "report.PDF").string());

    // Without a PDF printer the user is told so before naming a file.
    printer.noPdf = "No PDF printer here.";
    form.saveAsPdf(printer);
    EXPECT_EQ(host.fileRequests.size(), 3u);
    EXPECT_EQ(printer.jobs.size(), 2u);
    ASSERT_EQ(host.boxes.size(), 3u);
    EXPECT_EQ(host.boxes[2].text, "No PDF printer here.");
    EXPECT_EQ(host.boxes[2].icon, Icon::Exclamation);
    EXPECT_FALSE(form.isEnded());
  });
}

}  // namespace
}  // namespace vs
