#pragma once

#include <filesystem>

#include "forms/desktop.h"

namespace vs {

// "Select Data File": the chooser of both settings-file dialogs, opening in
// the data directory and offering "Data Files (*.dat)" then "All Files (*.*)".
FileDialogRequest settingsFileRequest(FileDialogRequest::Mode mode,
                                      const std::filesystem::path& folder);

// A file name without any full stop gets ".dat". Only the name counts: the
// folders above it (such as ~/.local/share) may hold full stops of their own.
std::string withSettingsExtension(const std::string& path);

}  // namespace vs
