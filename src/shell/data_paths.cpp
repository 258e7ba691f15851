#include "shell/data_paths.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace vs {
namespace {

constexpr const char* kFolderName = "ORB_QX4";

std::filesystem::path platformDataHome(const EnvironmentLookup& environment) {
#if defined(_WIN32)
  if (auto local = environment("LOCALAPPDATA")) return *local;
  if (auto profile = environment("USERPROFILE")) return *profile / "AppData" / "Local";
#elif defined(__APPLE__)
  if (auto home = environment("HOME")) return *home / "Library" / "Application Support";
#else
  // The XDG rules ignore a relative XDG_DATA_HOME.
  if (auto xdg = environment("XDG_DATA_HOME"); xdg && xdg->is_absolute()) return *xdg;
  if (auto home = environment("HOME")) return *home / ".local" / "share";
#endif
  return {};  // no home at all: the current folder
}

}  // namespace

std::optional<std::filesystem::path> systemEnvironment(const char* name) {
#if defined(_WIN32)
  // The wide variant keeps user names outside the ANSI code page intact.
  const std::wstring wideName(name, name + std::char_traits<char>::length(name));
  const wchar_t* value = ::_wgetenv(wideName.c_str());
#else
  const char* value = std::getenv(name);
#endif
  if (value == nullptr || *value == 0) return std::nullopt;
  return std::filesystem::path(value);
}

std::filesystem::path resolveDataDirectory(
    const std::optional<std::filesystem::path>& dataDirArgument,
    const EnvironmentLookup& environment) {
  std::filesystem::path directory;
  if (dataDirArgument && !dataDirArgument->empty()) {
    directory = *dataDirArgument;
  } else if (auto fromEnvironment = environment("VALVESCOPE_DATA_DIR")) {
    directory = *fromEnvironment;
  } else {
    directory = platformDataHome(environment) / kFolderName;
  }
  std::error_code error;
  auto absolute = std::filesystem::absolute(directory, error);
  return error ? directory : absolute;
}

std::error_code ensureDataDirectory(const std::filesystem::path& directory) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  std::error_code probe;
  if (std::filesystem::is_directory(directory, probe)) return {};
  // A file in the way is reported as such, not as the folder's absence.
  return error ? error : std::make_error_code(std::errc::not_a_directory);
}

std::filesystem::path commConfigPath(const std::filesystem::path& dataDirectory) {
  return dataDirectory / "comm_config.dat";
}

}  // namespace vs
