#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "link/modbus_rtu_master.h"
#include "support/pending_input.h"
#include "support/pty_pair.h"

namespace vs::test {

using Bytes = std::vector<std::uint8_t>;

// The bytes followed by their Modbus CRC, low byte first.
Bytes withCrc(Bytes body);

struct Reply {
  Bytes bytes;  // sent as they are: add the CRC with withCrc()
  bool oneByteAtATime = false;
  bool hangUp = false;  // close the line instead of answering
};

// Plays the slave on the far end of a pty, on a thread of its own: for each
// scripted reply it takes one request of `requestLength` bytes, keeps it and
// answers.
class ScriptedSlave {
 public:
  ScriptedSlave(PtyPair& line, std::size_t requestLength, std::vector<Reply> replies);
  ~ScriptedSlave();
  ScriptedSlave(const ScriptedSlave&) = delete;
  ScriptedSlave& operator=(const ScriptedSlave&) = delete;

  // Waits for the end of the script; the requests as they came.
  const std::vector<Bytes>& requests();

 private:
  std::vector<Bytes> requests_;
  std::thread thread_;
};

// An RTU master at 9600 baud on a pty whose far end the test plays.
class MasterOnPty : public ::testing::Test {
 protected:
  void SetUp() override { reopen(2000, 0); }
  void reopen(int timeoutMs, int retries);
  // True when nothing (more) went out on the line.
  bool lineQuiet() { return line.drain(std::chrono::milliseconds(100)).empty(); }

  PtyPair line;
  PendingInput watch{line.path()};
  ModbusRtuMaster master;
};

}  // namespace vs::test
