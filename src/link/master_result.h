#pragma once

#include <string>

// Result codes of every Modbus master operation. 0 is success; callers test
// zero or nonzero, and the command-line tool prints the name.
namespace vs {

enum MasterResult : int {
  MODBUS_OK = 0,
  MODBUS_BAD_ARGUMENT = 1,
  MODBUS_WRONG_STATE = 2,
  MODBUS_IO_ERROR = 65,
  MODBUS_PORT_OPEN_FAILED = 66,
  MODBUS_PORT_IN_USE = 67,
  MODBUS_CRC_ERROR = 129,
  MODBUS_ADDRESS_MISMATCH = 130,
  MODBUS_BAD_REPLY = 131,
  MODBUS_REPLY_TIMEOUT = 132,
  MODBUS_SEND_TIMEOUT = 133,
  // Not sent: the sequence it belonged to was stopped on request.
  MODBUS_CANCELLED = 134,
  MODBUS_EXCEPTION_BASE = 0xA0,  // OR'ed with the slave's exception code
};

// "MODBUS_REPLY_TIMEOUT", "MODBUS_EXCEPTION_BASE+2" and so on; never null.
const char* masterResultName(int result);
// The slave answered, with an exception: it refused the request.
inline bool isExceptionReply(int result) {
  return result > MODBUS_EXCEPTION_BASE && result <= 0xFF;
}

// "MODBUS_REPLY_TIMEOUT (132)": the name and the number, as failures are reported.
std::string masterResultText(int result);

}  // namespace vs
