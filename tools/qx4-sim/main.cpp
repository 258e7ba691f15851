// qx4-sim: a simulated QX4 controller on a new pseudo-terminal (its path is the
// first line on standard output) or on a serial device, until SIGINT or SIGTERM.

#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registers/settings_file.h"
#include "sim/pty_simulator.h"
#include "sim/simulated_controller.h"
#include "valvescope_version.h"

namespace {

using vs::sim::FaultKind;

constexpr const char* kUsage = R"(Usage: qx4-sim [options]

Serves a simulated QX4 gas-valve controller, a Modbus RTU slave, on a new
pseudo-terminal whose path is printed on standard output, or on a serial device.

Line:
  --device PATH          serve on this serial device instead of a new pty
  --baud N               on a pty: pace requests and replies at N baud (default
                         0: at once); on a device: its line speed (default 9600)
Controller:
  --slave N              Modbus address, 1 to 247 (default: the stored one, 1)
  --firmware N           firmware version in hundredths, register 28 (default 462)
  --seed N               seed of the live values and random faults (default 1)
  --mode N               engine mode, register 43: 2 A/F control, 1 default,
                         0 stopped, -1 to -4 faults (default 2)
  --settings FILE        stored settings: loaded at start if FILE exists, written
                         by the save command (144 <- 4660)
  --cal-code N           free-air calibration start code for register 181
                         (default 2736)
  --cal-outcome RESULT   success or failure of a free-air calibration
                         (default success)
Faults (KIND: no-reply, wrong-crc, wrong-address, exception, late-reply,
garbage, continuous, partial-frame):
  --fault KIND[:N]       the next N replies (default 1) suffer KIND; repeatable
  --fault-rate KIND:P    every reply suffers KIND with probability P; repeatable
  --exception-code N     exception code of the exception fault (default 4)
  --late-ms N            how late a late reply comes (default 1500)
  --garbage-bytes N      noise bytes before a garbage reply (default 8)
  --babble-ms N          how long a continuous transmission lasts (default 2000)
  --reply-delay MS       wait this long before every reply, as a slow USB
                         adapter does (default 0)
  --silent               start with the cable pulled
  -h, --help             this text
  --version              the version

Signals: SIGINT and SIGTERM stop; SIGUSR1 pulls or plugs the cable (no replies
while pulled); SIGHUP cycles the controller's power (stored settings come back,
a stored zeroing request is carried out).
)";

struct Options {
  vs::sim::ControllerOptions controller;
  vs::sim::LineOptions line;
  vs::sim::FaultSettings faults;
  std::vector<std::pair<FaultKind, int>> queued;
  std::vector<std::pair<FaultKind, double>> rates;
  bool silent = false;
  bool help = false;
  bool version = false;
};

template <typename T>
bool number(std::string_view text, T& out, T low, T high) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return false;
  }
  out = value;
  return true;
}

// KIND or KIND:ARG; the argument part is empty when absent.
std::optional<FaultKind> faultPart(std::string_view text, std::string_view& argument) {
  const auto colon = text.find(':');
  argument = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
  const auto kind = vs::sim::faultFromName(text.substr(0, colon));
  if (!kind || *kind == FaultKind::None) return std::nullopt;
  return kind;
}

