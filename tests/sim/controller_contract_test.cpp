// Every promise the program relies on from the controller, one row each,
// checked against the simulator through the program's own RTU master over a
// pty paced at the program's 9600 baud, with no retries.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <thread>

#include "link/modbus_rtu_master.h"
#include "link/send_exit_command.h"
#include "registers/register_map.h"
#include "sim/manual_clock.h"
#include "sim/pty_simulator.h"

namespace vs::sim {
namespace {

using std::chrono::seconds;
using Values = std::vector<std::int16_t>;

struct Bench {
  Bench() : controller(frozen(clock)), line(controller, LineOptions{9600, {}}) {}
  static ControllerOptions frozen(ManualClock& clock) {
    ControllerOptions o;
    o.clock = clock.source();
    return o;
  }
  Values read(int first, int count, int expectedResult = MODBUS_OK, int slave = 1) {
    Values values(static_cast<std::size_t>(count));
    EXPECT_EQ(master.readHoldingRegisters(slave, first, values.data(), count), expectedResult)
        << first << " x " << count;
    return values;
  }
  std::int16_t reg(int number) { return read(number, 1)[0]; }
  void write(int reg, std::int16_t value, int slave = 1) {
    EXPECT_EQ(master.writeSingleRegister(slave, reg, value), MODBUS_OK) << reg;
  }

