#include "link/modbus_serial_master.h"

namespace vs {

ModbusSerialMaster::~ModbusSerialMaster() { port_.close(); }

bool ModbusSerialMaster::isOpen() const { return port_.isOpen(); }

void ModbusSerialMaster::close() { port_.close(); }

int ModbusSerialMaster::transact(int slave, int function, const std::uint8_t* request,
                                 int requestLength, std::uint8_t* reply, int replyLength) {
  int attemptsLeft = retries_;
  if (!isOpen()) return MODBUS_WRONG_STATE;
  for (int attempt = 1;; ++attempt) {
    recorder_.setAttempt(attempt);
    const int result = transactOnce(slave, function, request, requestLength, reply, replyLength);
    const bool retryable = result == MODBUS_CRC_ERROR || result == MODBUS_ADDRESS_MISMATCH ||
                           result == MODBUS_REPLY_TIMEOUT;
    if (!retryable || attemptsLeft <= 0) return result;
    if (stopRetries_ != nullptr && stopRetries_->load()) return result;
    --attemptsLeft;
  }
}

int ModbusSerialMaster::open(const std::string& portName, int baudRate) {
  return open(portName, baudRate, 8, 1, 0);
}

int ModbusSerialMaster::open(const std::string& portName, int baudRate, int dataBits, int stopBits,
                             int parity) {
  if (isOpen()) return MODBUS_WRONG_STATE;
  if (dataBits != 7 && dataBits != 8) return MODBUS_BAD_ARGUMENT;
  const int opened = port_.open(portName);
  if (opened == SERIAL_ACCESS_DENIED) return MODBUS_PORT_IN_USE;
  if (opened != SERIAL_OK) {
    // A port that opened but refused its first line settings is released too:
    // a failed open never leaves the port held.
    port_.close();
    return MODBUS_PORT_OPEN_FAILED;
  }
  if (port_.configure(baudRate, dataBits, stopBits, parity, 0) != SERIAL_OK) {
    return MODBUS_BAD_ARGUMENT;
  }
  if (rtsControl_ != 0) port_.clearRts();
  return MODBUS_OK;
}

void ModbusSerialMaster::sendExitCommand(const ExitCommandWindow& window,
                                         const std::string& portName, int baudRate) {
  SendExitCommand(window, portName, baudRate, EXIT_COMMAND_OUT);
}

int ModbusSerialMaster::setRtsDelay(int milliseconds) {
  if (milliseconds < 0 || milliseconds > 100000) return MODBUS_BAD_ARGUMENT;
  if (isOpen()) return MODBUS_WRONG_STATE;
  rtsDelay_ = milliseconds;
  rtsControl_ = milliseconds != 0 ? 1 : 0;
  return MODBUS_OK;
}

}  // namespace vs
