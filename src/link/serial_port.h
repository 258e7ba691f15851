#pragma once

#include <cstdint>
#include <string>

namespace vs {

// Result codes of SerialPort operations; the Modbus master maps them to its own.
enum SerialResult : int {
  SERIAL_OK = 0,
  SERIAL_BAD_SETTING = 4353,       // a line setting out of range, or refused by the system
  SERIAL_SYSTEM_ERROR = 4354,      // a system call failed; also a hang-up of the line
  SERIAL_NOT_FOUND = 4355,         // no port of that name
  SERIAL_ACCESS_DENIED = 4356,     // the port is held by another program
  SERIAL_NOT_OPEN = 4357,          // the operation needs an open port
  SERIAL_TIMEOUT = 4358,           // fewer bytes moved than asked for
  SERIAL_HANDSHAKE_ACTIVE = 4360,  // not allowed while hardware handshake is on
};

// A blocking serial port for one owner on one thread. Every read and write has a
// total time-out of its own (no inter-byte time-out), so no setting carries over
// from one call to the next.
//
// Port names: on Windows the system's ("COM3"). On POSIX a name starting with '/'
// is a device path, "COMn" is /dev/ttyS(n-1), and any other plain name is looked
// up in /dev. The port is held exclusively while open, and the line settings it
// had before are put back by close().
class SerialPort {
 public:
  SerialPort() = default;
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  bool isOpen() const { return handle_ != kInvalidHandle; }
  // Opens exclusively and sets 9600 baud, 8 data bits, 1 stop bit, no parity,
  // no handshake. An open port is closed first.
  int open(const std::string& name);
  // dataBits 7 or 8; stopBits 1 or 2; parity 0 none, 1 odd, 2 even; handshake 0
  // none, 1 RTS/CTS. A refused setting leaves the line as it was.
  int configure(int baudRate, int dataBits, int stopBits, int parity, int handshake);
  void close();

  // SERIAL_TIMEOUT when fewer than `count` bytes moved within `timeoutMs`; the
  // bytes that did arrive are at the start of `data` (`received` says how
  // many). A hang-up of the line ends the call at once with SERIAL_SYSTEM_ERROR.
  int write(const std::uint8_t* data, int count, int timeoutMs);
  int read(std::uint8_t* data, int count, int timeoutMs, int* received = nullptr);
  // Takes up to `capacity` bytes that have already arrived, without waiting.
  int readPending(std::uint8_t* data, int capacity, int* received);
  int purge();       // discards both directions' buffers
  int purgeInput();  // discards what has arrived and not been read
  int drain();       // waits until everything written is on the line
  int setRts();
  int clearRts();

  int baudRate() const { return baudRate_; }
  int handshake() const { return handshake_; }

 private:
  // A file descriptor or a Win32 HANDLE; -1 is invalid for both.
  static constexpr std::intptr_t kInvalidHandle = -1;
  // Room for the platform's line-state record (termios or DCB).
  static constexpr std::size_t kLineStateSize = 128;

  int setRtsLine(bool raised);

  std::int32_t baudRate_ = 0;
  std::int32_t handshake_ = 0;
  std::intptr_t handle_ = kInvalidHandle;
  // The line settings found at open, put back at close.
  alignas(8) unsigned char savedLine_[kLineStateSize] = {};
};

}  // namespace vs
