// Our master against an RTU slave we did not write: libmodbus, on the other
// end of a pty bridge. It serves every function code of ours but 7.
#include <gtest/gtest.h>
#include <modbus.h>

#include <atomic>
#include <cerrno>
#include <numeric>
#include <thread>

#include "link/modbus_rtu_master.h"
#include "support/pty_bridge.h"

namespace vs {
namespace {

constexpr int kSlave = 1;
constexpr int kTableSize = 2000;

class LibmodbusSlave {
 public:
  explicit LibmodbusSlave(const std::string& path)
      : context_(modbus_new_rtu(path.c_str(), 9600, 'N', 8, 1)),
        map_(modbus_mapping_new(kTableSize, kTableSize, kTableSize, kTableSize)) {
    if (context_ == nullptr || map_ == nullptr) return;
    modbus_set_slave(context_, kSlave);
    // Lets the serving thread look at the stop flag every 50 ms.
    modbus_set_indication_timeout(context_, 0, 50000);
    if (modbus_connect(context_) != 0) return;
    thread_ = std::thread([this] { serve(); });
  }

  ~LibmodbusSlave() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (map_ != nullptr) modbus_mapping_free(map_);
    if (context_ != nullptr) {
      modbus_close(context_);
      modbus_free(context_);
    }
  }

  bool running() const { return thread_.joinable(); }
  modbus_mapping_t& map() { return *map_; }

 private:
  void serve() {
    std::uint8_t request[MODBUS_RTU_MAX_ADU_LENGTH];
    while (!stop_) {
      const int length = modbus_receive(context_, request);
      if (length > 0) modbus_reply(context_, request, length, map_);
    }
  }

  modbus_t* context_;
  modbus_mapping_t* map_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class LibmodbusConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(slave.running());
    ASSERT_EQ(master.setTimeout(2000), MODBUS_OK);
    ASSERT_EQ(master.open(bridge.pathA(), 9600), MODBUS_OK);
    for (int i = 0; i < kTableSize; ++i) {
      slave.map().tab_registers[i] = static_cast<std::uint16_t>(1000 + i);
      slave.map().tab_input_registers[i] = static_cast<std::uint16_t>(i * 3);
      slave.map().tab_bits[i] = static_cast<std::uint8_t>(i % 3 == 0);
      slave.map().tab_input_bits[i] = static_cast<std::uint8_t>(i % 2);
    }
  }

  test::PtyBridge bridge;
  LibmodbusSlave slave{bridge.pathB()};
  ModbusRtuMaster master;
};

TEST_F(LibmodbusConformance, ReadsEveryTable) {
  std::int16_t regs[125];
  ASSERT_EQ(master.readHoldingRegisters(kSlave, 1, regs, 125), MODBUS_OK);
  EXPECT_EQ(regs[0], 1000);
  EXPECT_EQ(regs[124], 1124);
  ASSERT_EQ(master.readInputRegisters(kSlave, 11, regs, 3), MODBUS_OK);
  EXPECT_EQ(regs[2], 36);

  std::int32_t bits[2000];
  ASSERT_EQ(master.readCoils(kSlave, 1, bits, 2000), MODBUS_OK);
  EXPECT_EQ(std::accumulate(bits, bits + 2000, 0), 667);
  EXPECT_EQ(bits[1998], 1);
  EXPECT_EQ(bits[1999], 0);
  ASSERT_EQ(master.readDiscreteInputs(kSlave, 2, bits, 9), MODBUS_OK);
  EXPECT_EQ(bits[0], 1);
  EXPECT_EQ(bits[8], 1);
  EXPECT_EQ(bits[7], 0);
}

TEST_F(LibmodbusConformance, WritesLandInTheSlavesTables) {
  ASSERT_EQ(master.writeSingleRegister(kSlave, 144, 4660), MODBUS_OK);
  EXPECT_EQ(slave.map().tab_registers[143], 4660);

  std::int16_t block[100];
  for (int i = 0; i < 100; ++i) block[i] = static_cast<std::int16_t>(-i);
  ASSERT_EQ(master.writeMultipleRegisters(kSlave, 200, block, 100), MODBUS_OK);
  EXPECT_EQ(static_cast<std::int16_t>(slave.map().tab_registers[298]), -99);

  ASSERT_EQ(master.writeSingleCoil(kSlave, 2, 1), MODBUS_OK);
  EXPECT_EQ(slave.map().tab_bits[1], 1);
  std::int32_t coils[800] = {};
  coils[799] = 1;
  ASSERT_EQ(master.writeMultipleCoils(kSlave, 1001, coils, 800), MODBUS_OK);
  EXPECT_EQ(slave.map().tab_bits[1000], 0);
  EXPECT_EQ(slave.map().tab_bits[1799], 1);

  ASSERT_EQ(master.maskWriteRegister(kSlave, 10, 0x00F0, 0x0005), MODBUS_OK);
  EXPECT_EQ(slave.map().tab_registers[9], (1009 & 0x00F0) | 0x0005);

  std::int16_t readBack[4];
  const std::int16_t written[2] = {11, 22};
  ASSERT_EQ(master.readWriteMultipleRegisters(kSlave, 500, readBack, 4, 501, written, 2),
            MODBUS_OK);
  EXPECT_EQ(readBack[0], 1499);
  EXPECT_EQ(readBack[1], 11);
  EXPECT_EQ(readBack[2], 22);
}

// libmodbus discards its input for a while after an exception reply, so the
// broadcast goes first.
TEST_F(LibmodbusConformance, BroadcastsAndExceptions) {
  std::int16_t regs[2];
  ASSERT_EQ(master.writeSingleRegister(0, 7, 321), MODBUS_OK);
  // The slave answers nothing to the broadcast, but takes it before the next request.
  ASSERT_EQ(master.readHoldingRegisters(kSlave, 7, regs, 1), MODBUS_OK);
  EXPECT_EQ(regs[0], 321);

  EXPECT_EQ(master.readHoldingRegisters(kSlave, kTableSize, regs, 2), MODBUS_EXCEPTION_BASE | 2);

  master.close();
  ASSERT_EQ(master.setTimeout(200), MODBUS_OK);
  ASSERT_EQ(master.open(bridge.pathA(), 9600), MODBUS_OK);
  EXPECT_EQ(master.readHoldingRegisters(kSlave + 1, 1, regs, 1), MODBUS_REPLY_TIMEOUT);
}

}  // namespace
}  // namespace vs
