#include "support/temp_dir.h"

#include <random>
#include <stdexcept>
#include <string>

namespace vs::test {

// A random name, tried until one is free: create_directory is atomic and tells
// whether it made the folder, so no two tests ever share one.
TempDir::TempDir() {
  const auto base = std::filesystem::temp_directory_path();
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto candidate = base / ("valvescope-" + std::to_string(random()));
    std::error_code error;
    if (std::filesystem::create_directory(candidate, error)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("no temporary folder could be made");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace vs::test
