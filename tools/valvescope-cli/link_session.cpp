#include "link_session.h"

#include <cstdio>

#include "cli_text.h"
#include "diagnostics/monitor_text.h"
#include "journal/change_journal.h"
#include "link/master_result.h"
#include "link/port_problems.h"
#include "link/send_exit_command.h"
#include "shell/comm_config.h"
#include "shell/data_paths.h"
#include "shell/live_values.h"
#include "sim/loopback_master.h"
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
      slave_(invocation.slave) {}

LinkSession::~LinkSession() { leave(); }

int LinkSession::open() {
  if (invocation_.simulate) {
    sim::ControllerOptions options;
    options.slaveAddress = slave_;
    controller_ = std::make_unique<sim::SimulatedController>(options);
    simulated_ = std::make_unique<sim::LoopbackMaster>(*controller_);
    simulated_->close();  // settings are taken while closed, as on a port
    simulated_->setRetries(kRetries);
    simulated_->paceAt(kBaudRate);
    simulated_->open();
    port_ = "simulated controller";
    talkThrough(*simulated_);
    return CLI_OK;
  }
  port_ = invocation_.port ? *invocation_.port : configuredPort(dataDirectory_);
  // The master refuses settings while the port is open.
  portMaster_.setRetries(kRetries);
  const int opened = portMaster_.open(port_, kBaudRate, 8, 1, 0);
  if (opened == MODBUS_OK) {
    talkThrough(portMaster_);
    return CLI_OK;
  }
  // A refused line setting leaves the port open; this run will not use it.
  portMaster_.close();
  fail("cannot open", opened, CLI_PORT);
  if (opened == MODBUS_PORT_OPEN_FAILED || opened == MODBUS_PORT_IN_USE) {
    complain(explainOpenFailure(port_, opened));
  }
  return CLI_PORT;
}

void LinkSession::talkThrough(ModbusMaster& inner) {
  journaling_ =
      std::make_unique<JournalingMaster>(inner, ChangeJournal(journalPath(dataDirectory_)));
  journaling_->setPort(port_);
  journaling_->setProblemListener([](const std::string& problem) {
    if (!problem.empty()) complain(problem);
  });
  if (!invocation_.trace && !invocation_.stats) return;
  if (invocation_.stats) {
    std::vector<BlockKey> blocks;
    for (const LiveBlock& block : kLiveBlocks) blocks.push_back({3, block.first, block.count});
    statistics_.emplace(std::move(blocks));
  }
  trace_.setListener([this](const TracedFrame& frame) {
    if (statistics_) statistics_->add(frame);
    if (invocation_.trace) std::fprintf(stderr, "%s\n", monitorLine(frame).c_str());
  });
  // The frames as the line carries them: the master that sends them records.
  inner.setFrameTrace(&trace_);
}

int LinkSession::readAhead(std::initializer_list<int> registers) {
  for (const int reg : registers) {
    std::int16_t value = 0;
    const int result = journaling_->readHoldingRegisters(slave_, reg, &value, 1);
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

// Only a run that became the master on a line takes its leave there.
void LinkSession::leave() {
  if (!portMaster_.isOpen()) return;
  portMaster_.close();
  ExitCommandWindow window;
  window.warn = [this](const std::string&, const std::string&) {
    fail("could not send OUT: the port would not open again");
  };
  SendExitCommand(window, port_, kBaudRate, EXIT_COMMAND_OUT);
}

}  // namespace vs::cli