  ManualClock clock;
  SimulatedController controller;
  PtySimulator line;
  ModbusRtuMaster master;
};

struct ContractRow {
  const char* name;
  std::function<void(Bench&)> check;
};

// Names the row in test listings and failures instead of dumping its bytes.
void PrintTo(const ContractRow& row, std::ostream* out) { *out << row.name; }

void expectWithin(Bench& b, int reg, int low, int high) {
  for (int second = 0; second < 5; ++second) {
    const int value = b.reg(reg);
    EXPECT_GE(value, low) << reg;
    EXPECT_LE(value, high) << reg;
    b.clock.advance(seconds(7));
  }
}

const ContractRow kContract[] = {
    {"PollBlocksAnswerFunction3",
     [](Bench& b) {
       b.read(12, 20);
       b.read(114, 10);
       b.read(39, 6);
       b.read(89, 2);
     }},
    {"SettingsBlocksReadAndWriteBack",
     [](Bench& b) {
       for (const auto& block : kSettingsBlocks) {
         const Values values = b.read(block.firstRegister, block.count);
         EXPECT_EQ(
             b.master.writeMultipleRegisters(1, block.firstRegister, values.data(), block.count),
             MODBUS_OK);
         EXPECT_EQ(b.read(block.firstRegister, block.count), values);
       }
     }},
    {"SettingsWrittenSingly",
     [](Bench& b) {
       b.write(123, -5);
       EXPECT_EQ(b.reg(123), -5);
     }},
    {"Register12IsO2FeedbackInMillivolts", [](Bench& b) { expectWithin(b, 12, 0, 1200); }},
    {"Registers19And20ArePressuresInThousandths",
     [](Bench& b) {
       expectWithin(b, 19, -8000, 24000);
       expectWithin(b, 20, -8000, 24000);
     }},
    {"Register21IsTheActuatorOutput", [](Bench& b) { expectWithin(b, 21, 0, 4000); }},
    {"Register26IsTheAnalogInputInHundredthsOfAMilliamp",
     [](Bench& b) { expectWithin(b, 26, 400, 2000); }},
    {"Register28IsTheFirmwareVersion", [](Bench& b) { EXPECT_EQ(b.reg(28), 462); }},
    {"Register39IsTheRunningWarmUpTimer",
     [](Bench& b) {
       const int start = b.reg(REG_WARMUP_TIMER_START);
       EXPECT_EQ(b.reg(39), start);
       b.clock.advance(seconds(20));
       EXPECT_EQ(b.reg(39), start - 20);
     }},
    {"Register43IsTheMode",
     [](Bench& b) {
       EXPECT_EQ(b.reg(43), 2);
       b.controller.setMode(kModeStopped);
       EXPECT_EQ(b.reg(43), 0);
     }},
    {"Registers89And90AreTemperaturesInF",
     [](Bench& b) {
       expectWithin(b, 89, 500, 1500);
       expectWithin(b, 90, 500, 1500);
     }},
    {"Save4660To144StoresTheSettings",
     [](Bench& b) {
       b.write(123, 2750);
       b.write(REG_SAVE_DATA_COMMAND, kSaveCommandValue);
       EXPECT_EQ(b.controller.saveCount(), 1);
       EXPECT_EQ(b.controller.storedSettings()[123 - kFirstSettingsRegister], 2750);
     }},
    {"Write4660To12EndsADownload",
     [](Bench& b) {
       b.write(12, kSaveCommandValue);
       EXPECT_EQ(b.controller.downloadCommitCount(), 1);
     }},
    {"Zeroing1To153ZeroesAtTheNextPowerUp",
     [](Bench& b) {
       b.write(REG_ZEROING, 1);
       b.write(REG_SAVE_DATA_COMMAND, kSaveCommandValue);
       EXPECT_EQ(b.controller.transducerZeroings(), 0);
       b.controller.powerCycle();
       EXPECT_EQ(b.controller.transducerZeroings(), 1);
     }},
    {"StartCodeTo181CalibratesAnd62And63ReadZeroAfterSuccess",
     [](Bench& b) {
       b.controller.setMode(kModeStopped);
       const int seconds = b.reg(REG_CAL_TIMER_START);
       b.write(REG_DO_SENSOR_CAL, kDefaultCalibrationStartCode);
       EXPECT_NE(b.read(62, 2), (Values{0, 0}));
       b.clock.advance(std::chrono::seconds(seconds + 15));
       EXPECT_EQ(b.read(62, 2), (Values{0, 0}));
     }},
    {"NewAddressIn135IsAnsweredFromThenOn",
     [](Bench& b) {
       b.write(REG_MODBUS_ADDRESS, 5);
       b.read(28, 2, MODBUS_REPLY_TIMEOUT);
       EXPECT_EQ(b.read(28, 2, MODBUS_OK, 5)[0], 462);
     }},
    {"ScheduleFlag204SwitchesTheO2Schedule",
     [](Bench& b) {
       const Values low(5, 300);
       EXPECT_EQ(b.master.writeMultipleRegisters(1, 199, low.data(), 5), MODBUS_OK);
       b.write(REG_MAN_SCHEDULE_EN, 1);
       EXPECT_EQ(b.reg(REG_MAN_SCHEDULE_EN), 1);
       expectWithin(b, 12, 200, 400);
       b.write(REG_MAN_SCHEDULE_EN, 0);
       expectWithin(b, 12, 620, 820);
     }},
    {"ExceptionReplyBecomesA0OrCode", [](Bench& b) { b.read(400, 2, MODBUS_EXCEPTION_BASE | 2); }},
    {"OutAtExitIsTakenOutsideAnyFrame",
     [](Bench& b) {
       b.master.close();
       SendExitCommand({}, b.line.path(), 9600, EXIT_COMMAND_OUT);
       for (int i = 0; i < 1000 && b.controller.strayBytes() != "OUT"; ++i) {
         std::this_thread::sleep_for(std::chrono::milliseconds(10));
       }
       EXPECT_EQ(b.controller.strayBytes(), "OUT");
     }},
};

class SimContract : public ::testing::TestWithParam<ContractRow> {};

TEST_P(SimContract, HoldsThroughTheRtuMaster) {
  Bench bench;
  ASSERT_EQ(bench.line.start(), 0);
  ASSERT_EQ(bench.master.open(bench.line.path(), 9600), MODBUS_OK);
  GetParam().check(bench);
}

INSTANTIATE_TEST_SUITE_P(Rows, SimContract, ::testing::ValuesIn(kContract),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vs::sim
