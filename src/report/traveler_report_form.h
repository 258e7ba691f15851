#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/shell_context.h"
#include "logging/clock.h"
#include "report/page_printer.h"
#include "report/traveler_page.h"

namespace vs {

// "Traveler Report" (template 117): the valve and board identity typed by the
// technician, printed with the controller's settings as the one-page traveler
// report, or saved as a PDF file of the same page. Opening stops polling and
// reads the settings the page shows into the service memory's register values;
// polling resumes with the next Connect.
class TravelerReportForm : public Form {
 public:
  static constexpr int kTemplateId = 117;
  static constexpr int REPORT_FOR = 1076;    // editable combo box
  static constexpr int VALVE_SERIAL = 1037;  // read-only
  static constexpr int BOARD_SERIAL = 1041;
  static constexpr int BOARD_VERSION = 1044;
  static constexpr int HARDWARE_VERSION = 1043;
  static constexpr int PART_NUMBER = 1038;
  static constexpr int ENGINE_TYPE = 1039;
  static constexpr int CUSTOMER = 1040;
  static constexpr int TECHNICIAN = 1042;
  static constexpr int PRINT = 1;
  static constexpr int CANCEL = 2;

  static constexpr std::size_t kFieldLength = 29;
  static constexpr std::size_t kReportForLength = 9;
  static constexpr std::size_t kCommentLength = 240;
  static constexpr const char* kDocumentName = "Valve Configuration Data";

  struct Field {
    int id;
    const char* label;
  };
  // The typed fields top to bottom, after the combo box and the serial number.
  static constexpr std::array<Field, 7> kTypedFields = {{
      {BOARD_SERIAL, "Board Serial Number"},
      {BOARD_VERSION, "Board Version"},
      {HARDWARE_VERSION, "Hardware Version"},
      {PART_NUMBER, "Part Number"},
      {ENGINE_TYPE, "Engine Type"},
      {CUSTOMER, "Customer"},
      {TECHNICIAN, "Techinician"},
  }};

  explicit TravelerReportForm(ShellContext& ctx);  // dated by the computer's clock
  TravelerReportForm(ShellContext& ctx, const Clock& clock);

  void onInit() override;

  const std::string& text(int id) const;
  void setText(int id, std::string text);
  // The comment as the edit displays it, wrapped lines counted separately.
  void setCommentLines(std::vector<std::string> lines) { commentLines_ = std::move(lines); }

  // The page as it would print now.
  TravelerReport report() const;
  // Asks for a printer and prints the page; the dialog ends either way.
  void print(PagePrinter& printer);
  // Asks for a file name and writes the page there as a PDF; the dialog
  // stays open so that the same report can also go to paper. Where the
  // printer cannot write PDF files it says why instead.
  void saveAsPdf(PagePrinter& printer);
  void cancel() { end(2); }
  void onClose() override { cancel(); }

 private:
  void readSettings();
  bool printTo(PagePrinter& printer, const std::string& pdfFile);

  ShellContext& ctx_;
  const Clock& clock_;
  std::map<int, std::string> texts_;
  std::vector<std::string> commentLines_;
};

// The Traveler Report command (40026): the dialog only; polling is left as it is.
void travelerReportCommand(ShellContext& ctx);

}  // namespace vs
