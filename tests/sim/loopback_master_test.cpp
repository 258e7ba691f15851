#include "sim/loopback_master.h"

#include <gtest/gtest.h>

#include "registers/register_map.h"
#include "sim/manual_clock.h"

namespace vs::sim {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

class SimLoopback : public ::testing::Test {
 protected:
  ControllerOptions frozen() {
    ControllerOptions o;
    o.clock = clock.source();
    return o;
  }
  std::vector<std::int16_t> direct(int first, int count) {
    std::vector<std::int16_t> values(static_cast<std::size_t>(count));
    controller.readRegisters(first, count, values.data());
    return values;
  }
  int read(int slave, int first, int count, std::vector<std::int16_t>& out) {
    out.assign(static_cast<std::size_t>(count), 0);
    return master.readHoldingRegisters(slave, first, out.data(), count);
  }
  int readFirmware() {
    std::vector<std::int16_t> values;
    return read(1, 28, 2, values);
  }

  ManualClock clock;
  SimulatedController controller{frozen()};
  LoopbackMaster master{controller};
};

TEST_F(SimLoopback, ReadsEveryBlockThePollAndTheSettingsUse) {
  const std::pair<int, int> blocks[] = {{12, 20},  {114, 10}, {39, 6},   {89, 2},  {112, 22},
                                        {134, 22}, {156, 22}, {178, 22}, {200, 26}};
  for (const auto& [first, count] : blocks) {
    std::vector<std::int16_t> values;
    EXPECT_EQ(read(1, first, count, values), MODBUS_OK);
    EXPECT_EQ(values, direct(first, count)) << first;
  }
  EXPECT_EQ(master.successCount(), 9);
}

TEST_F(SimLoopback, WritesLandAndTheirEffectsFollow) {
  EXPECT_EQ(master.writeSingleRegister(1, 123, -5), MODBUS_OK);
  const std::vector<std::int16_t> points = {1000, 2000, 3000, 4000, 5000};
  EXPECT_EQ(master.writeMultipleRegisters(1, 194, points.data(), 5), MODBUS_OK);
  EXPECT_EQ(direct(194, 5), points);
  EXPECT_EQ(master.writeSingleRegister(1, REG_SAVE_DATA_COMMAND, kSaveCommandValue), MODBUS_OK);
  EXPECT_EQ(controller.storedSettings()[123 - kFirstSettingsRegister], -5);

  EXPECT_EQ(master.writeSingleRegister(1, REG_MODBUS_ADDRESS, 5), MODBUS_OK);
  EXPECT_EQ(readFirmware(), MODBUS_REPLY_TIMEOUT);
  std::vector<std::int16_t> values;
  EXPECT_EQ(read(5, 28, 2, values), MODBUS_OK);
  EXPECT_EQ(master.writeSingleRegister(5, REG_MODBUS_ADDRESS, 0), MODBUS_EXCEPTION_BASE | 3);

  EXPECT_EQ(master.writeSingleRegister(0, 226, 9), MODBUS_OK);  // broadcast
  EXPECT_EQ(controller.readRegister(226), 9);
}

TEST_F(SimLoopback, CalibrationStatusFollowsTheControllersClock) {
  controller.setMode(kModeStopped);
  EXPECT_EQ(master.writeSingleRegister(1, REG_DO_SENSOR_CAL, kDefaultCalibrationStartCode),
            MODBUS_OK);
  std::vector<std::int16_t> status;
  clock.advance(seconds(30));
  EXPECT_EQ(read(1, 62, 2, status), MODBUS_OK);
  EXPECT_NE(status, (std::vector<std::int16_t>{0, 0}));
  clock.advance(seconds(45));
  EXPECT_EQ(read(1, 62, 2, status), MODBUS_OK);
  EXPECT_EQ(status, (std::vector<std::int16_t>{0, 0}));
}

TEST_F(SimLoopback, EachFaultGivesTheResultTheRtuMasterWouldGive) {
  auto& faults = controller.faults();
  const std::pair<FaultKind, int> expected[] = {
      {FaultKind::NoReply, MODBUS_REPLY_TIMEOUT},
      {FaultKind::WrongCrc, MODBUS_CRC_ERROR},
      {FaultKind::WrongAddress, MODBUS_ADDRESS_MISMATCH},
      {FaultKind::Exception, MODBUS_EXCEPTION_BASE | 4},
      {FaultKind::LateReply, MODBUS_REPLY_TIMEOUT},
      {FaultKind::Garbage, MODBUS_CRC_ERROR},
      {FaultKind::PartialFrame, MODBUS_REPLY_TIMEOUT},
  };
  for (const auto& [kind, result] : expected) {
    faults.injectNext(kind, 1);
    EXPECT_EQ(readFirmware(), result) << faultName(kind);
    EXPECT_EQ(readFirmware(), MODBUS_OK) << "after " << faultName(kind);
  }

  FaultSettings settings;
  settings.lateBy = milliseconds(400);  // within the master's time-out
  faults.setSettings(settings);
  faults.injectNext(FaultKind::LateReply, 1);
  EXPECT_EQ(readFirmware(), MODBUS_OK);

  faults.setSilent(true);
  EXPECT_EQ(readFirmware(), MODBUS_REPLY_TIMEOUT);
  faults.setSilent(false);
  EXPECT_EQ(readFirmware(), MODBUS_OK);
}

TEST_F(SimLoopback, ADeviceThatKeepsTalkingHoldsTheLineUntilItStops) {
  FaultSettings settings;
  settings.babble = seconds(3);
  controller.faults().setSettings(settings);
  controller.faults().injectNext(FaultKind::Continuous, 1);
  EXPECT_EQ(readFirmware(), MODBUS_CRC_ERROR);
  EXPECT_EQ(readFirmware(), MODBUS_SEND_TIMEOUT);
  clock.advance(milliseconds(2500));  // quiet again within one time-out
  EXPECT_EQ(readFirmware(), MODBUS_OK);
}

TEST_F(SimLoopback, RetriesLikeTheSerialMasterAndOnlyWhileOpen) {
  EXPECT_EQ(master.setRetries(3), MODBUS_WRONG_STATE);
  master.close();
  EXPECT_EQ(readFirmware(), MODBUS_WRONG_STATE);
  EXPECT_EQ(master.setRetries(3), MODBUS_OK);
  EXPECT_EQ(master.open(), MODBUS_OK);
  EXPECT_EQ(master.open(), MODBUS_WRONG_STATE);

  controller.faults().injectNext(FaultKind::WrongCrc, 3);
  EXPECT_EQ(readFirmware(), MODBUS_OK);
  EXPECT_EQ(master.requestCount(), 4);

  controller.faults().injectNext(FaultKind::NoReply, 4);
  EXPECT_EQ(readFirmware(), MODBUS_REPLY_TIMEOUT);
  EXPECT_EQ(master.requestCount(), 8);

  controller.faults().injectNext(FaultKind::Exception, 1);
  EXPECT_EQ(readFirmware(), MODBUS_EXCEPTION_BASE | 4);
  EXPECT_EQ(master.requestCount(), 9);
}

// At 9600 baud a character takes 10/9600 s; the master waits 5 ms for a quiet
// line, and the slave turns round after 3.5 characters.
TEST_F(SimLoopback, PacedExchangesTakeTheTimeOfTheirLine) {
  std::vector<std::chrono::nanoseconds> pauses;
  master.paceAt(9600, [&](std::chrono::nanoseconds d) { pauses.push_back(d); });
  const auto characters = [](double n) {
    return std::chrono::nanoseconds(static_cast<long long>(n * 10'000'000'000LL / 9600));
  };
  const auto near = [](std::chrono::nanoseconds a, std::chrono::nanoseconds b) {
    return std::chrono::abs(a - b) < std::chrono::microseconds(10);
  };
  std::vector<std::int16_t> values;
  ASSERT_EQ(read(1, 12, 20, values), MODBUS_OK);  // 8 bytes out, 45 back
  ASSERT_EQ(pauses.size(), 1u);
  EXPECT_TRUE(near(pauses[0], milliseconds(5) + characters(8 + 3.5 + 45))) << pauses[0].count();

  controller.faults().injectNext(FaultKind::LateReply, 1);  // 1500 ms late: never in time
  EXPECT_EQ(read(1, 12, 20, values), MODBUS_REPLY_TIMEOUT);
  EXPECT_TRUE(near(pauses[1], milliseconds(5) + characters(8) + seconds(1))) << pauses[1].count();

  EXPECT_EQ(master.writeSingleRegister(0, 150, 7), MODBUS_OK);  // a broadcast: no reply
  EXPECT_TRUE(near(pauses[2], milliseconds(5) + characters(8))) << pauses[2].count();
}

}  // namespace
}  // namespace vs::sim
