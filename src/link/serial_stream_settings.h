#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vs {

// Line settings of a serial command stream: by default 9600 baud, 8 data bits,
// no parity, one stop bit.
struct SerialStreamSettings {
  SerialStreamSettings() = default;
  explicit SerialStreamSettings(std::string port) : portName(std::move(port)) {}

  SerialStreamSettings& setBaudRate(int rate) {
    baudRate = rate;
    return *this;
  }
  SerialStreamSettings& setEightDataBits() {
    dataBits = 8;
    return *this;
  }
  SerialStreamSettings& setNoParity() {
    parity = 0;
    return *this;
  }
  SerialStreamSettings& setOneStopBit() {
    stopBits = 1;
    return *this;
  }

  std::string portName;
  int baudRate = 9600;
  int dataBits = 8;
  int parity = 0;  // 0 none, 1 odd, 2 even
  int stopBits = 1;
  char eventChar = 0;  // the character a COMM_EV_RXFLAG wait looks for
};

// Line events a notification can wait for (the system's numbering).
enum CommEvent : std::uint32_t {
  COMM_EV_RXCHAR = 0x0001,  // a character arrived
  COMM_EV_RXFLAG = 0x0002,  // the event character arrived
};

// How a notification is delivered: to a thread or to a window. Both arrive
// through the request's target here.
enum CommNotifyKind : int {
  COMM_NOTIFY_THREAD = 1024,
  COMM_NOTIFY_WINDOW = 1025,
};

// Receives one line event: the events seen and 0, or 0 and the system's error
// code when the wait failed. Runs on the stream's event thread.
using CommNotifyTarget = std::function<void(std::uint32_t events, std::uint32_t error)>;

// One wait for line events, answered once through `target`.
struct CommNotifyRequest {
  int kind = COMM_NOTIFY_WINDOW;
  CommNotifyTarget target;
  std::uint32_t eventMask = COMM_EV_RXFLAG;
  char eventChar = '\n';
};

}  // namespace vs
