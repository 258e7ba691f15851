#include "sim/pty_simulator.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/pty_pair.h"
#include "support/rtu_frames.h"

namespace vs::sim {
namespace {

using std::chrono::milliseconds;
using test::Bytes;
using test::readRequest;

// The simulator serving a device: the slave end of a pty pair, whose master
// end the test plays byte by byte.
class SimOnADevice : public ::testing::Test {
 protected:
  void SetUp() override {
    LineOptions line;
    line.device = pair.path();
    simulator = std::make_unique<PtySimulator>(controller, line);
    ASSERT_EQ(simulator->start(), 0);
  }
  Bytes ask(const Bytes& request, std::size_t replyLength) {
    pair.write(request);
    return pair.read(replyLength, std::chrono::seconds(10));
  }
  // Waits (for a real thread, up to ten seconds) until the controller has
  // recorded `expected` outside frames.
  std::string strayBytesOnceThere(const std::string& expected) {
    for (int i = 0; i < 1000 && controller.strayBytes() != expected; ++i) {
      std::this_thread::sleep_for(milliseconds(10));
    }
    return controller.strayBytes();
  }

  test::PtyPair pair;
  SimulatedController controller;
  std::unique_ptr<PtySimulator> simulator;
};

TEST_F(SimOnADevice, AnswersBlockReadsAndWrites) {
  const Bytes reply = ask(readRequest(1, 12, 20), 45);
  ASSERT_TRUE(test::crcOk(reply));
  EXPECT_EQ(test::registersOf(reply)[28 - 12], 462);

  const Bytes write = test::writeMultipleRequest(1, 194, {10, 20, 30});
  EXPECT_EQ(ask(write, 8), test::withCrc({1, 16, 0, 193, 0, 3}));
  EXPECT_EQ(controller.readRegister(196), 30);
}

TEST_F(SimOnADevice, PassesOverNoiseAndRecordsWhatCameOutsideFrames) {
  Bytes line = {'O', 'U', 'T'};
  const Bytes request = readRequest(1, 28, 2);
  line.insert(line.end(), request.begin(), request.end());
  const Bytes reply = ask(line, 9);
  ASSERT_TRUE(test::crcOk(reply));
  EXPECT_EQ(test::registersOf(reply)[0], 462);
  EXPECT_EQ(strayBytesOnceThere("OUT"), "OUT");

  pair.write({'O', 'U', 'T'});
  EXPECT_EQ(strayBytesOnceThere("OUTOUT"), "OUTOUT");
}

TEST_F(SimOnADevice, OnlyItsOwnAddressIsAnswered) {
  Bytes both = readRequest(2, 28, 2);
  const Bytes own = readRequest(1, 132, 4);
  both.insert(both.end(), own.begin(), own.end());
  const Bytes reply = ask(both, 13);
  ASSERT_EQ(reply.size(), 13u);
  EXPECT_EQ(reply[0], 1);
  EXPECT_EQ(test::registersOf(reply)[0], 24000);
}

TEST_F(SimOnADevice, ALateReplyComesAfterItsDelay) {
  FaultSettings settings;
  settings.lateBy = milliseconds(1500);
  controller.faults().setSettings(settings);
  controller.faults().injectNext(FaultKind::LateReply, 1);
  pair.write(readRequest(1, 28, 2));
  EXPECT_TRUE(pair.read(1, milliseconds(200)).empty());  // can only come later, never sooner
  EXPECT_TRUE(test::crcOk(pair.read(9, std::chrono::seconds(10))));
}

TEST_F(SimOnADevice, StopsPromptlyInTheMiddleOfAContinuousTransmission) {
  FaultSettings settings;
  settings.babble = std::chrono::minutes(10);
  controller.faults().setSettings(settings);
  controller.faults().injectNext(FaultKind::Continuous, 1);
  pair.write(readRequest(1, 28, 2));
  EXPECT_EQ(pair.read(40, std::chrono::seconds(10)).size(), 40u);
  simulator->stop();  // the suite's time-out catches a stop that waits out the babble
  pair.drain(milliseconds(100));
  EXPECT_TRUE(pair.drain(milliseconds(100)).empty());
}

TEST(SimPtyStart, ReportsWhatWentWrong) {
  SimulatedController controller;
  LineOptions missing;
  missing.device = "/dev/no-such-serial-device";
  EXPECT_EQ(PtySimulator(controller, missing).start(), ENOENT);
  LineOptions odd;
  odd.baud = 12345;
  EXPECT_EQ(PtySimulator(controller, odd).start(), EINVAL);

  PtySimulator simulator(controller);
  ASSERT_EQ(simulator.start(), 0);
  EXPECT_EQ(simulator.path().rfind("/dev/", 0), 0u);
  EXPECT_EQ(simulator.start(), EBUSY);
}

}  // namespace
}  // namespace vs::sim
