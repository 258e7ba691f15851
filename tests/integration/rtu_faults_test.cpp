// The line faults field users meet most, made by the simulated controller's
// fault injection and met by our RTU master over a real pty. The master runs
// as the application runs it: 1 s time-out, 3 retries.

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "link/modbus_rtu_master.h"
#include "sim/manual_clock.h"
#include "sim/pty_simulator.h"
#include "support/pending_input.h"

namespace vs::test {
namespace {

using sim::FaultKind;
using namespace std::chrono_literals;

// Two registers with values the controller would never report by itself, so
// that an answer tells which request it belongs to.
constexpr int kFirstReg = 300;
constexpr int kSecondReg = 301;
constexpr std::int16_t kFirstValue = 0x1111;
constexpr std::int16_t kSecondValue = 0x2222;

class SimulatedLine {
 protected:
  void startLine(int baud) {
    controller.writeRegister(kFirstReg, kFirstValue);
    controller.writeRegister(kSecondReg, kSecondValue);
    simulator = std::make_unique<sim::PtySimulator>(controller, sim::LineOptions{baud, {}});
    ASSERT_EQ(simulator->start(), 0);
    pending = std::make_unique<PendingInput>(simulator->path());
    reopen(1000, 3);
  }
  void reopen(int timeoutMs, int retries) {
    master.close();
    ASSERT_EQ(master.setTimeout(timeoutMs), MODBUS_OK);
    ASSERT_EQ(master.setRetries(retries), MODBUS_OK);
    ASSERT_EQ(master.open(simulator->path(), 9600, 8, 1, 0), MODBUS_OK);
  }
  int read(int reg, std::int16_t* value) { return master.readHoldingRegisters(1, reg, value, 1); }
  // The next request is answered by its own reply, not by anything earlier.
  void expectOwnAnswer() {
    std::int16_t value = 0;
    EXPECT_EQ(read(kSecondReg, &value), MODBUS_OK);
    EXPECT_EQ(value, kSecondValue);
  }
  sim::FaultInjector& faults() { return controller.faults(); }

  static sim::ControllerOptions frozen(sim::ManualClock& clock) {
    sim::ControllerOptions options;
    options.clock = clock.source();
    return options;
  }

