#include "support/temp_dir.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace vs::test {

TempDir::TempDir() {
  std::string templ = (std::filesystem::temp_directory_path() / "valvescope-XXXXXX").string();
  if (::mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = templ;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace vs::test
