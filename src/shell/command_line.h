#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vs {

struct CommandLine {
  bool simulate = false;            // a simulated controller on a pty of its own
  std::optional<std::string> port;  // this run only; comm_config.dat stays as it is
  std::optional<std::filesystem::path> dataDirectory;
  bool help = false;
  bool version = false;
  std::string error;  // empty when the arguments were understood
};

// The program's own arguments (without the program name).
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// Whether --help or --version is among the arguments, looked for before the
// window system starts, so that both work without a display.
bool asksForHelpOrVersion(int argc, char** argv);

extern const char* const kUsageText;
extern const char* const kVersionText;

}  // namespace vs