std::optional<std::string> parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "-h" || option == "--help") {
      o.help = true;
      continue;
    }
    if (option == "--version") {
      o.version = true;
      continue;
    }
    if (option == "--silent") {
      o.silent = true;
      continue;
    }
    if (!option.starts_with('-')) return "unexpected argument " + std::string(option);
    // Looked at before it is known to be there, so that an unknown option is
    // reported as such even as the last argument.
    const bool given = i + 1 < argc;
    const std::string_view value = given ? argv[i + 1] : "";
    bool ok = true;
    if (option == "--device") {
      o.line.device = value;
    } else if (option == "--baud") {
      ok = number(value, o.line.baud, 0, 115200);
    } else if (option == "--slave") {
      ok = number(value, o.controller.slaveAddress, 1, 247);
    } else if (option == "--firmware") {
      ok = number(value, o.controller.firmwareVersion, -32768, 32767);
    } else if (option == "--seed") {
      ok = number<std::uint64_t>(value, o.controller.seed, 0, UINT64_MAX);
    } else if (option == "--mode") {
      ok = number(value, o.controller.mode, -4, 2);
    } else if (option == "--settings") {
      o.controller.settingsFile = std::string(value);
    } else if (option == "--cal-code") {
      ok = number(value, o.controller.calibrationStartCode, -32768, 32767);
    } else if (option == "--cal-outcome") {
      ok = value == "success" || value == "failure";
      o.controller.calibrationOutcome = value == "failure" ? vs::sim::CalibrationOutcome::Failure
                                                           : vs::sim::CalibrationOutcome::Success;
    } else if (option == "--fault") {
      std::string_view count;
      const auto kind = faultPart(value, count);
      int n = 1;
      ok = kind && (count.empty() || number(count, n, 1, 1'000'000));
      if (ok) o.queued.emplace_back(*kind, n);
    } else if (option == "--fault-rate") {
      std::string_view rate;
      const auto kind = faultPart(value, rate);
      double p = 0;
      ok = kind && number(rate, p, 0.0, 1.0);
      if (ok) o.rates.emplace_back(*kind, p);
    } else if (option == "--exception-code") {
      ok = number(value, o.faults.exceptionCode, 1, 255);
    } else if (option == "--late-ms") {
      int ms = 0;
      ok = number(value, ms, 0, 600'000);
      o.faults.lateBy = std::chrono::milliseconds(ms);
    } else if (option == "--garbage-bytes") {
      ok = number(value, o.faults.garbageBytes, 1, 200);
    } else if (option == "--babble-ms") {
      int ms = 0;
      ok = number(value, ms, 0, 600'000);
      o.faults.babble = std::chrono::milliseconds(ms);
    } else if (option == "--reply-delay") {
      int ms = 0;
      ok = number(value, ms, 0, 600'000);
      o.faults.replyDelay = std::chrono::milliseconds(ms);
    } else {
      return "unknown option " + std::string(option);
    }
    if (!given) return "missing value after " + std::string(option);
    ++i;
    if (!ok) return "bad value for " + std::string(option) + ": " + std::string(value);
  }
  return std::nullopt;
}

std::string printable(const std::string& bytes) {
  std::string out;
  for (const unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const auto error = parse(argc, argv, options)) {
    std::fprintf(stderr, "qx4-sim: %s (see --help)\n", error->c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (options.version) {
    std::fputs("qx4-sim " VALVESCOPE_VERSION "\n", stdout);
    return 0;
  }

  // Signals are taken by sigwait below; the serving thread must not see them.
  sigset_t signals;
  sigemptyset(&signals);
  for (const int s : {SIGINT, SIGTERM, SIGUSR1, SIGHUP}) sigaddset(&signals, s);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  vs::sim::SimulatedController controller(options.controller);
  if (controller.settingsLoad() == vs::sim::SettingsLoad::Invalid) {
    std::fprintf(stderr, "qx4-sim: %s: %s Left untouched.\n",
                 options.controller.settingsFile.c_str(),
                 vs::readSettingsFile(options.controller.settingsFile).error.c_str());
    return 1;
  }
  auto& faults = controller.faults();
  faults.setSettings(options.faults);
  for (const auto& [kind, count] : options.queued) faults.injectNext(kind, count);
  for (const auto& [kind, p] : options.rates) faults.setProbability(kind, p);
  faults.setSilent(options.silent);

  vs::sim::PtySimulator simulator(controller, options.line);
  if (const int error = simulator.start()) {
    const std::string what =
        options.line.device.empty() ? "a pseudo-terminal" : options.line.device;
    std::fprintf(stderr, "qx4-sim: cannot open %s: %s\n", what.c_str(), std::strerror(error));
    return 1;
  }
  std::printf("%s\n", simulator.path().c_str());
  std::fflush(stdout);
  std::fprintf(stderr, "qx4-sim: slave %d, firmware %d, %s%s\n", controller.slaveAddress(),
               options.controller.firmwareVersion,
               controller.settingsLoad() == vs::sim::SettingsLoad::Loaded ? "stored settings loaded"
                                                                          : "default settings",
               options.silent ? ", cable pulled" : "");

  for (;;) {
    int received = 0;
    if (sigwait(&signals, &received) != 0) continue;
    if (received == SIGUSR1) {
      faults.setSilent(!faults.silent());
      std::fprintf(stderr, "qx4-sim: cable %s\n", faults.silent() ? "pulled" : "plugged in");
    } else if (received == SIGHUP) {
      controller.powerCycle();
      std::fprintf(stderr, "qx4-sim: power cycled, slave %d\n", controller.slaveAddress());
    } else {
      break;
    }
  }
  simulator.stop();
  const std::string stray = controller.strayBytes();
  if (!stray.empty()) {
    std::fprintf(stderr, "qx4-sim: received outside frames: \"%s\"\n", printable(stray).c_str());
  }
  return 0;
}
