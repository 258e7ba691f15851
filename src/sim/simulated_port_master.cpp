#include "sim/simulated_port_master.h"

namespace vs::sim {

void SimulatedPortMaster::close() {
  simulatedOpen_ = false;
  ModbusRtuMaster::close();
}

int SimulatedPortMaster::open(const std::string& portName, int baudRate, int dataBits, int stopBits,
                              int parity) {
  if (portName != kPortName) {
    return ModbusRtuMaster::open(portName, baudRate, dataBits, stopBits, parity);
  }
  if (isOpen()) return MODBUS_WRONG_STATE;
  if (dataBits != 8 || baudRate <= 0) return MODBUS_BAD_ARGUMENT;
  // The loopback takes its settings while closed; its own retries stay off,
  // since the serial master's loop retries (and stops when asked to).
  line_.close();
  line_.setTimeout(timeout());
  line_.paceAt(baudRate);
  line_.open();
  simulatedOpen_ = true;
  return MODBUS_OK;
}

void SimulatedPortMaster::sendExitCommand(const ExitCommandWindow& window,
                                          const std::string& portName, int baudRate) {
  if (portName != kPortName) {
    ModbusRtuMaster::sendExitCommand(window, portName, baudRate);
    return;
  }
  static constexpr std::uint8_t kOut[] = {'O', 'U', 'T'};
  controller_.recordStrayBytes(kOut, sizeof kOut);
}

int SimulatedPortMaster::transactOnce(int slave, int function, const std::uint8_t* request,
                                      int requestLength, std::uint8_t* reply, int replyLength) {
  if (!simulatedOpen_) {
    return ModbusRtuMaster::transactOnce(slave, function, request, requestLength, reply,
                                         replyLength);
  }
  ++requestCount_;
  const int result = line_.transact(slave, function, request, requestLength, reply, replyLength);
  if (result == MODBUS_OK) ++successCount_;
  return result;
}

}  // namespace vs::sim
