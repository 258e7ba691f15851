#include "sim/settings_store.h"

#include <system_error>

#include "registers/settings_file.h"

namespace vs::sim {

bool replaceSettingsFile(const std::filesystem::path& file, const SettingsImage& image) {
  std::filesystem::path partial = file;
  partial += ".partial";
  std::error_code error;
  if (writeSettingsFile(partial, image)) {
    std::filesystem::rename(partial, file, error);
    if (!error) return true;
  }
  std::filesystem::remove(partial, error);
  return false;
}

}  // namespace vs::sim
