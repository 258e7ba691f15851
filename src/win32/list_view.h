#pragma once

// The common controls need Windows' own header first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstddef>
#include <string>
#include <vector>

namespace vs {

// Report-style list views as the dialogs' tables use them: whole rows
// selected, drawn double-buffered (a table refreshed five times a second
// does not flicker), and every other row shaded, as the other front end's
// tables are.
void prepareTable(HWND list);
// The columns, left-aligned up to `firstRightAligned` and right-aligned from it.
void addColumns(HWND list, const std::vector<std::string>& titles,
                std::size_t firstRightAligned = static_cast<std::size_t>(-1));
// Sets a cell; a row one past the last is appended.
void setCell(HWND list, int row, int column, const std::string& text);
// The height that shows the header and `rows` rows without scrolling.
int tableHeight(HWND list, int rows);

// The width of a text in the list's font, as LVM_GETSTRINGWIDTHW measures it.
int textWidth(HWND list, const std::string& text);

// The background of a row, shaded by turns; a selected row keeps the
// selection's colours.
COLORREF rowShade(std::size_t row);
bool isSelected(HWND list, std::size_t row);
// NM_CUSTOMDRAW of a table whose rows are only shaded.
LRESULT shadeRows(NMLVCUSTOMDRAW& draw);

}  // namespace vs
