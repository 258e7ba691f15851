// "Calibration Settings": the register list, the value edit, Change, Save &&
// Close and Close, and the status line.

// The common controls need Windows' own header first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/calibration_list_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"
#include "win32/wide_text.h"

namespace vs {
namespace {

static_assert(IDD_CALIBRATION_LIST == CalibrationListForm::kTemplateId);

// Both columns' width, in pixels at 96 dots per inch. The names' column
// widens to show the longest name whole, and the values' then takes what the
// list has left.
constexpr int kColumnWidth = 133;
// Room beside a cell's text, in pixels at 96 dots per inch.
constexpr int kCellMargin = 16;

class CalibrationListView : public FormDialog {
 public:
  explicit CalibrationListView(CalibrationListForm& form) : FormDialog(form), form_(form) {}

 protected:
  void setUp() override {
    HWND list = control(IDC_CALIBRATION_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    const int width = scaled(kColumnWidth);
    int column = 0;
    for (const wchar_t* heading : {L"Register", L"Current Value"}) {
      LVCOLUMNW layout{};
      layout.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
      layout.fmt = LVCFMT_LEFT;
      layout.cx = width;
      layout.pszText = const_cast<wchar_t*>(heading);
      ListView_InsertColumn(list, column++, &layout);
    }
  }

  void refresh() override {
    HWND list = control(IDC_CALIBRATION_LIST);
    const auto& rows = form_.rows();
    if (shownValues_.size() != rows.size()) fill(list);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (shownValues_[i] == rows[i].value) continue;
      setCell(list, static_cast<int>(i), 1, rows[i].value);
      shownValues_[i] = rows[i].value;
    }
    showText(IDC_CALIBRATION_VALUE, form_.valueText());
    showText(IDC_SETTINGS_STATUS, form_.status());
  }

  bool command(int id, int code) override {
    if (id == IDC_CALIBRATION_VALUE) {
      if (code == EN_CHANGE) form_.editValue(text(id));
      if (code == EN_SETFOCUS) selectWholeText(id);
    } else if (id == IDC_CALIBRATION_CHANGE && code == BN_CLICKED) {
      act([this] { form_.change(); });
    } else if (id == IDOK && code == BN_CLICKED) {
      act([this] { form_.saveAndClose(); });
    } else {
      return false;
    }
    return true;
  }

  // Whatever row has the focus is the row a Change writes to, whether it was
  // reached by mouse or by keys; a click also hands its value to the edit,
  // selected, to be typed over.
  bool otherMessage(UINT message, WPARAM, LPARAM lParam) override {
    if (message != WM_NOTIFY || filling_) return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != IDC_CALIBRATION_LIST) return false;
    if (header->code == LVN_ITEMCHANGED) {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
      const bool focused = (change->uNewState & LVIS_FOCUSED) != 0;
      if (!focused || (change->uOldState & LVIS_FOCUSED) != 0) return false;
      const int row = change->iItem;
      act([this, row] { form_.selectRow(row); });
      return true;
    }
    if (header->code == NM_CLICK) {
      const int row = ListView_GetNextItem(header->hwndFrom, -1, LVNI_FOCUSED);
      if (row < 0) return false;
      act([this, row] { form_.selectRow(row); });
      focus(IDC_CALIBRATION_VALUE);
      return true;
    }
    return false;
  }

 private:
  // The rows, and the one remembered from the last opening shown with the
  // focus, as it is the one a Change writes to; the edit stays empty until
  // a row is chosen.
  void fill(HWND list) {
    filling_ = true;
    ListView_DeleteAllItems(list);
    const auto& rows = form_.rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(i);
      std::wstring name = toWide(rows[i].name);
      item.pszText = name.data();
      ListView_InsertItem(list, &item);
      setCell(list, item.iItem, 1, rows[i].value);
    }
    shownValues_.clear();
    int nameWidth = scaled(kColumnWidth);
    for (const auto& row : rows) {
      shownValues_.push_back(row.value);
      const int needed =
          ListView_GetStringWidth(list, toWide(row.name).c_str()) + scaled(kCellMargin);
      nameWidth = std::max(nameWidth, needed);
    }
    ListView_SetColumnWidth(list, 0, nameWidth);
    ListView_SetColumnWidth(list, 1, LVSCW_AUTOSIZE_USEHEADER);
    const int selected = form_.selectedRow();
    ListView_SetItemState(list, selected, LVIS_FOCUSED | LVIS_SELECTED,
                          LVIS_FOCUSED | LVIS_SELECTED);
    ListView_EnsureVisible(list, selected, FALSE);
    filling_ = false;
  }

  int scaled(int pixels) const {
    return MulDiv(pixels, static_cast<int>(GetDpiForWindow(handle())), USER_DEFAULT_SCREEN_DPI);
  }

  static void setCell(HWND list, int row, int column, const std::string& text) {
    std::wstring wide = toWide(text);
    ListView_SetItemText(list, row, column, wide.data());
  }

  CalibrationListForm& form_;
  std::vector<std::string> shownValues_;
  bool filling_ = false;
};

}  // namespace

VS_FORM_VIEW(111, CalibrationListView, CalibrationListForm);

}  // namespace vs
