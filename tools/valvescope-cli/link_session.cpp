#include "link_session.h"

#include <cstring>

#include "cli_text.h"
#include "journal/change_journal.h"
#include "link/master_result.h"
#include "link/send_exit_command.h"
#include "shell/comm_config.h"
#include "shell/data_paths.h"
#include "sim/pty_simulator.h"
#include "sim/simulated_controller.h"

namespace vs::cli {
namespace {

constexpr int kBaudRate = 9600;
constexpr int kRetries = 3;

// Without --port, the port the application itself would open: the one named
// in comm_config.dat, else its first port.
std::string configuredPort(const std::filesystem::path& dataDirectory) {
  std::string port = "COM1";
  const auto file = commConfigPath(dataDirectory);
  if (const auto problem = commConfigProblem(readCommConfig(file, port)); !problem.empty()) {
    complain(file.string() + " " + std::string(problem) + "; using " + port);
  }
  return port;
}

}  // namespace

LinkSession::LinkSession(const Invocation& invocation)
    : invocation_(invocation),
      dataDirectory_(resolveDataDirectory(invocation.dataDir)),
      journaling_(master_, ChangeJournal(journalPath(dataDirectory_))),
      slave_(invocation.slave) {
  journaling_.setProblemListener([](const std::string& problem) {
    if (!problem.empty()) complain(problem);
  });
}

LinkSession::~LinkSession() { leave(); }

int LinkSession::open() {
  if (invocation_.simulate) {
    sim::ControllerOptions options;
    options.slaveAddress = slave_;
    controller_ = std::make_unique<sim::SimulatedController>(options);
    // Paced like a real line, so that timings seen here are a controller's.
    sim::LineOptions line;
    line.baud = kBaudRate;
    simulator_ = std::make_unique<sim::PtySimulator>(*controller_, line);
    if (const int error = simulator_->start(); error != 0) {
      complain(std::string("cannot start the simulated controller: ") + std::strerror(error));
      return CLI_PORT;
    }
    port_ = simulator_->path();
  } else {
    port_ = invocation_.port ? *invocation_.port : configuredPort(dataDirectory_);
  }
  journaling_.setPort(port_);
  // The master refuses settings while the port is open.
  master_.setRetries(kRetries);
  const int opened = master_.open(port_, kBaudRate, 8, 1, 0);
  if (opened == MODBUS_OK) return CLI_OK;
  // A refused line setting leaves the port open; this run will not use it.
  master_.close();
  return fail("cannot open", opened, CLI_PORT);
}

int LinkSession::readAhead(std::initializer_list<int> registers) {
  for (const int reg : registers) {
    std::int16_t value = 0;
    const int result = journaling_.readHoldingRegisters(slave_, reg, &value, 1);
    if (result != MODBUS_OK && !isExceptionReply(result)) {
      return fail("reading register " + std::to_string(reg) + ": " + masterResultText(result) +
                  "; nothing was written");
    }
  }
  return CLI_OK;
}

int LinkSession::fail(std::string_view what, int result, CliExit exitCode) const {
  return fail(std::string(what) + ": " + masterResultText(result), exitCode);
}

int LinkSession::fail(std::string_view message, CliExit exitCode) const {
  complain(port_ + ": " + std::string(message));
  return exitCode;
}

// Only a run that became the master on the line takes its leave there.
void LinkSession::leave() {
  if (master_.isOpen()) {
    master_.close();
    ExitCommandWindow window;
    window.warn = [this](const std::string&, const std::string&) {
      fail("could not send OUT: the port would not open again");
    };
    SendExitCommand(window, port_, kBaudRate, EXIT_COMMAND_OUT);
  }
  if (simulator_) simulator_->stop();
}

}  // namespace vs::cli
