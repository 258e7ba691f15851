#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>

namespace vs {

// Reads one environment variable; unset and empty variables give nothing.
using EnvironmentLookup = std::function<std::optional<std::filesystem::path>(const char* name)>;

std::optional<std::filesystem::path> systemEnvironment(const char* name);

// The one folder for comm_config.dat, the log files and the file choosers'
// start: the --data-dir argument if given, else VALVESCOPE_DATA_DIR, else the
// user's own application data folder ORB_QX4 (Linux $XDG_DATA_HOME/ORB_QX4 or
// ~/.local/share/ORB_QX4, Windows %LOCALAPPDATA%\ORB_QX4, macOS
// ~/Library/Application Support/ORB_QX4), which a normal user can write.
std::filesystem::path resolveDataDirectory(
    const std::optional<std::filesystem::path>& dataDirArgument,
    const EnvironmentLookup& environment = systemEnvironment);

// Creates the folder and its parents when missing. Returns why it still does
// not exist afterwards; nothing when it does.
std::error_code ensureDataDirectory(const std::filesystem::path& directory);

std::filesystem::path commConfigPath(const std::filesystem::path& dataDirectory);

}  // namespace vs
