#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

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
//
// Paced at a baud rate, each exchange also takes the time it would on that
// line, so that a program polling it keeps a real line's rhythm.
class LoopbackMaster : public ModbusMaster {
 public:
  using Pause = std::function<void(std::chrono::nanoseconds)>;

  explicit LoopbackMaster(SimulatedController& controller)
      : controller_(controller), slave_(controller) {}

  // From now on every exchange pauses for its line time at `baud` (0: never):
  // the silence before the request, the request, the slave's turnaround, a late
  // reply's delay and the reply; the whole time-out when no reply comes in time.
  void paceAt(int baud, Pause pause = sleep);

  bool isOpen() const override { return open_; }
  void close() override { open_ = false; }
  int open();
  int transact(int slave, int function, const std::uint8_t* request, int requestLength,
               std::uint8_t* reply, int replyLength) override;

 private:
  static constexpr int kFrameSize = 256;

  static void sleep(std::chrono::nanoseconds duration);
  int transactOnce(int slave, int function, const std::uint8_t* request, int requestLength,
                   std::uint8_t* reply, int replyLength);

  SimulatedController& controller_;
  RtuSlave slave_;
  bool open_ = true;
  std::chrono::nanoseconds charTime_{0};  // paced: one 10-bit character on the line
  std::chrono::nanoseconds silence_{0};   // paced: the master's wait for a quiet line
  Pause pause_;
  std::chrono::nanoseconds lineTime_{0};  // of the exchange just made, when paced
  std::chrono::steady_clock::time_point lineBusyUntil_{};
  std::uint8_t frame_[kFrameSize] = {};
};

}  // namespace vs::sim
