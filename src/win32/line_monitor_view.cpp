// "Line Monitor", beside the main window: the statistics table, the poll's
// ticks and what they advise, the buttons, then the frames. The frames are a
// virtual list: the list holds only their count, and a row is read from the
// monitor when it is drawn, so that a refresh five times a second costs what
// is on the screen rather than the 10,000 rows held. The list follows the
// newest frame while it is scrolled to the end; scrolled back, the rows in
// view stay where they are until they drop out of the monitor.

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/line_monitor_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"
#include "win32/list_view.h"
#include "win32/wide_text.h"

namespace vs {
namespace {

static_assert(IDD_LINE_MONITOR == LineMonitorForm::kTemplateId);

constexpr COLORREF kAdviceBackground = RGB(0xFF, 0xF4, 0xD6);
constexpr COLORREF kErrorText = RGB(176, 0, 0);
constexpr int kBytesColumn = 3;
// The smallest window, in dialog units, that keeps every control usable.
constexpr SIZE kSmallest{420, 260};
constexpr int kMargin = 7;  // dialog units

std::vector<std::string> titles(const auto& columns) {
  return std::vector<std::string>(columns.begin(), columns.end());
}

class LineMonitorView : public FormDialog {
 public:
  explicit LineMonitorView(LineMonitorForm& form) : FormDialog(form), form_(form) {}
  ~LineMonitorView() override {
    DeleteObject(adviceBrush_);
    if (fixedFont_ != nullptr) DeleteObject(fixedFont_);
  }

 protected:
  void setUp() override;
  void refresh() override;
  bool command(int id, int code) override;
  bool otherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  HBRUSH staticBackground(HWND control, HDC dc) override;

 private:
  // What decides the layout besides the window's size: the advice's
  // figures change at every refresh, its lines seldom.
  struct Shape {
    std::size_t statisticsRows = 0;
    bool notes = false;
    int adviceHeight = 0;  // none: no advice
    bool operator==(const Shape&) const = default;
  };

  void showStatistics();
  void showFrames();
  void layOut();
  Shape shape() const;
  int adviceHeight(int width) const;
  LRESULT drawFrame(NMLVCUSTOMDRAW& draw);
  void frameText(NMLVDISPINFOW& info);
  const MonitorRow& rowAt(std::size_t row);
  HWND frames() const { return control(IDC_MONITOR_FRAMES); }

  LineMonitorForm& form_;
  HBRUSH adviceBrush_ = CreateSolidBrush(kAdviceBackground);
  HFONT fixedFont_ = nullptr;
  std::vector<LineMonitorForm::StatisticsRow> shownStatistics_;
  std::optional<Shape> shape_;  // as last laid out
  // The list asks for each cell of a row in turn: the row is decoded once.
  std::uint64_t cachedKey_ = 0;  // sequences start at 1
  MonitorRow cached_;
};

void LineMonitorView::setUp() {
  HWND statistics = control(IDC_MONITOR_STATISTICS);
  prepareTable(statistics);
  addColumns(statistics, titles(LineMonitorForm::kStatisticsColumns), 1);
  prepareTable(frames());
  addColumns(frames(), titles(LineMonitorForm::kFrameColumns));

  // The bytes in a fixed-pitch face of the dialog's size.
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  wcscpy(font.lfFaceName, L"Courier New");
  font.lfWidth = 0;
  fixedFont_ = CreateFontIndirectW(&font);

  HDC dc = GetDC(frames());
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(frames(), WM_GETFONT, 0, 0)));
  const auto widthOf = [dc](const wchar_t* text) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &extent);
    return extent.cx;
  };
  SendMessageW(frames(), LVM_SETCOLUMNWIDTH, 0, widthOf(L"00:00:00.000") + 16);
  SendMessageW(frames(), LVM_SETCOLUMNWIDTH, 1, widthOf(L"Dir") + 16);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SendMessageW(frames(), LVM_SETCOLUMNWIDTH, 2, metrics.tmAveCharWidth * 110);
  SelectObject(dc, old);
  ReleaseDC(frames(), dc);
  fitOnScreen();
}

void LineMonitorView::refresh() {
  showStatistics();
  showText(IDC_MONITOR_TICKS, form_.ticks);
  showText(IDC_MONITOR_NOTES, form_.notes);
  std::string advice;
  for (const std::string& sentence : form_.advice)
    advice += (advice.empty() ? "" : "\n") + sentence;
  showText(IDC_MONITOR_ADVICE, advice);
  showText(IDC_MONITOR_STATUS, form_.status);
  SendMessageW(control(IDC_MONITOR_PAUSE), BM_SETCHECK,
               form_.paused() ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageW(control(IDC_MONITOR_ERRORS_ONLY), BM_SETCHECK,
               form_.errorsOnly() ? BST_CHECKED : BST_UNCHECKED, 0);
  if (const Shape now = shape(); shape_ != now) {
    shape_ = now;
    layOut();
  }
  showFrames();
}

// Only the cells that changed are set: the rest of the table stays still.
void LineMonitorView::showStatistics() {
  HWND list = control(IDC_MONITOR_STATISTICS);
  const auto& rows = form_.statistics;
  if (shownStatistics_.size() != rows.size()) {
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    shownStatistics_.assign(rows.size(), {});
    for (std::size_t r = 0; r < rows.size(); ++r) setCell(list, static_cast<int>(r), 0, "");
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      if (shownStatistics_[r][c] == rows[r][c]) continue;
      setCell(list, static_cast<int>(r), static_cast<int>(c), rows[r][c]);
      shownStatistics_[r][c] = rows[r][c];
    }
  }
}

