#pragma once

#include <string>

#include "link/modbus_serial_master.h"

namespace vs {

// Modbus RTU on the serial line: binary frames with a CRC-16, delimited by
// line silence. One request/reply cycle blocks the caller for at most the
// silence wait and one time-out for the write and two for the reply.
class ModbusRtuMaster : public ModbusSerialMaster {
 public:
  static constexpr int kFrameSize = 256;

  // Line silence before a request: four 11-bit characters plus half a
  // millisecond, rounded; at least 1 ms (5 ms at 9600 baud).
  static int silenceIntervalFor(int baudRate);

  int open(const std::string& portName, int baudRate) override;
  // Only 8 data bits (1 otherwise). The silence interval follows the baud
  // rate even when opening fails.
  int open(const std::string& portName, int baudRate, int dataBits, int stopBits,
           int parity) override;

  int silenceInterval() const { return silenceInterval_; }

 protected:
  int transactOnce(int slave, int function, const std::uint8_t* request, int requestLength,
                   std::uint8_t* reply, int replyLength) override;

 private:
  int waitForSilence();
  void discardInput();

  std::int32_t silenceInterval_ = 1;
  std::uint8_t frame_[kFrameSize] = {};
};

}  // namespace vs
