// "Change History": the serial-number drop-down, the journal's table newest
// line first, the status line, Restore this backup… and Close. The table is
// filled anew only when the form has read or filtered the journal again.

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/change_history_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"
#include "win32/list_view.h"
#include "win32/wide_text.h"

namespace vs {
namespace {

static_assert(IDD_CHANGE_HISTORY == ChangeHistoryForm::kTemplateId);

// A column no wider than this, at 96 dpi, so that the file's column keeps its
// room; the whole of a cut text is in the status line once its line is chosen
// (the file) or in the saved journal.
constexpr int kWidestColumn = 160;
constexpr SIZE kSmallest{360, 200};

class ChangeHistoryView : public FormDialog {
 public:
  explicit ChangeHistoryView(ChangeHistoryForm& form) : FormDialog(form), form_(form) {}

 protected:
  void setUp() override;
  void refresh() override;
  bool command(int id, int code) override;
  bool otherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND table() const { return control(IDC_HISTORY_TABLE); }
  void showSerialNumbers();
  void fillTable();
  void fitColumns();
  void layOut();
  void selectionChanged(const NMLISTVIEW& change);

  ChangeHistoryForm& form_;
  std::vector<std::string> shownSerials_;
  int shownRevision_ = -1;
  bool filling_ = false;  // the table's own notifications are not the user's
};

void ChangeHistoryView::setUp() {
  prepareTable(table());
  addColumns(table(), ChangeHistoryForm::columns());
  SetWindowTextW(control(IDC_HISTORY_RESTORE), toWide(ChangeHistoryForm::kRestoreButton).c_str());
  fitOnScreen();
  layOut();
}

void ChangeHistoryView::refresh() {
  showSerialNumbers();
  if (shownRevision_ != form_.revision()) fillTable();
  showText(IDC_HISTORY_STATUS, form_.status());
  EnableWindow(control(IDC_HISTORY_RESTORE), form_.canRestore() ? TRUE : FALSE);
}

void ChangeHistoryView::showSerialNumbers() {
  HWND serials = control(IDC_HISTORY_SERIAL);
  if (shownSerials_ != form_.serialNumbers()) {
    shownSerials_ = form_.serialNumbers();
    SendMessageW(serials, CB_RESETCONTENT, 0, 0);
    for (const std::string& serial : shownSerials_) {
      SendMessageW(serials, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(serial).c_str()));
    }
  }
  SendMessageW(serials, CB_SETCURSEL, form_.serialChoice(), 0);
}

void ChangeHistoryView::fillTable() {
  HWND list = table();
  filling_ = true;
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  const auto& lines = form_.lines();
  SendMessageW(list, LVM_SETITEMCOUNT, lines.size(), 0);
  for (std::size_t row = 0; row < lines.size(); ++row) {
    const std::vector<std::string> cells = ChangeHistoryForm::cells(lines[row]);
    for (std::size_t column = 0; column < cells.size(); ++column) {
      setCell(list, static_cast<int>(row), static_cast<int>(column), cells[column]);
    }
  }
  fitColumns();
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  filling_ = false;
  shownRevision_ = form_.revision();
}

// Each column as wide as its widest text, its title included, within a cap;
// the file's column, the last, takes what room is left.
void ChangeHistoryView::fitColumns() {
  HWND list = table();
  const auto& titles = ChangeHistoryForm::columns();
  const int columns = static_cast<int>(titles.size());
  const int dpi = static_cast<int>(GetDpiForWindow(list));
  const int widest = MulDiv(kWidestColumn, dpi, USER_DEFAULT_SCREEN_DPI);
  const int padding = MulDiv(16, dpi, USER_DEFAULT_SCREEN_DPI);
  int used = 0;
  for (int c = 0; c < columns; ++c) {
    SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), LVSCW_AUTOSIZE);
    const int width = std::max(static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, c, 0)),
                               textWidth(list, titles[static_cast<std::size_t>(c)]) + padding);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c),
                 c + 1 < columns ? std::min(width, widest) : width);
    if (c + 1 < columns) used += std::min(width, widest);
  }
  RECT room{};
  GetClientRect(list, &room);
  const auto last = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, columns - 1, 0));
  SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(columns - 1),
               std::max<int>(last, room.right - used));
}

// The drop-down at the top, the table taking the room, the status line and
// the buttons at the bottom.
void ChangeHistoryView::layOut() {
  RECT client{};
  GetClientRect(handle(), &client);
  const int margin = across(7);
  const int width = client.right - 2 * margin;
  const int button = down(14);
  const int buttonsTop = client.bottom - down(7) - button;
  const int statusHeight = down(24);
  const int statusTop = buttonsTop - down(7) - statusHeight;
  const int tableTop = down(24);
  place(IDC_HISTORY_TABLE, margin, tableTop, width, statusTop - down(4) - tableTop);
  place(IDC_HISTORY_STATUS, margin, statusTop, width, statusHeight);
  place(IDC_HISTORY_RESTORE, margin, buttonsTop, across(90), button);
  place(IDCANCEL, client.right - margin - across(50), buttonsTop, across(50), button);
  InvalidateRect(handle(), nullptr, TRUE);
}

bool ChangeHistoryView::command(int id, int code) {
  if (id == IDC_HISTORY_SERIAL && code == CBN_SELCHANGE) {
    const auto index = SendMessageW(control(IDC_HISTORY_SERIAL), CB_GETCURSEL, 0, 0);
    if (index >= 0)
      act([this, index] { form_.chooseSerialNumber(static_cast<std::size_t>(index)); });
    return true;
  }
  if (id == IDC_HISTORY_RESTORE && code == BN_CLICKED) {
    act([this] { form_.restore(); });
    return true;
  }
  return false;
}

bool ChangeHistoryView::otherMessage(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      layOut();
      if (shownRevision_ >= 0) fitColumns();
      return true;
    case WM_GETMINMAXINFO:
      limitSize(*reinterpret_cast<MINMAXINFO*>(lParam), kSmallest);
      return true;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->idFrom != IDC_HISTORY_TABLE) return false;
      if (header->code == LVN_ITEMCHANGED) {
        selectionChanged(*reinterpret_cast<NMLISTVIEW*>(lParam));
        return true;
      }
      if (header->code == NM_CUSTOMDRAW) {
        SetWindowLongPtrW(handle(), DWLP_MSGRESULT,
                          shadeRows(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)));
        return true;
      }
      return false;
    }
    default: return false;
  }
}

void ChangeHistoryView::selectionChanged(const NMLISTVIEW& change) {
  if (filling_ || (change.uChanged & LVIF_STATE) == 0 ||
      ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) == 0) {
    return;
  }
  const auto selected = static_cast<int>(
      SendMessageW(table(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (selected != form_.selectedLine()) act([this, selected] { form_.selectLine(selected); });
}

}  // namespace

VS_FORM_VIEW(141, ChangeHistoryView, ChangeHistoryForm);

}  // namespace vs
