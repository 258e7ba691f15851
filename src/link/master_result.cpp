#include "link/master_result.h"

namespace vs {

const char* masterResultName(int result) {
  switch (result) {
    case MODBUS_OK: return "MODBUS_OK";
    case MODBUS_BAD_ARGUMENT: return "MODBUS_BAD_ARGUMENT";
    case MODBUS_WRONG_STATE: return "MODBUS_WRONG_STATE";
    case MODBUS_IO_ERROR: return "MODBUS_IO_ERROR";
    case MODBUS_PORT_OPEN_FAILED: return "MODBUS_PORT_OPEN_FAILED";
    case MODBUS_PORT_IN_USE: return "MODBUS_PORT_IN_USE";
    case MODBUS_CRC_ERROR: return "MODBUS_CRC_ERROR";
    case MODBUS_ADDRESS_MISMATCH: return "MODBUS_ADDRESS_MISMATCH";
    case MODBUS_BAD_REPLY: return "MODBUS_BAD_REPLY";
    case MODBUS_REPLY_TIMEOUT: return "MODBUS_REPLY_TIMEOUT";
    case MODBUS_SEND_TIMEOUT: return "MODBUS_SEND_TIMEOUT";
    case MODBUS_CANCELLED: return "MODBUS_CANCELLED";
    case MODBUS_EXCEPTION_BASE | 1: return "MODBUS_EXCEPTION_ILLEGAL_FUNCTION";
    case MODBUS_EXCEPTION_BASE | 2: return "MODBUS_EXCEPTION_ILLEGAL_DATA_ADDRESS";
    case MODBUS_EXCEPTION_BASE | 3: return "MODBUS_EXCEPTION_ILLEGAL_DATA_VALUE";
    case MODBUS_EXCEPTION_BASE | 4: return "MODBUS_EXCEPTION_SLAVE_DEVICE_FAILURE";
    default: break;
  }
  // The exception code is a whole byte OR'ed into 0xA0.
  if (result >= MODBUS_EXCEPTION_BASE && result <= 0xFF) return "MODBUS_EXCEPTION";
  return "MODBUS_UNKNOWN_RESULT";
}

std::string masterResultText(int result) {
  return std::string(masterResultName(result)) + " (" + std::to_string(result) + ")";
}

}  // namespace vs
