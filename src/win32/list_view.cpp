#include "win32/list_view.h"

#include "win32/wide_text.h"

namespace vs {

void prepareTable(HWND list) {
  const DWORD style = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP;
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, style, style);
}

void addColumns(HWND list, const std::vector<std::string>& titles, std::size_t firstRightAligned) {
  for (std::size_t i = 0; i < titles.size(); ++i) {
    std::wstring title = toWide(titles[i]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    column.fmt = i >= firstRightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = 80;
    column.pszText = title.data();
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

void setCell(HWND list, int row, int column, const std::string& text) {
  std::wstring wide = toWide(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = wide.data();
  if (column == 0 && row >= static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0))) {
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  } else {
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }
}

int tableHeight(HWND list, int rows) {
  RECT header{};
  GetWindowRect(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), &header);
  int rowHeight = 0;
  RECT first{};
  first.left = LVIR_BOUNDS;
  if (SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)) != 0) {
    rowHeight = first.bottom - first.top;
  } else {
    // No row yet: about as tall as the list's rows will be.
    HDC dc = GetDC(list);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    rowHeight = metrics.tmHeight + 3;
  }
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, 0, FALSE, static_cast<DWORD>(GetWindowLongW(list, GWL_EXSTYLE)));
  return header.bottom - header.top + rows * rowHeight + (frame.bottom - frame.top) + 2;
}

COLORREF rowShade(std::size_t row) {
  return row % 2 == 0 ? GetSysColor(COLOR_WINDOW) : RGB(0xF2, 0xF2, 0xF2);
}

bool isSelected(HWND list, std::size_t row) {
  return SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) != 0;
}

LRESULT shadeRows(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      if (isSelected(draw.nmcd.hdr.hwndFrom, draw.nmcd.dwItemSpec)) return CDRF_DODEFAULT;
      draw.clrTextBk = rowShade(draw.nmcd.dwItemSpec);
      return CDRF_NEWFONT;
    default: return CDRF_DODEFAULT;
  }
}

int textWidth(HWND list, const std::string& text) {
  const std::wstring wide = toWide(text);
  return static_cast<int>(
      SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

}  // namespace vs
