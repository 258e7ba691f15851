// The simulator on a pty against two Modbus masters that are not ours: the
// libmodbus library and the mbpoll program.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <regex>

#include "libmodbus_peer.h"
#include "registers/register_map.h"
#include "sim/manual_clock.h"
#include "sim/pty_simulator.h"

namespace vs::sim {
namespace {

struct Block {
  int first;
  int count;
};
// The poll's four live blocks, then the five settings blocks.
constexpr Block kBlocks[] = {{12, 20},  {114, 10}, {39, 6},   {89, 2},  {112, 22},
                             {134, 22}, {156, 22}, {178, 22}, {200, 26}};

class SimOnAPty : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    LineOptions line;
    line.baud = GetParam();
    simulator = std::make_unique<PtySimulator>(controller, line);
    ASSERT_EQ(simulator->start(), 0);
  }
  std::vector<std::int16_t> expected(int first, int count) {
    std::vector<std::int16_t> values(static_cast<std::size_t>(count));
    controller.readRegisters(first, count, values.data());
    return values;
  }
  ControllerOptions frozenInTime() {
    ControllerOptions o;
    o.clock = clock.source();
    return o;
  }

  ManualClock clock;  // the live values hold still while both sides read them
  SimulatedController controller{frozenInTime()};
  std::unique_ptr<PtySimulator> simulator;
};

TEST_P(SimOnAPty, LibmodbusReadsEveryBlockTheProgramReads) {
  LibmodbusPeer peer(simulator->path());
  ASSERT_TRUE(peer.connected());
  for (const auto& block : kBlocks) {
    EXPECT_EQ(peer.read(block.first, block.count), expected(block.first, block.count))
        << "block " << block.first << " x " << block.count;
  }
}

TEST_P(SimOnAPty, LibmodbusWritesSinglyAndInBlocks) {
  LibmodbusPeer peer(simulator->path());
  ASSERT_TRUE(peer.connected());
  EXPECT_EQ(peer.write(123, -5), 1);
  EXPECT_EQ(peer.write(200, std::vector<std::int16_t>(26, -300)), 26);
  EXPECT_EQ(controller.readRegister(123), -5);
  EXPECT_EQ(expected(200, 26), std::vector<std::int16_t>(26, -300));
  EXPECT_EQ(peer.write(144, kSaveCommandValue), 1);
  EXPECT_EQ(controller.saveCount(), 1);
}

TEST_P(SimOnAPty, LibmodbusSeesExceptionsAndSilenceFromAnotherAddress) {
  LibmodbusPeer peer(simulator->path());
  ASSERT_TRUE(peer.connected());
  EXPECT_TRUE(peer.read(400, 2).empty());
  EXPECT_EQ(errno, EMBXILADD);

  peer.setSlave(2);
  peer.setTimeout(300);
  EXPECT_TRUE(peer.read(28, 2).empty());
  EXPECT_EQ(errno, ETIMEDOUT);
  peer.setSlave(1);
  EXPECT_EQ(peer.read(28, 2), expected(28, 2));
}

TEST_P(SimOnAPty, AMasterThatClosesAndReopensThePortIsStillServed) {
  {
    LibmodbusPeer first(simulator->path());
    ASSERT_TRUE(first.connected());
    EXPECT_EQ(first.read(28, 2), expected(28, 2));
  }
  LibmodbusPeer second(simulator->path());
  ASSERT_TRUE(second.connected());
  EXPECT_EQ(second.read(132, 4), expected(132, 4));
}

// Unpaced, and paced at the line rate the program uses.
INSTANTIATE_TEST_SUITE_P(SimPeers, SimOnAPty, ::testing::Values(0, 9600));

// mbpoll, run as a program; the output lines look like "[12]: \t749" or, for a
// negative value, "[133]: \t57536 (-8000)".
struct MbpollRun {
  int exitCode = -1;
  std::vector<std::int16_t> values;
};

MbpollRun mbpoll(const std::string& path, int slave, int first, const std::string& tail) {
  const std::string command = std::string(MBPOLL_PATH) + " -m rtu -b 9600 -P none -o 1 -1 -a " +
                              std::to_string(slave) + " -r " + std::to_string(first) + " " + path +
                              " " + tail + " 2>&1";
  MbpollRun run;
  FILE* out = popen(command.c_str(), "r");
  if (out == nullptr) return run;
  const std::regex line(R"(^\[(\d+)\]:\s+(\d+)(?: \((-\d+)\))?)");
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, out) != nullptr) {
    std::cmatch match;
    if (std::regex_search(buffer, match, line)) {
      run.values.push_back(
          static_cast<std::int16_t>(std::stoi(match[3].matched ? match[3] : match[2])));
    }
  }
  const int status = pclose(out);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class SimMbpoll : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(simulator.start(), 0); }
  ManualClock clock;
  SimulatedController controller{[this] {
    ControllerOptions o;
    o.clock = clock.source();
    return o;
  }()};
  PtySimulator simulator{controller};
};

TEST_F(SimMbpoll, ReadsEveryBlockTheProgramReads) {
  for (const auto& block : kBlocks) {
    const auto run = mbpoll(simulator.path(), 1, block.first, "-c " + std::to_string(block.count));
    EXPECT_EQ(run.exitCode, 0);
    std::vector<std::int16_t> values(static_cast<std::size_t>(block.count));
    controller.readRegisters(block.first, block.count, values.data());
    EXPECT_EQ(run.values, values) << "block " << block.first << " x " << block.count;
  }
}

TEST_F(SimMbpoll, WritesSinglyAndInBlocks) {
  EXPECT_EQ(mbpoll(simulator.path(), 1, 123, "65531").exitCode, 0);  // its 16-bit form of -5
  EXPECT_EQ(controller.readRegister(123), -5);
  EXPECT_EQ(mbpoll(simulator.path(), 1, 194, "1500 2500 3500").exitCode, 0);
  std::vector<std::int16_t> values(3);
  controller.readRegisters(194, 3, values.data());
  EXPECT_EQ(values, (std::vector<std::int16_t>{1500, 2500, 3500}));
  const auto log = controller.writeLog();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0].function, 6);
  EXPECT_EQ(log[1].function, 16);
}

TEST_F(SimMbpoll, GetsNoAnswerAtAnotherAddress) {
  const auto run = mbpoll(simulator.path(), 2, 28, "-c 2");
  EXPECT_NE(run.exitCode, 0);
  EXPECT_TRUE(run.values.empty());
}

}  // namespace
}  // namespace vs::sim
