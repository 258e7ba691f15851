#include "report/traveler_report_form.h"

#include <algorithm>
#include <cctype>

#include "files/utf8_path.h"
#include "forms/command_frame.h"
#include "registers/register_map.h"

namespace vs {
namespace {

constexpr int REG_FIRMWARE = 28;
constexpr int REG_ALT_START_PRESSURE = 188;
constexpr int kGovernorFirmware = 140;
constexpr int kAltStartFirmware = 462;
constexpr int kBlockSize = 22;

bool hasPdfExtension(const std::string& path) {
  if (path.size() < 4) return false;
  std::string extension = path.substr(path.size() - 4);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".pdf";
}

const Clock& computerClock() {
  static const SystemClock clock;
  return clock;
}

}  // namespace

TravelerReportForm::TravelerReportForm(ShellContext& ctx)
    : TravelerReportForm(ctx, computerClock()) {}

TravelerReportForm::TravelerReportForm(ShellContext& ctx, const Clock& clock)
    : Form(kTemplateId, ctx.line), ctx_(ctx), clock_(clock) {
  texts_[REPORT_FOR] = "QX4";
  texts_[VALVE_SERIAL] = "";
  for (const Field& field : kTypedFields) texts_[field.id] = "";
}

void TravelerReportForm::onInit() {
  stopPolling(ctx_);
  readSettings();
  texts_[VALVE_SERIAL] = std::to_string(ctx_.memory.registerValues.get("serial_number"));
}

// A block that does not answer leaves the values of earlier reads in place,
// or none at all for registers never read.
void TravelerReportForm::readSettings() {
  RegisterValues& values = ctx_.memory.registerValues;
  std::int16_t block[kBlockSize];
  const auto readBlock = [&](int firstRegister, int count) {
    const bool read = readRegisters(ctx_, firstRegister, block, count) == 0;
    if (read) values.setBlock(firstRegister - kFirstSettingsRegister, block, count);
  };
  readBlock(112, kBlockSize);
  readBlock(132, kBlockSize);
  std::int16_t firmware[2];
  if (readRegisters(ctx_, REG_FIRMWARE, firmware, 2) == 0) ctx_.link.firmwareVersion = firmware[0];
  if (ctx_.link.firmwareVersion >= kGovernorFirmware) {
    readBlock(154, kBlockSize);
  } else {
    readRegisters(ctx_, 154, block, 2);  // older firmware has no governor block to print
  }
  if (ctx_.link.firmwareVersion >= kAltStartFirmware) {
    std::int16_t extra[2];
    if (readRegisters(ctx_, REG_ALT_START_PRESSURE, extra, 2) == 0) {
      values.set("alt_start_pressure", extra[0]);
    }
  }
}

const std::string& TravelerReportForm::text(int id) const { return texts_.at(id); }

void TravelerReportForm::setText(int id, std::string text) {
  if (id == VALVE_SERIAL || texts_.count(id) == 0) return;
  texts_[id] = std::move(text);
}

TravelerReport TravelerReportForm::report() const {
  const auto field = [this](int id) { return text(id).substr(0, kFieldLength); };
  TravelerReport report;
  report.reportFor = text(REPORT_FOR).substr(0, kReportForLength);
  report.boardSerial = field(BOARD_SERIAL);
  report.boardVersion = field(BOARD_VERSION);
  report.hardwareVersion = field(HARDWARE_VERSION);
  report.partNumber = field(PART_NUMBER);
  report.engineType = field(ENGINE_TYPE);
  report.customer = field(CUSTOMER);
  report.technician = field(TECHNICIAN);
  report.commentLines = commentLines_;
  report.date = clock_.localTime().date();
  report.firmwareVersion = ctx_.link.firmwareVersion;
  report.reportScale = ctx_.link.reportScale;
  report.reportDivisor = ctx_.link.reportDivisor;
  report.values = ctx_.memory.registerValues;
  return report;
}

bool TravelerReportForm::printTo(PagePrinter& printer, const std::string& pdfFile) {
  const TravelerReport page = report();
  const PrintJob job{kDocumentName, pdfFile};
  return printer.printPage(job, [&page](Canvas& canvas, int dotsPerInch) {
    drawTravelerPage(canvas, page, travelerTitleHeight(dotsPerInch));
  });
}

void TravelerReportForm::print(PagePrinter& printer) {
  printTo(printer, "");
  end(1);
}

void TravelerReportForm::saveAsPdf(PagePrinter& printer) {
  // Said before a file name is asked for that could not be used.
  if (const std::string why = printer.pdfUnavailable(); !why.empty()) {
    host().messageBox(why, "Traveler Report", Icon::Exclamation, Buttons::Ok);
    return;
  }
  FileDialogRequest request;
  request.mode = FileDialogRequest::Mode::Save;
  request.title = "Save as PDF";
  request.filters = {{"PDF Files (*.pdf)", "*.pdf"}};
  request.initialFolder = utf8Of(ctx_.dataDirectory);
  request.initialName = "traveler_" + text(VALVE_SERIAL) + ".pdf";
  const auto chosen = host().chooseFile(request);
  if (!chosen) return;
  const std::string path = hasPdfExtension(*chosen) ? *chosen : *chosen + ".pdf";
  if (printTo(printer, path)) {
    host().messageBox("The traveler report was saved as\n" + path, "Traveler Report",
                      Icon::Information, Buttons::Ok);
  } else {
    host().messageBox("The PDF file could not be written:\n" + path, "Traveler Report",
                      Icon::Exclamation, Buttons::Ok);
  }
}

void travelerReportCommand(ShellContext& ctx) {
  TravelerReportForm form(ctx);
  ctx.desktop.runForm(form);
}

}  // namespace vs
