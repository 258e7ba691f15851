#include "scripted_slave.h"

#include "link/crc16.h"

namespace vs::test {

Bytes withCrc(Bytes body) {
  const std::uint16_t crc = crc16(body.data(), body.size());
  body.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  body.push_back(static_cast<std::uint8_t>(crc >> 8));
  return body;
}

ScriptedSlave::ScriptedSlave(PtyPair& line, std::size_t requestLength, std::vector<Reply> replies)
    : thread_([this, &line, requestLength, replies = std::move(replies)] {
        for (const Reply& reply : replies) {
          requests_.push_back(line.read(requestLength, std::chrono::seconds(5)));
          if (reply.hangUp) {
            line.closeMaster();
            return;
          }
          if (!reply.oneByteAtATime) {
            line.write(reply.bytes);
            continue;
          }
          for (std::uint8_t byte : reply.bytes) {
            line.write({byte});
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
          }
        }
      }) {}

ScriptedSlave::~ScriptedSlave() {
  if (thread_.joinable()) thread_.join();
}

const std::vector<Bytes>& ScriptedSlave::requests() {
  if (thread_.joinable()) thread_.join();
  return requests_;
}

void MasterOnPty::reopen(int timeoutMs, int retries) {
  master.close();
  ASSERT_EQ(master.setTimeout(timeoutMs), MODBUS_OK);
  ASSERT_EQ(master.setRetries(retries), MODBUS_OK);
  ASSERT_EQ(master.open(line.path(), 9600), MODBUS_OK);
}

}  // namespace vs::test