void LineMonitorView::showFrames() {
  HWND list = frames();
  const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  const auto top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  const auto page = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  const bool following = top + page >= count;
  const auto selected = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED));

  const LineMonitorForm::TableChange change = form_.takeTableChange();
  if (!change.reset && change.dropped == 0 && change.added == 0) return;
  const auto dropped = static_cast<int>(change.dropped);
  const int rows = static_cast<int>(form_.rowCount());
  // Rows that only came at the end leave the rows shown as they are.
  const bool shifted = change.reset || dropped > 0;
  SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows),
               LVSICF_NOSCROLL | (shifted ? 0 : LVSICF_NOINVALIDATEALL));

  // The selection stays with its frame, or goes with it.
  if (shifted && selected >= 0) {
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    if (!change.reset && selected - dropped >= 0) {
      LVITEMW kept{};
      kept.state = kept.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(selected - dropped),
                   reinterpret_cast<LPARAM>(&kept));
    }
  }
  if (following) {
    if (rows > 0) SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows - 1), FALSE);
  } else if (!change.reset && dropped > 0) {
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    SendMessageW(list, LVM_SCROLL, 0, -std::min(dropped, top) * (row.bottom - row.top));
  }
}

// Top to bottom: the statistics as tall as their rows, the ticks, the notes
// and the advice when there are any, the buttons, the frames taking the
// rest, and Close in the corner.
void LineMonitorView::layOut() {
  RECT client{};
  GetClientRect(handle(), &client);
  const int margin = across(kMargin);
  const int gap = down(4);
  const int line = down(9);
  const int button = down(14);
  const int width = client.right - 2 * margin;
  int y = down(kMargin);

  HWND statistics = control(IDC_MONITOR_STATISTICS);
  const int statisticsHeight =
      tableHeight(statistics, static_cast<int>(std::max<std::size_t>(form_.statistics.size(), 1)));
  place(IDC_MONITOR_STATISTICS, margin, y, width, statisticsHeight);
  y += statisticsHeight + gap;
  // The first column fits the block ranges; the counts share the rest.
  const int first = across(44);
  SendMessageW(statistics, LVM_SETCOLUMNWIDTH, 0, first);
  const int columns = static_cast<int>(LineMonitorForm::kStatisticsColumns.size());
  const int share = (width - first - 4) / (columns - 1);
  for (int c = 1; c < columns; ++c) SendMessageW(statistics, LVM_SETCOLUMNWIDTH, c, share);

  place(IDC_MONITOR_TICKS, margin, y, width, line);
  y += line + gap;
  ShowWindow(control(IDC_MONITOR_NOTES), shape_->notes ? SW_SHOW : SW_HIDE);
  if (shape_->notes) {
    place(IDC_MONITOR_NOTES, margin, y, width, line);
    y += line + gap;
  }
  ShowWindow(control(IDC_MONITOR_ADVICE), shape_->adviceHeight > 0 ? SW_SHOW : SW_HIDE);
  if (shape_->adviceHeight > 0) {
    place(IDC_MONITOR_ADVICE, margin, y, width, shape_->adviceHeight);
    y += shape_->adviceHeight + gap;
  }

  int x = margin;
  const auto next = [&x, y, this](int id, int units, int lift) {
    place(id, x, y + lift, across(units), id == IDC_MONITOR_ERRORS_ONLY ? down(10) : down(14));
    x += across(units + 4);
  };
  next(IDC_MONITOR_PAUSE, 50, 0);
  next(IDC_MONITOR_CLEAR, 50, 0);
  next(IDC_MONITOR_ERRORS_ONLY, 56, down(2));
  next(IDC_MONITOR_SAVE, 50, 0);
  place(IDC_MONITOR_STATUS, x, y + down(3), client.right - margin - x, line);
  y += button + gap;

  const int closeTop = client.bottom - down(kMargin) - button;
  place(IDCANCEL, client.right - margin - across(50), closeTop, across(50), button);
  place(IDC_MONITOR_FRAMES, margin, y, width, closeTop - gap - y);
  // The bytes take the rest, the scroll bar's room kept from the first row
  // on, so that the list does not scroll sideways once it needs one.
  int rest = width - 2 * GetSystemMetrics(SM_CXEDGE) - GetSystemMetrics(SM_CXVSCROLL);
  for (int c = 0; c < kBytesColumn; ++c) {
    rest -= static_cast<int>(SendMessageW(frames(), LVM_GETCOLUMNWIDTH, c, 0));
  }
  SendMessageW(frames(), LVM_SETCOLUMNWIDTH, kBytesColumn, std::max(rest, across(50)));
  InvalidateRect(handle(), nullptr, TRUE);
}

