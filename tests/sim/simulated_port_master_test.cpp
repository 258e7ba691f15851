#include "sim/simulated_port_master.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>

#include "sim/manual_clock.h"

namespace vs::sim {
namespace {

class SimPortMaster : public ::testing::Test {
 protected:
  ControllerOptions frozen() {
    ControllerOptions o;
    o.clock = clock.source();
    return o;
  }
  int openSimulated(int baud = 9600) {
    return master.open(SimulatedPortMaster::kPortName, baud, 8, 1, 0);
  }
  int readFirmware() {
    std::array<std::int16_t, 2> values{};
    return master.readHoldingRegisters(1, 28, values.data(), 2);
  }

  ManualClock clock;
  SimulatedController controller{frozen()};
  SimulatedPortMaster master{controller};
};

TEST_F(SimPortMaster, ItsOwnNameOpensTheControllerAndEveryOtherNameIsASerialPort) {
  EXPECT_EQ(master.open("/dev/no-such-port", 9600, 8, 1, 0), MODBUS_PORT_OPEN_FAILED);
  EXPECT_FALSE(master.isOpen());
  EXPECT_EQ(readFirmware(), MODBUS_WRONG_STATE);

  ASSERT_EQ(openSimulated(), MODBUS_OK);
  EXPECT_TRUE(master.isOpen());
  EXPECT_EQ(openSimulated(), MODBUS_WRONG_STATE);
  EXPECT_EQ(master.setRetries(3), MODBUS_WRONG_STATE);  // settings only while closed
  std::array<std::int16_t, 2> firmware{};
  EXPECT_EQ(master.readHoldingRegisters(1, 28, firmware.data(), 2), MODBUS_OK);
  EXPECT_EQ(firmware[0], 462);
  EXPECT_EQ(master.writeSingleRegister(1, 123, 2500), MODBUS_OK);
  EXPECT_EQ(controller.readRegister(123), 2500);
  EXPECT_EQ(master.requestCount(), 2);
  EXPECT_EQ(master.successCount(), 2);

  master.close();
  EXPECT_FALSE(master.isOpen());
  EXPECT_EQ(readFirmware(), MODBUS_WRONG_STATE);
}

// Twenty registers at 9600 baud: an 8-byte request and a 45-byte reply, 10
// bits each, besides the silences. The pause is a real sleep, so it lasts
// at least that long however busy the machine is.
TEST_F(SimPortMaster, ExchangesTakeTheirLineTime) {
  ASSERT_EQ(openSimulated(), MODBUS_OK);
  const auto start = std::chrono::steady_clock::now();
  std::array<std::int16_t, 20> block{};
  ASSERT_EQ(master.readHoldingRegisters(1, 12, block.data(), 20), MODBUS_OK);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(53));
}

TEST_F(SimPortMaster, MissingRepliesAreRetriedUntilAStopIsAskedFor) {
  ASSERT_EQ(master.setTimeout(20), MODBUS_OK);
  ASSERT_EQ(master.setRetries(2), MODBUS_OK);
  ASSERT_EQ(openSimulated(), MODBUS_OK);
  controller.faults().injectNext(FaultKind::NoReply, 2);
  EXPECT_EQ(readFirmware(), MODBUS_OK);
  EXPECT_EQ(master.requestCount(), 3);

  std::atomic<bool> stop{true};
  master.stopRetriesWhen(&stop);
  controller.faults().injectNext(FaultKind::NoReply, 1);
  EXPECT_EQ(readFirmware(), MODBUS_REPLY_TIMEOUT);
  EXPECT_EQ(master.requestCount(), 4);
}

TEST_F(SimPortMaster, OutAtExitReachesTheControllerOnItsOwnPortOnly) {
  ASSERT_EQ(openSimulated(), MODBUS_OK);
  master.close();
  std::string warned;
  ExitCommandWindow window;
  window.warn = [&warned](const std::string& text, const std::string&) { warned = text; };
  master.sendExitCommand(window, SimulatedPortMaster::kPortName, 9600);
  EXPECT_EQ(controller.strayBytes(), "OUT");
  EXPECT_EQ(warned, "");

  // Another port goes through the serial command stream, which says when
  // the port will not open.
  master.sendExitCommand(window, "/dev/no-such-port", 9600);
  EXPECT_EQ(controller.strayBytes(), "OUT");
  EXPECT_NE(warned, "");
}

}  // namespace
}  // namespace vs::sim
