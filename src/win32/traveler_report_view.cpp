// "Traveler Report": the product the title names, the valve serial number as
// read, the typed identity fields and the comment, with Print, Save as PDF…
// and Cancel. The page goes to the printer's DC through the same drawing as
// everywhere else.

#include <algorithm>
#include <string>
#include <vector>

#include "report/traveler_report_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"
#include "win32/wide_text.h"
#include "win32/win32_page_printer.h"

namespace vs {
namespace {

using Report = TravelerReportForm;

static_assert(IDD_TRAVELER_REPORT == Report::kTemplateId);
static_assert(IDC_TRAVELER_REPORT_FOR == Report::REPORT_FOR);
static_assert(IDC_TRAVELER_VALVE_SERIAL == Report::VALVE_SERIAL);
static_assert(IDC_TRAVELER_BOARD_SERIAL == Report::BOARD_SERIAL);
static_assert(IDC_TRAVELER_BOARD_VERSION == Report::BOARD_VERSION);
static_assert(IDC_TRAVELER_HARDWARE_VERSION == Report::HARDWARE_VERSION);
static_assert(IDC_TRAVELER_PART_NUMBER == Report::PART_NUMBER);
static_assert(IDC_TRAVELER_ENGINE_TYPE == Report::ENGINE_TYPE);
static_assert(IDC_TRAVELER_CUSTOMER == Report::CUSTOMER);
static_assert(IDC_TRAVELER_TECHNICIAN == Report::TECHNICIAN);
static_assert(IDOK == Report::PRINT && IDCANCEL == Report::CANCEL);

class TravelerReportView : public FormDialog {
 public:
  explicit TravelerReportView(Report& form) : FormDialog(form), form_(form) {}

 protected:
  void setUp() override {
    printer_.setOwner(handle());
    HWND reportFor = control(IDC_TRAVELER_REPORT_FOR);
    SendMessageW(reportFor, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"QX4"));
    // As long as the title prints, and no longer; the same for every field.
    SendMessageW(reportFor, CB_LIMITTEXT, Report::kReportForLength, 0);
    for (const Report::Field& field : Report::kTypedFields) {
      SendMessageW(control(field.id), EM_SETLIMITTEXT, Report::kFieldLength, 0);
    }
    SendMessageW(control(IDC_TRAVELER_COMMENT), EM_SETLIMITTEXT, Report::kCommentLength, 0);
  }

  void refresh() override {
    showText(IDC_TRAVELER_REPORT_FOR, form_.text(Report::REPORT_FOR));
    showText(IDC_TRAVELER_VALVE_SERIAL, form_.text(Report::VALVE_SERIAL));
    for (const Report::Field& field : Report::kTypedFields) {
      showText(field.id, form_.text(field.id));
    }
  }

  bool command(int id, int code) override {
    if (id == IDC_TRAVELER_REPORT_FOR) {
      if (code == CBN_EDITCHANGE) form_.setText(id, text(id));
      if (code == CBN_SELCHANGE) form_.setText(id, chosenProduct());
      return true;
    }
    if (isTypedField(id)) {
      if (code == EN_CHANGE) form_.setText(id, text(id));
      return true;
    }
    if (code != BN_CLICKED || (id != IDOK && id != IDC_TRAVELER_SAVE_PDF)) return false;
    takeComment();
    if (id == IDOK) {
      act([this] { form_.print(printer_); });
    } else {
      act([this] { form_.saveAsPdf(printer_); });
    }
    return true;
  }

 private:
  static bool isTypedField(int id) {
    return std::any_of(Report::kTypedFields.begin(), Report::kTypedFields.end(),
                       [id](const Report::Field& field) { return field.id == id; });
  }

  // The list's entry just chosen: the edit part shows it only afterwards.
  std::string chosenProduct() const {
    HWND reportFor = control(IDC_TRAVELER_REPORT_FOR);
    const LRESULT index = SendMessageW(reportFor, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return text(IDC_TRAVELER_REPORT_FOR);
    std::wstring entry(
        static_cast<std::size_t>(SendMessageW(reportFor, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
    entry.resize(static_cast<std::size_t>(
        SendMessageW(reportFor, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry.data()))));
    return toUtf8(entry);
  }

  // Hands the comment to the form as the edit shows it, wrapped lines apart.
  void takeComment() {
    HWND comment = control(IDC_TRAVELER_COMMENT);
    const auto count = static_cast<int>(SendMessageW(comment, EM_GETLINECOUNT, 0, 0));
    std::vector<std::string> lines;
    for (int line = 0; line < count; ++line) {
      const LRESULT start = SendMessageW(comment, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
      const auto length = static_cast<std::size_t>(SendMessageW(comment, EM_LINELENGTH, start, 0));
      // EM_GETLINE reads the buffer's size from its first character.
      std::wstring text(std::max<std::size_t>(length, 1), L'\0');
      text[0] = static_cast<wchar_t>(text.size());
      text.resize(static_cast<std::size_t>(SendMessageW(
          comment, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text.data()))));
      lines.push_back(toUtf8(text));
    }
    form_.setCommentLines(std::move(lines));
  }

  Report& form_;
  Win32PagePrinter printer_;
};

}  // namespace

VS_FORM_VIEW(117, TravelerReportView, TravelerReportForm);

}  // namespace vs
