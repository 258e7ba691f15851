#include "dialogs/settings_file_chooser.h"

#include "files/utf8_path.h"

namespace vs {

FileDialogRequest settingsFileRequest(FileDialogRequest::Mode mode,
                                      const std::filesystem::path& folder) {
  FileDialogRequest request;
  request.mode = mode;
  request.title = "Select Data File";
  request.filters = {{"Data Files (*.dat)", "*.dat"}, {"All Files (*.*)", "*.*"}};
  request.initialFolder = utf8Of(folder);
  return request;
}

std::string withSettingsExtension(const std::string& path) {
  const auto nameStart = path.find_last_of("/\\");
  const auto name = nameStart == std::string::npos ? path : path.substr(nameStart + 1);
  return name.find('.') == std::string::npos ? path + ".dat" : path;
}

}  // namespace vs
