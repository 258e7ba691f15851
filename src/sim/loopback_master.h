#pragma once

#include <chrono>
#include <cstdint>

#include "link/modbus_master.h"
#include "sim/rtu_slave.h"
#include "sim/simulated_controller.h"

namespace vs::sim {

// A Modbus master wired straight to a SimulatedController in the same process:
// each request is framed as on the line, handed to the controller's RTU slave,
// and its reply checked as the RTU master checks it (CRC 129, address or
// function 130, exception 0xA0 | code, nothing in time 132), with the same
// retries. Nothing sleeps: a late reply is judged against the time-out, and a
// device that keeps transmitting blocks the next request (133) for as long as
// the controller's clock says it talks.
//
// It starts open; close() makes transact() refuse with 2 until open(), and the
// setters work only while closed, as on a serial master.
class LoopbackMaster : public ModbusMaster {
 public:
  explicit LoopbackMaster(SimulatedController& controller)
      : controller_(controller), slave_(controller) {}

  bool isOpen() const override { return open_; }
  void close() override { open_ = false; }
  int open();
  int transact(int slave, int function, const std::uint8_t* request, int requestLength,
               std::uint8_t* reply, int replyLength) override;

 private:
  static constexpr int kFrameSize = 256;

  int transactOnce(int slave, int function, const std::uint8_t* request, int requestLength,
                   std::uint8_t* reply, int replyLength);

  SimulatedController& controller_;
  RtuSlave slave_;
  bool open_ = true;
  std::chrono::steady_clock::time_point lineBusyUntil_{};
  std::uint8_t frame_[kFrameSize] = {};
};

}  // namespace vs::sim
