#include "win32/prompts.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "win32/wide_text.h"

namespace vs {
namespace {

UINT iconStyle(Icon icon) {
  switch (icon) {
    case Icon::Information: return MB_ICONINFORMATION;
    case Icon::Exclamation: return MB_ICONEXCLAMATION;
    case Icon::Question: return MB_ICONQUESTION;
    case Icon::None: break;
  }
  return 0;
}

// "Data Files (*.dat)\0*.dat\0...\0\0", as the chooser takes its filters.
std::wstring filterList(const std::vector<FileFilter>& filters) {
  std::wstring list;
  for (const FileFilter& filter : filters) {
    list += toWide(filter.description);
    list += L'\0';
    list += toWide(filter.pattern);
    list += L'\0';
  }
  list += L'\0';
  return list;
}

// "dat" of a first filter "*.dat": what a name typed without one gets.
std::wstring defaultExtension(const std::vector<FileFilter>& filters) {
  if (filters.empty()) return {};
  const std::string& pattern = filters.front().pattern;
  if (pattern.size() < 3 || pattern.compare(0, 2, "*.") != 0 ||
      pattern.find_first_of("*?;", 2) != std::string::npos) {
    return {};
  }
  return toWide(pattern.substr(2));
}

}  // namespace

int showMessageBox(HWND owner, const std::string& text, const std::string& caption, Icon icon,
                   Buttons buttons) {
  const UINT style = iconStyle(icon) | (buttons == Buttons::YesNo ? MB_YESNO : MB_OK);
  const int answer =
      MessageBoxW(owner, toWide(text).c_str(), toWide(caption).c_str(), style | MB_SETFOREGROUND);
  // The box's answers are numbered as Answer numbers them.
  if (buttons == Buttons::YesNo) return answer == IDYES ? ANSWER_YES : ANSWER_NO;
  return ANSWER_OK;
}

std::optional<std::string> showFileDialog(HWND owner, const FileDialogRequest& request) {
  const std::wstring filters = filterList(request.filters);
  const std::wstring folder = toWide(request.initialFolder);
  const std::wstring title = toWide(request.title);
  const std::wstring extension = defaultExtension(request.filters);
  // Room for the longest path Windows takes.
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring name = toWide(request.initialName);
  name.copy(file.data(), std::min(name.size(), file.size() - 1));

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  // The chooser would otherwise make the folder it ends in the program's
  // current one. An existing file to save over is the form's to ask about.
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  bool chosen = false;
  if (request.mode == FileDialogRequest::Mode::Open) {
    dialog.Flags |= OFN_FILEMUSTEXIST;
    chosen = GetOpenFileNameW(&dialog) != 0;
  } else {
    chosen = GetSaveFileNameW(&dialog) != 0;
  }
  if (!chosen) return std::nullopt;
  return toUtf8(file.data());
}

}  // namespace vs
