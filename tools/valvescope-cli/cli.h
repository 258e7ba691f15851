#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vs::cli {

// Exit codes a script can rely on; --help lists them.
enum CliExit : int {
  CLI_OK = 0,
  CLI_DIFFERENT = 1,   // the controller's settings differ from the file
  CLI_USAGE = 2,       // bad command line or value; nothing was sent
  CLI_PORT = 3,        // the port would not open
  CLI_CONTROLLER = 4,  // the controller did not answer properly (the backup's reads included)
  CLI_FILE = 5,        // a file (or standard output, or the backup) could not be read or written
};

// What the command line asked for, options already checked.
struct Invocation {
  std::string command;
  std::vector<std::string> args;  // the command's own arguments
  std::optional<std::string> port;
  int slave = 1;
  bool simulate = false;
  std::optional<long> count;  // poll: ticks to run; none: until interrupted
  bool stats = false;         // poll: the link's statistics at the end
  bool trace = false;         // every frame on the line, decoded, on standard error
  std::optional<std::filesystem::path> dataDir;
  bool noBackup = false;                    // download: no backup first
  std::optional<std::string> serialNumber;  // journal: this controller's lines only
  std::optional<std::string> since;         // journal: lines from this local time on
};

}  // namespace vs::cli
