#pragma once

#include <termios.h>

#include <chrono>
#include <string>
#include <thread>

#include "sim/rtu_slave.h"
#include "sim/simulated_controller.h"

namespace vs::sim {

class FrameAssembler;

struct LineOptions {
  // On a new pty: the rate at which requests come in and replies go out
  // (0: at once). On a device: its line speed (0: 9600); the UART paces it.
  int baud = 0;
  std::string device;  // empty: create a pty
};

// Serves a SimulatedController on a serial line from a thread of its own:
// a new pseudo-terminal in raw mode (the program under test opens path()), or
// a given serial device. Modbus frames get the controller's replies; bytes
// outside frames are handed to the controller's stray-byte record.
class PtySimulator {
 public:
  PtySimulator(SimulatedController& controller, LineOptions options = {});
  ~PtySimulator();
  PtySimulator(const PtySimulator&) = delete;
  PtySimulator& operator=(const PtySimulator&) = delete;

  // Opens the line and starts serving; 0, or the errno value of what failed
  // (EINVAL for a baud rate the line cannot take).
  int start();
  // Returns promptly, also in the middle of a slow reply.
  void stop();
  // The device the master opens.
  const std::string& path() const { return path_; }

 private:
  using TimePoint = std::chrono::steady_clock::time_point;
  using Duration = std::chrono::steady_clock::duration;

  int openPty();
  int openDevice();
  void closeLine();
  void serve();
  void serveUntilStopped(FrameAssembler& assembler);
  void settleRest(FrameAssembler& assembler);
  // false when told to stop meanwhile.
  bool waitUntil(TimePoint when);
  bool transmit(const Transmission& reply, TimePoint requestEnd);
  bool send(const std::uint8_t* bytes, std::size_t count);

  SimulatedController& controller_;
  RtuSlave slave_;
  LineOptions options_;
  Duration charTime_{};  // paced line time of one character, else 0
  Duration silence_{};
  std::string path_;
  int line_ = -1;
  int keepOpen_ = -1;  // the pty's own end, so that a master closing it causes no hang-up
  int wake_[2] = {-1, -1};
  bool restoreLine_ = false;
  termios savedLine_{};
  std::thread thread_;
};

}  // namespace vs::sim