LineMonitorView::Shape LineMonitorView::shape() const {
  RECT client{};
  GetClientRect(handle(), &client);
  return {form_.statistics.size(), !form_.notes.empty(),
          form_.advice.empty() ? 0 : adviceHeight(client.right - 2 * across(kMargin))};
}

// As tall as the advice's lines wrapped to `width`.
int LineMonitorView::adviceHeight(int width) const {
  HWND advice = control(IDC_MONITOR_ADVICE);
  HDC dc = GetDC(advice);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(advice, WM_GETFONT, 0, 0)));
  const std::wstring sentences = toWide(text(IDC_MONITOR_ADVICE));
  RECT extent{0, 0, width - 2 * GetSystemMetrics(SM_CXEDGE), 0};
  DrawTextW(dc, sentences.c_str(), static_cast<int>(sentences.size()), &extent,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(advice, dc);
  return extent.bottom + 2 * GetSystemMetrics(SM_CYEDGE) + down(2);
}

bool LineMonitorView::command(int id, int code) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_MONITOR_PAUSE: act([this] { form_.setPaused(!form_.paused()); }); return true;
    case IDC_MONITOR_CLEAR: act([this] { form_.clear(); }); return true;
    case IDC_MONITOR_ERRORS_ONLY:
      act([this] { form_.setErrorsOnly(!form_.errorsOnly()); });
      return true;
    case IDC_MONITOR_SAVE: act([this] { form_.save(); }); return true;
    default: return false;
  }
}

bool LineMonitorView::otherMessage(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      // The advice may wrap anew.
      if (shape_) {
        shape_ = shape();
        layOut();
      }
      return true;
    case WM_GETMINMAXINFO:
      limitSize(*reinterpret_cast<MINMAXINFO*>(lParam), kSmallest);
      return true;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->idFrom != IDC_MONITOR_FRAMES) return false;
      if (header->code == LVN_GETDISPINFOW) {
        frameText(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
        return true;
      }
      if (header->code == NM_CUSTOMDRAW) {
        SetWindowLongPtrW(handle(), DWLP_MSGRESULT,
                          drawFrame(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)));
        return true;
      }
      return false;
    }
    default: return false;
  }
}

HBRUSH LineMonitorView::staticBackground(HWND control, HDC dc) {
  if (GetDlgCtrlID(control) != IDC_MONITOR_ADVICE) return nullptr;
  SetBkColor(dc, kAdviceBackground);
  return adviceBrush_;
}

void LineMonitorView::frameText(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if ((item.mask & LVIF_TEXT) == 0 || item.cchTextMax <= 0) return;
  item.pszText[0] = L'\0';
  const auto row = static_cast<std::size_t>(item.iItem);
  if (row >= form_.rowCount()) return;
  const MonitorRow& shown = rowAt(row);
  const std::string* texts[] = {&shown.time, &shown.direction, &shown.summary, &shown.hex};
  if (item.iSubItem < 0 || item.iSubItem > kBytesColumn) return;
  const std::wstring text = toWide(*texts[item.iSubItem]);
  lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
}

// Faulty frames in red, the bytes in the fixed-pitch face, rows shaded by turns.
LRESULT LineMonitorView::drawFrame(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      const HGDIOBJ font =
          draw.iSubItem == kBytesColumn
              ? static_cast<HGDIOBJ>(fixedFont_)
              : reinterpret_cast<HGDIOBJ>(SendMessageW(frames(), WM_GETFONT, 0, 0));
      SelectObject(draw.nmcd.hdc, font);
      const auto row = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
      if (!isSelected(frames(), row)) {
        draw.clrText =
            row < form_.rowCount() && rowAt(row).error ? kErrorText : GetSysColor(COLOR_WINDOWTEXT);
        draw.clrTextBk = rowShade(row);
      }
      return CDRF_NEWFONT;
    }
    default: return CDRF_DODEFAULT;
  }
}

const MonitorRow& LineMonitorView::rowAt(std::size_t row) {
  const std::uint64_t key = form_.rowKey(row);
  if (key != cachedKey_) {
    cached_ = form_.row(row);
    cachedKey_ = key;
  }
  return cached_;
}

}  // namespace

VS_FORM_VIEW(40047, LineMonitorView, LineMonitorForm);

}  // namespace vs
