#pragma once

#include <string>

#include "link/modbus_rtu_master.h"
#include "sim/loopback_master.h"
#include "sim/simulated_controller.h"

namespace vs::sim {

// The RTU master with one more port: the simulated controller in this
// process, under the name kPortName. Opened by that name, each exchange goes
// straight to the controller, paced like the serial line at the baud rate it
// was opened with and retried as on a port; "OUT" at exit reaches the
// controller as stray bytes. Every other name is a real serial port. For a
// program that polls a simulated controller where no pty is to be had
// (Windows), with the same master on the same shell.
class SimulatedPortMaster final : public ModbusRtuMaster {
 public:
  static constexpr const char* kPortName = "SIMULATED";

  explicit SimulatedPortMaster(SimulatedController& controller)
      : controller_(controller), line_(controller) {}

  bool isOpen() const override { return simulatedOpen_ || ModbusRtuMaster::isOpen(); }
  void close() override;
  int open(const std::string& portName, int baudRate, int dataBits, int stopBits,
           int parity) override;
  void sendExitCommand(const ExitCommandWindow& window, const std::string& portName,
                       int baudRate) override;

 protected:
  int transactOnce(int slave, int function, const std::uint8_t* request, int requestLength,
                   std::uint8_t* reply, int replyLength) override;

 private:
  SimulatedController& controller_;
  LoopbackMaster line_;
  bool simulatedOpen_ = false;
};

}  // namespace vs::sim
