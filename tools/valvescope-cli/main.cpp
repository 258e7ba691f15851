// valvescope-cli: the Valvescope companion for scripts and headless PCs. One
// small table routes each subcommand to its own file.

#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "cli.h"
#include "cli_text.h"
#include "commands.h"
#include "journal/journal_reader.h"
#include "valvescope_version.h"

namespace vs::cli {
namespace {

struct Command {
  std::string_view name;
  std::string_view arguments;
  std::string_view summary;
  std::size_t minArguments;
  std::size_t maxArguments;
  int (*run)(const Invocation&);
};

constexpr Command kCommands[] = {
    {"poll", "", "read the live registers every 200 ms and print the ten live values", 0, 0,
     runPoll},
    {"read", "REG [COUNT]", "read COUNT holding registers from REG (default 1, at most 125)", 1, 2,
     runRead},
    {"write", "REG VALUE", "write one holding register, VALUE from -32768 to 65535", 2, 2,
     runWrite},
    {"upload", "FILE", "save the 114 settings registers (112 to 225) to a settings file", 1, 1,
     runUpload},
    {"download", "FILE", "back up the settings, then write a settings file, read it back, save it",
     1, 1, runDownload},
    {"diff", "FILE", "list the settings registers that differ from a settings file", 1, 1, runDiff},
    {"export-csv", "LOG [CSV]", "a log file as CSV, to standard output without CSV", 1, 2,
     runExportCsv},
    {"log-info", "LOG", "records, time span and gaps of a log file", 1, 1, runLogInfo},
    {"ports", "",
     "the serial ports of this computer: device names, adapter latency, whether you may open "
     "them",
     0, 0, runPorts},
    {"journal", "", "the change journal as CSV, newest first", 0, 0, runJournal},
};

// Port names and the data folder are each system's own.
#if defined(_WIN32)
constexpr const char* kPortAndFolderOptions = R"(
Options:
  --port NAME     serial port: COM1, COM2 ... (COM10 and up also as
                  \\.\COM10); "valvescope-cli ports" lists them; default: the
                  port in comm_config.dat in the data folder, else COM1
  --data-dir DIR  the data folder (default: %VALVESCOPE_DATA_DIR%, else
                  %LOCALAPPDATA%\ORB_QX4)
)";
#else
constexpr const char* kPortAndFolderOptions = R"(
Options:
  --port NAME     serial port: a path (/dev/ttyUSB0, or ./ttyV0 from the
                  current folder), COMn for /dev/ttyS(n-1), or a name in /dev
                  (ttyUSB0); default: the port in comm_config.dat in the data
                  folder, else COM1
  --data-dir DIR  the data folder (default: $VALVESCOPE_DATA_DIR, else
                  ~/.local/share/ORB_QX4)
)";
#endif

constexpr const char* kOtherOptionsAndExitCodes =
    R"(  --slave N       the controller's Modbus address, 1 to 255 (default 1)
  --simulate      a simulated controller inside this program instead of a
                  port, as fast as a real line
  --count N       poll: stop after N ticks (default: at Ctrl-C)
  --no-backup     download: write without backing up the controller's
                  settings first
  --serial N      journal: only the lines of the controller with serial number N
  --since DATE    journal: only lines from DATE on: yyyy-mm-dd [hh:mm[:ss]],
                  local time
  --stats         poll: at the end, the link's statistics (requests, retries,
                  time-outs, errors, latency, ticks over 200 ms) and advice
  --trace         every frame on the line as it happens, decoded, on
                  standard error
  -h, --help      this text
  --version       the version

The line runs at 9600 baud, 8 data bits, no parity, 1 stop bit, with a 1 s
time-out and 3 retries. A run that opened the port sends "OUT" on it before
leaving, as Valvescope does at exit.

Every register written (write, download) is a line of journal.csv in the data
folder: time, port, Device ID, serial number, firmware, command, register,
value before and written, outcome. For it, write and download first read the
firmware version (28), the serial number (134) and, write, its register; a
controller that does not answer them gets nothing written. A journal that
cannot be written is said on standard error and stops nothing. Before it
writes, download saves the controller's settings in backups/SERIAL/ in the
data folder and prints the backup's path; when they cannot be read or saved it
writes nothing.

Exit codes:
  0  success; diff: the controller matches the file
  1  diff, download: the controller's settings differ from the file
  2  bad command line or value; nothing was sent
  3  the port would not open (MODBUS_PORT_OPEN_FAILED, MODBUS_PORT_IN_USE)
  4  the controller did not answer properly (MODBUS_REPLY_TIMEOUT, an
     exception reply, a corrupt reply ...), also to the backup's reads
  5  a file or standard output could not be read or written, also the
     backup before a download
Failures are one line on standard error naming the port and the result; a
port that will not open gets a second line saying why and what to do.
)";

