#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "cli.h"
#include "link/modbus_rtu_master.h"

namespace vs::sim {
class SimulatedController;
class LoopbackMaster;
}  // namespace vs::sim

namespace vs::cli {

// The controller link of one run: the port opened as the application opens
// it (9600 8N1, three retries), or for --simulate a simulated controller in
// this process, paced like that line. Leaving sends "OUT" on the port, as every
// departing master does.
class LinkSession {
 public:
  explicit LinkSession(const Invocation& invocation);
  ~LinkSession();
  LinkSession(const LinkSession&) = delete;
  LinkSession& operator=(const LinkSession&) = delete;

  // CLI_OK, or the exit code after one line on standard error.
  int open();

  ModbusMaster& master();
  int slave() const { return slave_; }
  const std::string& port() const { return port_; }

  // "PORT: WHAT: MODBUS_REPLY_TIMEOUT (132)" on standard error; returns exitCode.
  int fail(std::string_view what, int result, CliExit exitCode = CLI_CONTROLLER) const;
  // "PORT: MESSAGE" on standard error; returns exitCode.
  int fail(std::string_view message, CliExit exitCode = CLI_CONTROLLER) const;

 private:
  void leave();

  const Invocation& invocation_;
  std::unique_ptr<sim::SimulatedController> controller_;
  std::unique_ptr<sim::LoopbackMaster> simulated_;
  ModbusRtuMaster portMaster_;
  std::string port_;
  int slave_;
};

}  // namespace vs::cli
