#include "sim/settings_store.h"

#include <fstream>
#include <limits>
#include <string>
#include <system_error>

namespace vs::sim {

std::optional<SettingsImage> readSettingsFile(const std::filesystem::path& file) {
  std::ifstream in(file);
  if (!in) return std::nullopt;
  SettingsImage image{};
  for (auto& value : image) {
    long number = 0;
    if (!(in >> number)) return std::nullopt;
    if (number < std::numeric_limits<std::int16_t>::min() ||
        number > std::numeric_limits<std::int16_t>::max()) {
      return std::nullopt;
    }
    value = static_cast<std::int16_t>(number);
  }
  in >> std::ws;
  if (!in.eof()) return std::nullopt;
  return image;
}

bool writeSettingsFile(const std::filesystem::path& file, const SettingsImage& image) {
  std::filesystem::path partial = file;
  partial += ".partial";
  {
    std::ofstream out(partial, std::ios::trunc);
    for (const auto value : image) out << value << ' ';
    out.flush();
    if (!out) return false;
  }
  std::error_code error;
  std::filesystem::rename(partial, file, error);
  if (!error) return true;
  std::error_code ignored;
  std::filesystem::remove(partial, ignored);
  return false;
}

}  // namespace vs::sim
