#pragma once

#include <optional>
#include <string>

#include "forms/desktop.h"

class QWidget;

namespace vs {

// A message box with the program's fixed text, caption, icon and buttons;
// returns an Answer. A null parent leaves the box without an owner.
int showMessageBox(QWidget* parent, const std::string& text, const std::string& caption, Icon icon,
                   Buttons buttons);

// The open or save file chooser; nothing when the user cancels.
std::optional<std::string> showFileDialog(QWidget* parent, const FileDialogRequest& request);

}  // namespace vs