void printUsage(std::FILE* to) {
  std::fputs(
      "Usage: valvescope-cli [OPTIONS] COMMAND [ARGUMENTS]\n\n"
      "Talks to a QX4 gas-valve controller as the Modbus RTU master on a serial\n"
      "line, and reads Valvescope log files.\n\nCommands:\n",
      to);
  for (const Command& command : kCommands) {
    const std::string head = std::string(command.name) + " " + std::string(command.arguments);
    std::fprintf(to, "  %-22s %.*s\n", head.c_str(), static_cast<int>(command.summary.size()),
                 command.summary.data());
  }
  std::fputs(kPortAndFolderOptions, to);
  std::fputs(kOtherOptionsAndExitCodes, to);
}

const Command* findCommand(std::string_view name) {
  for (const Command& command : kCommands) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

struct Request {
  Invocation invocation;
  bool help = false;
  bool version = false;
};

// The command line, or the reason it cannot be run.
std::optional<std::string> parse(int argc, char** argv, Request& request) {
  Invocation& in = request.invocation;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    // Negative numbers ("write 150 -5") are arguments, not options.
    if (!arg.starts_with("--") && arg != "-h") {
      if (in.command.empty()) {
        in.command = arg;
      } else {
        in.args.emplace_back(arg);
      }
      continue;
    }
    const auto equals = arg.find('=');
    const std::string_view option = arg.substr(0, equals);
    if (option == "--help" || option == "-h") {
      request.help = true;
    } else if (option == "--version") {
      request.version = true;
    } else if (option == "--simulate") {
      in.simulate = true;
    } else if (option == "--no-backup") {
      in.noBackup = true;
    } else if (option == "--stats") {
      in.stats = true;
    } else if (option == "--trace") {
      in.trace = true;
    } else if (option == "--port" || option == "--slave" || option == "--count" ||
               option == "--data-dir" || option == "--serial" || option == "--since") {
      std::string value;
      if (equals != std::string_view::npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < argc) {
        value = argv[++i];
      } else {
        return "missing value after " + std::string(option);
      }
      if (option == "--port") {
        if (value.empty()) return "--port needs a port name";
        in.port = value;
      } else if (option == "--data-dir") {
        in.dataDir = value;
      } else if (option == "--serial") {
        // The journal writes the register's signed value; 65535 is -1 there.
        const auto serial = parseNumber(value, -32768, 65535);
        if (!serial) return "--serial must be a number from -32768 to 65535, not " + value;
        in.serialNumber = std::to_string(static_cast<std::int16_t>(*serial & 0xFFFF));
      } else if (option == "--since") {
        in.since = journalTime(value);
        if (!in.since)
          return "--since must be a local date and time, yyyy-mm-dd [hh:mm[:ss]], not " + value;
      } else if (option == "--slave") {
        const auto slave = parseNumber(value, 1, 255);
        if (!slave) return "--slave must be a number from 1 to 255, not " + value;
        in.slave = static_cast<int>(*slave);
      } else {
        in.count = parseNumber(value, 1, LONG_MAX);
        if (!in.count) return "--count must be a number from 1 up, not " + value;
      }
    } else {
      return "unknown option " + std::string(option);
    }
  }
  if (in.simulate && in.port) return "--simulate and --port exclude each other";
  if (in.count && in.command != "poll") return "--count applies to poll only";
  if (in.noBackup && in.command != "download") return "--no-backup applies to download only";
  if ((in.serialNumber || in.since) && in.command != "journal") {
    return "--serial and --since apply to journal only";
  }
  if (in.stats && in.command != "poll") return "--stats applies to poll only";
  return std::nullopt;
}

int run(int argc, char** argv) {
  Request request;
  if (const auto error = parse(argc, argv, request)) {
    complain(*error + " (see --help)");
    return CLI_USAGE;
  }
  if (request.help) {
    printUsage(stdout);
    return CLI_OK;
  }
  if (request.version) {
    std::fputs("valvescope-cli " VALVESCOPE_VERSION "\n", stdout);
    return CLI_OK;
  }
  const Invocation& invocation = request.invocation;
  if (invocation.command.empty()) {
    printUsage(stderr);
    return CLI_USAGE;
  }
  const Command* command = findCommand(invocation.command);
  if (command == nullptr) {
    complain("unknown command " + invocation.command + " (see --help)");
    return CLI_USAGE;
  }
  if (invocation.args.size() < command->minArguments ||
      invocation.args.size() > command->maxArguments) {
    complain("usage: valvescope-cli [OPTIONS] " + std::string(command->name) + " " +
             std::string(command->arguments));
    return CLI_USAGE;
  }
  return command->run(invocation);
}

}  // namespace
}  // namespace vs::cli

int main(int argc, char** argv) {
#if !defined(_WIN32)
  // A closed pipe on standard output is a failed write, not a sudden death
  // that leaves the port without its "OUT".
  std::signal(SIGPIPE, SIG_IGN);
#endif
  return vs::cli::run(argc, argv);
}
