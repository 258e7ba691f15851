#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "dialogs/connection_form.h"
#include "forms/command_ids.h"
#include "link/modbus_rtu_master.h"
#include "logging/clock.h"
#include "shell/shell.h"
#include "sim/manual_clock.h"
#include "sim/pty_simulator.h"
#include "sim/simulated_controller.h"
#include "support/scripted_desktop.h"
#include "support/temp_dir.h"

namespace vs::test {

// A clock the test sets by hand: the calendar time and the local wall-clock
// time are set together, whatever the machine's time zone.
class TestClock : public Clock {
 public:
  std::int64_t unixTime() const override { return unix; }
  LocalDateTime localTime() const override { return local; }
  void set(const LocalDateTime& wallClock, std::int64_t calendar) {
    local = wallClock;
    unix = calendar;
  }

  std::int64_t unix = 1'796'547'600;
  LocalDateTime local{2026, 12, 6, 9, 15, 0, 0};
};

// The RTU master the shell gets, noting every request made and every port
// opened on the window's thread (the test's): the line is the link worker's.
class WorkerOnlyMaster : public ModbusRtuMaster {
 public:
  int transact(int slave, int function, const std::uint8_t* request, int requestLength,
               std::uint8_t* reply, int replyLength) override {
    note();
    return ModbusRtuMaster::transact(slave, function, request, requestLength, reply, replyLength);
  }
  int open(const std::string& portName, int baudRate, int dataBits, int stopBits,
           int parity) override {
    note();
    return ModbusRtuMaster::open(portName, baudRate, dataBits, stopBits, parity);
  }

  std::atomic<int> onWindowThread{0};

 private:
  void note() {
    if (std::this_thread::get_id() == windowThread_) ++onWindowThread;
  }
  const std::thread::id windowThread_ = std::this_thread::get_id();
};

// The shell in a scripted desktop, talking through the real RTU master (with
// its own one-second time-out, so a busy machine causes no false time-outs)
// over a pty to the simulated controller served by its own thread. The
// controller's clock stands still, so its live values are known. Failures are
// mostly exception replies, which cost no waiting.
class ShellRig {
 public:
  explicit ShellRig(sim::ControllerOptions options = {})
      : controller(withClock(options, simClock)) {
    simulator = std::make_unique<sim::PtySimulator>(controller);
    EXPECT_EQ(simulator->start(), 0);
    desktop.dispatch = [this](int id) { shell->onCommand(id); };
    desktop.lineBusy = [this] { return shell && shell->lineBusy(); };
    desktop.onForm(ConnectionForm::kTemplateId, [this](Form& form, ScriptedFormHost&) {
      retriesWhileConnecting = master.retries();
      for (int i = 0; i < 100 && !form.isEnded(); ++i) tick(CONNECT_TIMER);
    });
  }

  ~ShellRig() {
    desktop.besideForms.clear();
    shell.reset();
    EXPECT_EQ(master.onWindowThread, 0) << "requests made on the window's thread";
  }

  // The shell on the simulator's line (`port` unset) or on the port read from
  // comm_config.dat (`port` empty).
  Shell& make(std::optional<std::string> port = std::nullopt) {
    ShellSetup setup;
    setup.dataDirectory = data.path();
    setup.port = port ? (port->empty() ? std::nullopt : port) : simulator->path();
    setup.endProcess = [this](int code) { exitCodes.push_back(code); };
    shell = std::make_unique<Shell>(desktop, master, clock, setup);
    shell->onCreate();
    return *shell;
  }

  // Start-up with the connection dialog up until the connection step closes it.
  Shell& connected() {
    make();
    shell->startUp();
    EXPECT_TRUE(desktop.timerRunning(POLL_TIMER));
    return *shell;
  }

  // The user presses Cancel in the connection dialog at once.
  void cancelConnecting() {
    desktop.onForm(ConnectionForm::kTemplateId, [](Form& form, ScriptedFormHost&) {
      static_cast<ConnectionForm&>(form).cancel();
    });
  }

  // One tick of a running main-window timer, its answer from the line, then
  // the commands it posted.
  bool tick(int id) {
    if (!desktop.timerRunning(id)) return false;
    shell->onTimer(id);
    desktop.runPosted();
    return true;
  }
  void command(int id) {
    shell->onCommand(id);
    desktop.runPosted();
  }

  // Every reply is an exception reply: each request fails at once.
  void refuseEverything() { controller.faults().setProbability(sim::FaultKind::Exception, 1.0); }
  void answerAgain() { controller.faults().clear(); }

  std::vector<std::string> boxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : desktop.boxes) texts.push_back(box.caption + "|" + box.text);
    return texts;
  }

  static sim::ControllerOptions withClock(sim::ControllerOptions options, sim::ManualClock& clock) {
    options.clock = clock.source();
    return options;
  }

  sim::ManualClock simClock;
  sim::SimulatedController controller;
  std::unique_ptr<sim::PtySimulator> simulator;
  WorkerOnlyMaster master;
  TestClock clock;
  ScriptedDesktop desktop;
  TempDir data;
  std::unique_ptr<Shell> shell;
  std::vector<int> exitCodes;
  int retriesWhileConnecting = -1;
};

}  // namespace vs::test
