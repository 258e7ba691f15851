#pragma once

#include <atomic>
#include <string>

#include "link/modbus_master.h"
#include "link/send_exit_command.h"
#include "link/serial_port.h"

namespace vs {

// The serial-line layer of the master: owns the port, the optional RTS
// turnaround and the retry loop. Subclasses frame one request/reply cycle in
// transactOnce().
class ModbusSerialMaster : public ModbusMaster {
 public:
  ~ModbusSerialMaster() override;

  bool isOpen() const override;
  void close() override;
  // Tries a request up to retries + 1 times while the reply is missing,
  // corrupt or from another slave; every other result is returned at once.
  int transact(int slave, int function, const std::uint8_t* request, int requestLength,
               std::uint8_t* reply, int replyLength) override;

  // 8 data bits, 1 stop bit, no parity.
  virtual int open(const std::string& portName, int baudRate);
  // 0, or 1 (bad setting; a refused line setting leaves the port open for the
  // caller to close), 2 (already open), 66 (cannot open), 67 (port in use).
  virtual int open(const std::string& portName, int baudRate, int dataBits, int stopBits,
                   int parity);
  // A nonzero delay raises RTS while sending and keeps it up that long after
  // the frame has drained. 0 to 100000 ms; only while closed.
  virtual int setRtsDelay(int milliseconds);

  int rtsDelay() const { return rtsDelay_; }

  // Tells the controller on `portName` that the master is leaving, once the
  // port is closed: "OUT" through the serial command stream (SendExitCommand).
  virtual void sendExitCommand(const ExitCommandWindow& window, const std::string& portName,
                               int baudRate);

  // While `flag` is set, a failed attempt is not retried: whoever waits for
  // the request has asked to stop, and the attempt in hand is the last.
  void stopRetriesWhen(const std::atomic<bool>* flag) { stopRetries_ = flag; }

 protected:
  virtual int transactOnce(int slave, int function, const std::uint8_t* request, int requestLength,
                           std::uint8_t* reply, int replyLength) = 0;

  SerialPort port_;
  std::int32_t rtsControl_ = 0;
  std::int32_t rtsDelay_ = 0;
  const std::atomic<bool>* stopRetries_ = nullptr;
};

}  // namespace vs
