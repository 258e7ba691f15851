#pragma once

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli.h"
#include "diagnostics/link_statistics.h"
#include "journal/journaling_master.h"
#include "link/frame_trace.h"
#include "link/modbus_rtu_master.h"

namespace vs::sim {
class SimulatedController;
class LoopbackMaster;
}  // namespace vs::sim

namespace vs::cli {

// The controller link of one run: the port opened as the application opens
// it (9600 8N1, three retries), or for --simulate a simulated controller in
// this process, paced like that line. Every exchange goes through the
// journaling master, so every register written is in the data folder's change
// journal; a journal that cannot be written is said once on standard error.
// With --trace every frame goes to standard error as it happens; with --stats
// into the statistics of the run. Leaving sends "OUT" on the port, as every
// departing master does.
class LinkSession {
 public:
  explicit LinkSession(const Invocation& invocation);
  ~LinkSession();
  LinkSession(const LinkSession&) = delete;
  LinkSession& operator=(const LinkSession&) = delete;

  // CLI_OK, or the exit code after one line on standard error.
  int open();

  // Once open() has succeeded.
  JournalingMaster& master() { return *journaling_; }
  // The run's statistics when --stats asked for them, else null.
  const LinkStatistics* statistics() const { return statistics_ ? &*statistics_ : nullptr; }
  int slave() const { return slave_; }
  const std::string& port() const { return port_; }
  bool simulated() const { return simulated_ != nullptr; }
  const std::filesystem::path& dataDirectory() const { return dataDirectory_; }

  // Reads the registers one by one ahead of the writes, so that the journal
  // names the controller (firmware version 28, serial number 134) and holds
  // the values the writes replace. A register the controller refuses to read
  // is left out; when it does not answer properly nothing is to be written:
  // CLI_CONTROLLER after one line on standard error.
  int readAhead(std::initializer_list<int> registers);

  // "PORT: WHAT: MODBUS_REPLY_TIMEOUT (132)" on standard error; returns exitCode.
  int fail(std::string_view what, int result, CliExit exitCode = CLI_CONTROLLER) const;
  // "PORT: MESSAGE" on standard error; returns exitCode.
  int fail(std::string_view message, CliExit exitCode = CLI_CONTROLLER) const;

 private:
  // The master this run talks through, once it is open: journaled, and traced
  // when asked.
  void talkThrough(ModbusMaster& inner);
  void leave();

  const Invocation& invocation_;
  std::unique_ptr<sim::SimulatedController> controller_;
  std::unique_ptr<sim::LoopbackMaster> simulated_;
  ModbusRtuMaster portMaster_;
  std::filesystem::path dataDirectory_;
  std::unique_ptr<JournalingMaster> journaling_;
  // A few slots do: each frame is printed or counted as it is recorded.
  FrameTrace trace_{16};
  std::optional<LinkStatistics> statistics_;
  std::string port_;
  int slave_;
};

}  // namespace vs::cli