  sim::ManualClock clock;
  sim::SimulatedController controller{frozen(clock)};
  std::unique_ptr<sim::PtySimulator> simulator;
  std::unique_ptr<PendingInput> pending;  // on the master's side of the line
  ModbusRtuMaster master;
};

// Unpaced (whole replies at once) and paced at 9600 baud (byte by byte).
class FaultedReplies : public SimulatedLine, public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { startLine(GetParam()); }
};

TEST_P(FaultedReplies, CorruptOrMisaddressedRepliesAreTriedRetriesPlusOneTimes) {
  const std::pair<FaultKind, int> cases[] = {{FaultKind::WrongCrc, MODBUS_CRC_ERROR},
                                             {FaultKind::WrongAddress, MODBUS_ADDRESS_MISMATCH},
                                             {FaultKind::NoReply, MODBUS_REPLY_TIMEOUT}};
  for (const auto& [fault, expected] : cases) {
    SCOPED_TRACE(std::string(sim::faultName(fault)));
    const int before = master.requestCount();
    faults().injectNext(fault, 4);
    std::int16_t value = 7;
    EXPECT_EQ(read(kFirstReg, &value), expected);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(master.requestCount() - before, 4);
    // The controller saw exactly those four: the fifth request is answered.
    expectOwnAnswer();
    EXPECT_EQ(master.requestCount() - before, 5);
  }
}

TEST_P(FaultedReplies, AnExceptionIsReturnedAtOnceWithoutRetrying) {
  faults().setSettings({.exceptionCode = 2});
  faults().injectNext(FaultKind::Exception, 1);
  std::int16_t value = 0;
  EXPECT_EQ(read(kFirstReg, &value), MODBUS_EXCEPTION_BASE | 2);
  EXPECT_EQ(master.requestCount(), 1);
  expectOwnAnswer();
  EXPECT_EQ(master.requestCount(), 2);
}

TEST_P(FaultedReplies, OneFailedAttemptIsHiddenByTheRetry) {
  faults().injectNext(FaultKind::WrongCrc, 1);
  faults().injectNext(FaultKind::NoReply, 1);
  faults().injectNext(FaultKind::WrongAddress, 1);
  std::int16_t value = 0;
  EXPECT_EQ(read(kFirstReg, &value), MODBUS_OK);
  EXPECT_EQ(value, kFirstValue);
  EXPECT_EQ(master.successCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(Integration, FaultedReplies, ::testing::Values(0, 9600),
                         [](const auto& info) {
                           return info.param == 0 ? std::string("Unpaced") : "Paced9600";
                         });

// Paced at the line rate: a long reply comes in byte after byte.
class PacedLine : public SimulatedLine, public ::testing::Test {
 protected:
  void SetUp() override { startLine(9600); }
};

TEST_F(PacedLine, AReplyArrivingByteByByteDecodesOnce) {
  std::int16_t values[125] = {};
  std::int16_t expected[125] = {};
  ASSERT_TRUE(controller.readRegisters(200, 125, expected));
  EXPECT_EQ(master.readHoldingRegisters(1, 200, values, 125), MODBUS_OK);
  EXPECT_TRUE(std::equal(values, values + 125, expected));
  EXPECT_EQ(master.requestCount(), 1);
  EXPECT_EQ(master.successCount(), 1);
  EXPECT_EQ(pending->count(), 0);
}

TEST_F(PacedLine, AControllerThatKeepsTransmittingNeitherHoldsTheMasterNorAnswersIt) {
  // Noise for far longer than these cycles: a silence wait that did not give
  // up would sit until the line went quiet at last and then succeed.
  faults().setSettings({.babble = 120s});
  faults().injectNext(FaultKind::Continuous, 1);
  // Each cycle ends in MODBUS_SEND_TIMEOUT while the noise has no gap; on a
  // busy machine the simulator can pause 5 ms between noise bytes, a request
  // slips out and the noise comes back as a corrupt reply instead. Either way
  // the cycle fails on its own time. (The exact result against noise without
  // gaps is checked with a scripted peer among the link tests.)
  for (int cycle = 0; cycle < 5; ++cycle) {
    std::int16_t value = 0;
    const int result = read(kFirstReg, &value);
    EXPECT_NE(result, MODBUS_OK);
    EXPECT_NE(result, MODBUS_IO_ERROR);
  }
  EXPECT_EQ(master.successCount(), 0);
  simulator->stop();  // ends the noise at once
}

// The stale bytes come from a simulator that sends each reply whole, so that
// they are all on the line before the next request starts.
class StaleBytes : public SimulatedLine, public ::testing::Test {
 protected:
  void SetUp() override {
    startLine(0);
    reopen(1000, 0);
  }
};

TEST_F(StaleBytes, NeverBecomeTheAnswerToALaterRequest) {
  std::int16_t value = 0;
  {
    SCOPED_TRACE("garbage in front of a reply: what the master leaves waits for the next request");
    faults().setSettings({.garbageBytes = 3});
    faults().injectNext(FaultKind::Garbage, 1);
    EXPECT_EQ(read(kFirstReg, &value), MODBUS_CRC_ERROR);
    ASSERT_GT(pending->count(), 0);
    expectOwnAnswer();
  }
  {
    SCOPED_TRACE("a bad-CRC frame followed at once by a good one");
    // Seven bytes of noise are a whole one-register reply with a bad CRC
    // (or an exception frame with one); the good reply comes straight after.
    faults().setSettings({.garbageBytes = 7});
    faults().injectNext(FaultKind::Garbage, 1);
    EXPECT_NE(read(kFirstReg, &value), MODBUS_OK);
    ASSERT_GE(pending->count(), 7);
    expectOwnAnswer();
  }
  {
    SCOPED_TRACE("a reply that comes after the time-out");
    faults().setSettings({.lateBy = 3000ms});
    faults().injectNext(FaultKind::LateReply, 1);
    EXPECT_EQ(read(kFirstReg, &value), MODBUS_REPLY_TIMEOUT);
    // On the line before the next request starts (sent later, nothing can
    // tell it from the answer: RTU frames carry no request number).
    ASSERT_TRUE(pending->waitFor(7));
    expectOwnAnswer();
  }
  {
    SCOPED_TRACE("a truncated reply times out and leaves nothing behind");
    for (const int count : {1, 10}) {
      faults().injectNext(FaultKind::PartialFrame, 1);
      std::int16_t values[10] = {};
      EXPECT_EQ(master.readHoldingRegisters(1, kFirstReg, values, count), MODBUS_REPLY_TIMEOUT);
      EXPECT_EQ(pending->count(), 0);
      expectOwnAnswer();
    }
  }
}

TEST(LineLoss, ClosingThePtyMidCycleEndsInAnErrorNotAHang) {
  sim::SimulatedController controller;
  sim::PtySimulator simulator(controller);
  ASSERT_EQ(simulator.start(), 0);
  ModbusRtuMaster master;
  // A master that waited for its time-out would come back with 132 after a minute.
  ASSERT_EQ(master.setTimeout(60000), MODBUS_OK);
  ASSERT_EQ(master.setRetries(3), MODBUS_OK);
  ASSERT_EQ(master.open(simulator.path(), 9600), MODBUS_OK);
  controller.faults().setSettings({.lateBy = 30s});
  controller.faults().injectNext(FaultKind::LateReply, 1);

  std::int16_t value = 0;
  auto cycle =
      std::async(std::launch::async, [&] { return master.readHoldingRegisters(1, 12, &value, 1); });
  std::this_thread::sleep_for(300ms);
  simulator.stop();  // closes the far end of the pty
  EXPECT_EQ(cycle.get(), MODBUS_IO_ERROR);
  // The next cycle on the dead line fails as quickly.
  EXPECT_EQ(master.readHoldingRegisters(1, 12, &value, 1), MODBUS_IO_ERROR);
  master.close();
  EXPECT_FALSE(master.isOpen());
}

}  // namespace
}  // namespace vs::test
