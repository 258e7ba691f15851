#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/modbus_master.h"

namespace vs::test {

// One request as it went to the line.
struct RecordedRequest {
  int slave = 0;
  int function = 0;
  int firstRegister = 0;  // 1-based
  int count = 0;
  std::vector<std::int16_t> values;  // written values, or those a read brought
  int result = 0;
  // "3:112x22" for a read, "6:123=2500" for a single write, "16:112x22" for a block write.
  std::string text() const;
};

// A master that records every request and forwards it to another master, so
// a test sees the register traffic (which registers, which values, which order,
// which function code, which slave) of whatever it runs.
class RecordingMaster : public ModbusMaster {
 public:
  explicit RecordingMaster(ModbusMaster& line) : line_(line) {}

  bool isOpen() const override { return line_.isOpen(); }
  int transact(int slave, int function, const std::uint8_t* request, int requestLength,
               std::uint8_t* reply, int replyLength) override;

  // Called before each request goes out, with its number counted from 1 over
  // the master's life (clear() does not reset it); a test can stage a fault.
  std::function<void(std::size_t number)> beforeRequest;
  std::size_t sent = 0;

  std::vector<RecordedRequest> requests;
  // The requests as text, or only those of one function code.
  std::vector<std::string> texts(int function = 0) const;
  void clear() { requests.clear(); }

 private:
  ModbusMaster& line_;
};

}  // namespace vs::test
