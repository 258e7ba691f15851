#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "registers/register_map.h"
#include "sim/manual_clock.h"
#include "sim/rtu_slave.h"
#include "sim/simulated_controller.h"
#include "support/rtu_frames.h"
#include "support/temp_dir.h"

namespace vs::sim {
namespace {

using std::chrono::seconds;
using test::Bytes;
using test::readRequest;
using test::registersOf;
using test::writeMultipleRequest;
using test::writeSingleRequest;

class SimController : public ::testing::Test {
 protected:
  ControllerOptions options() {
    ControllerOptions o;
    o.clock = clock.source();
    return o;
  }
  Bytes ask(SimulatedController& c, const Bytes& request) {
    return RtuSlave(c).respond(request.data(), request.size()).bytes;
  }
  Bytes ask(const Bytes& request) { return ask(controller, request); }
  std::vector<std::int16_t> read(int first, int count, int slave = 1) {
    const Bytes reply = ask(readRequest(slave, first, count));
    EXPECT_TRUE(test::crcOk(reply));
    EXPECT_EQ(reply.size(), 5u + 2 * count);
    return registersOf(reply);
  }
  std::int16_t reg(int number) { return read(number, 1).at(0); }

  ManualClock clock;
  SimulatedController controller{options()};
};

TEST_F(SimController, AnswersThePollBlocksAndTheSettingsBlocks) {
  const auto liveA = read(12, 20);
  EXPECT_EQ(liveA[28 - 12], 462);
  EXPECT_EQ(read(114, 10)[0], 720);  // o2_sp
  EXPECT_EQ(read(39, 6)[43 - 39], kModeAfControl);
  EXPECT_EQ(read(89, 2).size(), 2u);

  std::vector<std::int16_t> settings;
  for (const auto& block : kSettingsBlocks) {
    const auto values = read(block.firstRegister, block.count);
    settings.insert(settings.end(), values.begin(), values.end());
  }
  ASSERT_EQ(settings.size(), static_cast<std::size_t>(kSettingsRegisterCount));
  const auto at = [&](std::string_view name) { return settings[*positionOfName(name)]; };
  EXPECT_EQ(at("max_pressure"), 24000);
  EXPECT_EQ(at("min_pressure"), -8000);
  EXPECT_EQ(at("modbus_address"), 1);
  EXPECT_EQ(at("cal_timer_start"), 60);
  EXPECT_EQ(at("afr_factor"), 172);
  EXPECT_GT(at("serial_number"), 0);
  EXPECT_GT(at("default_pressure"), 1000);
}

TEST_F(SimController, LiveValuesMoveLikeARunningEngineAndStopWithIt) {
  std::set<std::int16_t> pressures;
  for (int tick = 0; tick < 600; ++tick) {
    const auto a = read(12, 20);
    const auto d = read(89, 2);
    EXPECT_GE(a[0], 0);  // O2 feedback, mV
    EXPECT_LE(a[0], 1200);
    EXPECT_GE(a[19 - 12], -8000);  // pressure feedback within the valve's range
    EXPECT_LE(a[19 - 12], 24000);
    EXPECT_GE(a[21 - 12], 0);  // actuator
    EXPECT_LE(a[21 - 12], 4000);
    EXPECT_GE(a[26 - 12], 400);  // 4-20 mA in hundredths
    EXPECT_LE(a[26 - 12], 2000);
    EXPECT_GT(d[0], 500);  // catalyst temperatures, F
    EXPECT_GT(d[1], 500);
    pressures.insert(a[19 - 12]);
    clock.advance(std::chrono::milliseconds(200));
  }
  EXPECT_GT(pressures.size(), 50u);

  controller.setMode(kModeStopped);
  EXPECT_EQ(reg(43), 0);
  EXPECT_EQ(reg(21), 0);
  EXPECT_EQ(reg(20), 0);
}

TEST_F(SimController, WarmUpTimerRunsDownFromItsSetting) {
  EXPECT_EQ(reg(39), 120);
  clock.advance(seconds(30));
  EXPECT_EQ(reg(39), 90);
  clock.advance(seconds(500));
  EXPECT_EQ(reg(39), 0);
}

TEST_F(SimController, SameSeedAndTimeGiveTheSameValuesAnotherSeedOthers) {
  SimulatedController twin(options());
  auto seeded = options();
  seeded.seed = 99;
  SimulatedController other(seeded);
  bool differs = false;
  for (int tick = 0; tick < 20; ++tick) {
    const Bytes request = readRequest(1, 12, 20);
    EXPECT_EQ(ask(request), ask(twin, request));
    differs = differs || ask(request) != ask(other, request);
    clock.advance(std::chrono::milliseconds(700));
  }
  EXPECT_TRUE(differs);
}

TEST_F(SimController, SingleAndMultipleWritesEchoAndStick) {
  const Bytes single = writeSingleRequest(1, 123, -5);
  EXPECT_EQ(ask(single), single);
  EXPECT_EQ(reg(123), -5);

  const std::vector<std::int16_t> block = {1, -1, 32767, -32768};
  const Bytes reply = ask(writeMultipleRequest(1, 194, block));
  EXPECT_EQ(reply, test::withCrc({1, 16, 0, 193, 0, 4}));
  EXPECT_EQ(read(194, 4), block);

  const auto log = controller.writeLog();
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log[0].reg, 123);
  EXPECT_EQ(log[0].function, 6);
  EXPECT_EQ(log[4].reg, 197);
  EXPECT_EQ(log[4].value, -32768);
}

TEST_F(SimController, RefusesWhatItCannotDo) {
  const auto exceptionOf = [&](const Bytes& request) {
    const Bytes reply = ask(request);
    EXPECT_EQ(reply.size(), 5u);
    EXPECT_TRUE(test::crcOk(reply));
    return std::pair<int, int>(reply.at(1), reply.at(2));
  };
  EXPECT_EQ(exceptionOf(test::withCrc({1, 5, 0, 1, 0xFF, 0})), std::pair(0x85, 1));
  EXPECT_EQ(exceptionOf(readRequest(1, 400, 2)), std::pair(0x83, 2));
  EXPECT_EQ(exceptionOf(readRequest(1, 0x10000, 1)), std::pair(0x83, 2));
  EXPECT_EQ(exceptionOf(readRequest(1, 1, 126)), std::pair(0x83, 3));
  EXPECT_EQ(exceptionOf(writeSingleRequest(1, 401, 7)), std::pair(0x86, 2));
  Bytes badCount = {1, 16, 0, 111, 0, 2, 3, 0, 1, 0, 2};
  EXPECT_EQ(exceptionOf(test::withCrc(badCount)), std::pair(0x90, 3));
  EXPECT_EQ(read(400, 1).size(), 1u);
  EXPECT_EQ(read(1, 125).size(), 125u);
}

TEST_F(SimController, StaysQuietForBadFramesAndOtherSlavesAndObeysBroadcasts) {
  Bytes spoilt = readRequest(1, 12, 20);
  spoilt.back() ^= 1;
  EXPECT_TRUE(ask(spoilt).empty());
  EXPECT_TRUE(ask(readRequest(2, 12, 20)).empty());

  EXPECT_TRUE(ask(writeSingleRequest(0, 150, 33)).empty());
  EXPECT_TRUE(ask(writeMultipleRequest(0, 151, {44, 55})).empty());
  EXPECT_TRUE(ask(readRequest(0, 150, 1)).empty());
  EXPECT_EQ(read(150, 3), (std::vector<std::int16_t>{33, 44, 55}));
}

TEST_F(SimController, SaveCommandStoresTheWorkingSettings) {
  ask(writeSingleRequest(1, 123, 4321));
  EXPECT_NE(controller.storedSettings()[123 - 112], 4321);
  ask(writeSingleRequest(1, 144, 4660));
  EXPECT_EQ(controller.saveCount(), 1);
  EXPECT_EQ(controller.storedSettings()[123 - 112], 4321);
  EXPECT_EQ(reg(144), 0);

  ask(writeSingleRequest(1, 144, 4661));
  ask(writeSingleRequest(1, 12, 4660));
  EXPECT_EQ(controller.saveCount(), 1);
  EXPECT_EQ(controller.downloadCommitCount(), 1);
}

TEST_F(SimController, SavedSettingsOutliveTheControllerInTheirFile) {
  test::TempDir dir;
  auto o = options();
  o.settingsFile = dir / "unit.dat";
  {
    SimulatedController first(o);
    EXPECT_EQ(first.settingsLoad(), SettingsLoad::Missing);
    ask(first, writeMultipleRequest(1, 194, {1500, 2500}));
    ask(first, writeSingleRequest(1, 135, 7));
    ask(first, writeSingleRequest(7, 144, 4660));
  }
  SimulatedController second(o);
  EXPECT_EQ(second.settingsLoad(), SettingsLoad::Loaded);
  EXPECT_EQ(second.slaveAddress(), 7);
  EXPECT_EQ(registersOf(ask(second, readRequest(7, 194, 2))),
            (std::vector<std::int16_t>{1500, 2500}));

  o.slaveAddress = 3;  // an address given outright wins over the stored one
  SimulatedController third(o);
  EXPECT_EQ(third.slaveAddress(), 3);
}

TEST_F(SimController, AFileItCannotReadIsLeftAloneAndAFailedSaveIsReported) {
  test::TempDir dir;
  auto o = options();
  o.settingsFile = dir / "short.dat";
  std::ofstream(o.settingsFile) << "1 2 3 ";
  SimulatedController unreadable(o);
  EXPECT_EQ(unreadable.settingsLoad(), SettingsLoad::Invalid);
  EXPECT_EQ(registersOf(ask(unreadable, readRequest(1, 132, 1)))[0], 24000);
  EXPECT_EQ(ask(unreadable, writeSingleRequest(1, 144, 4660)), test::withCrc({1, 0x86, 4}));
  std::stringstream kept;
  kept << std::ifstream(o.settingsFile).rdbuf();
  EXPECT_EQ(kept.str(), "1 2 3 ");

  o.settingsFile = dir / "no-such-folder" / "unit.dat";
  SimulatedController unwritable(o);
  const Bytes reply = ask(unwritable, writeSingleRequest(1, 144, 4660));
  EXPECT_EQ(reply, test::withCrc({1, 0x86, 4}));
  EXPECT_EQ(unwritable.saveCount(), 0);
}

TEST_F(SimController, AddressChangeTakesEffectAfterTheReply) {
  const Bytes change = writeSingleRequest(1, 135, 5);
  EXPECT_EQ(ask(change), change);  // answered from the old address
  EXPECT_TRUE(ask(readRequest(1, 28, 2)).empty());
  EXPECT_EQ(read(28, 2, 5)[0], 462);

  // An address nobody could reach is refused, and nothing of the write lands.
  EXPECT_EQ(ask(writeSingleRequest(5, 135, 0)), test::withCrc({5, 0x86, 3}));
  EXPECT_EQ(ask(writeMultipleRequest(5, 134, {99, 248})), test::withCrc({5, 0x90, 3}));
  EXPECT_EQ(controller.slaveAddress(), 5);
  EXPECT_NE(read(134, 1, 5)[0], 99);
}

TEST_F(SimController, FreeAirCalibrationReportsAfterItsTime) {
  EXPECT_NE(reg(62), 0);  // not calibrated since power-up
  controller.setMode(kModeStopped);
  ask(writeSingleRequest(1, 181, kDefaultCalibrationStartCode));
  EXPECT_EQ(reg(62), SimulatedController::kCalibrationRunning);
  clock.advance(seconds(59));
  EXPECT_NE(read(62, 2), (std::vector<std::int16_t>{0, 0}));
  clock.advance(seconds(1));
  EXPECT_EQ(read(62, 2), (std::vector<std::int16_t>{0, 0}));
  EXPECT_EQ(reg(181), 0);

  controller.setCalibrationOutcome(CalibrationOutcome::Failure);
  ask(writeSingleRequest(1, 184, 10));
  ask(writeSingleRequest(1, 181, kDefaultCalibrationStartCode));
  clock.advance(seconds(10));
  const auto failed = read(62, 2);
  EXPECT_TRUE(failed[0] != 0 || failed[1] != 0);
}

TEST_F(SimController, CalibrationNeedsTheStartCodeAndAStoppedEngine) {
  ask(writeSingleRequest(1, 181, 1234));
  EXPECT_EQ(reg(62), SimulatedController::kCalibrationNotDone);

  ask(writeSingleRequest(1, 181, kDefaultCalibrationStartCode));  // engine running
  clock.advance(seconds(120));
  EXPECT_EQ(reg(62), SimulatedController::kCalibrationFailed);

  auto o = options();
  o.calibrationStartCode = 1234;
  o.mode = kModeStopped;
  SimulatedController other(o);
  ask(other, writeSingleRequest(1, 181, 1234));
  clock.advance(seconds(60));
  EXPECT_EQ(registersOf(ask(other, readRequest(1, 62, 2))), (std::vector<std::int16_t>{0, 0}));
}

TEST_F(SimController, StoredZeroingRequestIsCarriedOutAtPowerUp) {
  ask(writeSingleRequest(1, 153, 1));
  controller.powerCycle();  // not stored: forgotten
  EXPECT_EQ(controller.transducerZeroings(), 0);
  EXPECT_EQ(reg(153), 0);

  ask(writeSingleRequest(1, 153, 1));
  ask(writeSingleRequest(1, 144, 4660));
  controller.powerCycle();
  EXPECT_EQ(controller.transducerZeroings(), 1);
  EXPECT_EQ(reg(153), 0);
  EXPECT_EQ(controller.storedSettings()[153 - 112], 0);
}

TEST_F(SimController, PowerCycleFallsBackToStoredSettingsAndAddress) {
  ask(writeSingleRequest(1, 135, 9));
  ask(writeSingleRequest(9, 123, 1111));
  controller.powerCycle();
  EXPECT_EQ(controller.slaveAddress(), 1);
  EXPECT_EQ(reg(123), 3500);
  EXPECT_EQ(reg(39), 120);  // the engine starts again
}

TEST_F(SimController, O2FeedbackFollowsTheScheduleWhenItIsOn) {
  ask(writeMultipleRequest(1, 199, {300, 300, 300, 300, 300}));
  const auto averageO2 = [&] {
    int sum = 0;
    for (int i = 0; i < 50; ++i) {
      sum += reg(12);
      clock.advance(std::chrono::milliseconds(300));
    }
    return sum / 50;
  };
  EXPECT_NEAR(averageO2(), 720, 40);  // o2_sp
  ask(writeSingleRequest(1, 204, 1));
  EXPECT_NEAR(averageO2(), 300, 40);
}

}  // namespace
}  // namespace vs::sim
