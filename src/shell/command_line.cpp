#include "shell/command_line.h"

#include <string_view>

#include "valvescope_version.h"

namespace vs {

const char* const kUsageText = R"(Usage: valvescope [options]

Service and monitoring tool for the QX4 gas-valve controller (Modbus RTU,
9600 baud, 8 data bits, no parity, 1 stop bit).

Options:
  --simulate        talk to a built-in simulated QX4 controller instead of a
                    real one (for training and trying the program out)
  --port NAME       use this serial port for this run only (COM3, /dev/ttyUSB0,
                    /dev/serial/by-id/...); the saved port is left as it is
  --data-dir DIR    keep comm_config.dat and the log files in DIR (default:
                    $VALVESCOPE_DATA_DIR, else the user's ORB_QX4 data folder)
  --help            show this text and exit
  --version         show the version and exit
)";

const char* const kVersionText = "valvescope " VALVESCOPE_VERSION "\n";

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  for (std::size_t i = 0; i < arguments.size() && line.error.empty(); ++i) {
    const std::string_view argument = arguments[i];
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 < arguments.size() && !arguments[i + 1].empty()) return arguments[++i];
      line.error = std::string(argument) + " needs a value";
      return std::nullopt;
    };
    if (argument == "--simulate") {
      line.simulate = true;
    } else if (argument == "--port") {
      line.port = value();
    } else if (argument == "--data-dir") {
      // From UTF-8 whatever the system's own narrow encoding.
      if (auto folder = value()) line.dataDirectory = std::u8string(folder->begin(), folder->end());
    } else if (argument == "--help" || argument == "-h") {
      line.help = true;
    } else if (argument == "--version") {
      line.version = true;
    } else {
      line.error = "unknown argument: " + std::string(argument);
    }
  }
  if (line.error.empty() && line.simulate && line.port) {
    line.error = "--simulate and --port cannot be used together";
  }
  return line;
}

bool asksForHelpOrVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h" || argument == "--version") return true;
  }
  return false;
}

}  // namespace vs
