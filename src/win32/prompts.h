#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "forms/desktop.h"

namespace vs {

// A message box with the program's fixed text, caption, icon and buttons;
// returns an Answer. A null owner leaves the box without one.
int showMessageBox(HWND owner, const std::string& text, const std::string& caption, Icon icon,
                   Buttons buttons);

// The open or save file chooser; the chosen path in UTF-8, nothing when the
// user cancels. The program's current folder stays as it is.
std::optional<std::string> showFileDialog(HWND owner, const FileDialogRequest& request);

}  // namespace vs
