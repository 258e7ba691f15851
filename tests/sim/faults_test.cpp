#include <gtest/gtest.h>

#include "sim/rtu_slave.h"
#include "sim/simulated_controller.h"
#include "support/rtu_frames.h"

namespace vs::sim {
namespace {

using test::Bytes;
using test::readRequest;
using test::writeSingleRequest;

class SimFaults : public ::testing::Test {
 protected:
  Transmission ask(const Bytes& request) { return slave.respond(request.data(), request.size()); }
  Bytes healthyReply() {
    const Transmission t = ask(readRequest(1, 132, 4));
    EXPECT_EQ(t.delay.count(), 0);
    EXPECT_EQ(t.babble.count(), 0);
    return t.bytes;
  }

  SimulatedController controller;
  RtuSlave slave{controller};
  FaultInjector& faults = controller.faults();
  const Bytes good = readRequest(1, 132, 4);
};

TEST_F(SimFaults, EachKindSpoilsTheReplyItsOwnWay) {
  const Bytes healthy = healthyReply();
  ASSERT_TRUE(test::crcOk(healthy));
  FaultSettings settings;
  settings.exceptionCode = 6;
  settings.garbageBytes = 5;
  settings.lateBy = std::chrono::milliseconds(1800);
  settings.babble = std::chrono::milliseconds(900);
  faults.setSettings(settings);

  faults.injectNext(FaultKind::NoReply, 1);
  EXPECT_TRUE(ask(good).bytes.empty());

  faults.injectNext(FaultKind::WrongCrc, 1);
  Bytes reply = ask(good).bytes;
  EXPECT_FALSE(test::crcOk(reply));
  EXPECT_EQ(Bytes(reply.begin(), reply.end() - 2), Bytes(healthy.begin(), healthy.end() - 2));

  faults.injectNext(FaultKind::WrongAddress, 1);
  reply = ask(good).bytes;
  EXPECT_TRUE(test::crcOk(reply));
  EXPECT_NE(reply[0], 1);
  EXPECT_EQ(test::registersOf(reply), test::registersOf(healthy));

  faults.injectNext(FaultKind::Exception, 1);
  EXPECT_EQ(ask(good).bytes, test::withCrc({1, 0x83, 6}));

  faults.injectNext(FaultKind::LateReply, 1);
  Transmission late = ask(good);
  EXPECT_EQ(late.bytes, healthy);
  EXPECT_EQ(late.delay, std::chrono::milliseconds(1800));

  faults.injectNext(FaultKind::Garbage, 1);
  reply = ask(good).bytes;
  ASSERT_EQ(reply.size(), healthy.size() + 5);
  EXPECT_EQ(Bytes(reply.begin() + 5, reply.end()), healthy);

  faults.injectNext(FaultKind::Continuous, 1);
  const Transmission babble = ask(good);
  EXPECT_TRUE(babble.bytes.empty());
  EXPECT_EQ(babble.babble, std::chrono::milliseconds(900));

  faults.injectNext(FaultKind::PartialFrame, 1);
  reply = ask(good).bytes;
  EXPECT_EQ(reply, Bytes(healthy.begin(), healthy.begin() + healthy.size() / 2));

  EXPECT_EQ(ask(good).bytes, healthy);
}

TEST_F(SimFaults, QueuedFaultsLastTheirCountInOrderThenTheLineIsHealthy) {
  faults.injectNext(FaultKind::NoReply, 2);
  faults.injectNext(FaultKind::WrongCrc, 1);
  EXPECT_TRUE(ask(good).bytes.empty());
  EXPECT_TRUE(ask(readRequest(2, 132, 4)).bytes.empty());  // another slave's request takes none
  EXPECT_TRUE(ask(good).bytes.empty());
  EXPECT_FALSE(test::crcOk(ask(good).bytes));
  EXPECT_TRUE(test::crcOk(ask(good).bytes));
}

TEST_F(SimFaults, ALostReplyStillCarriesTheWriteOutAnExceptionDoesNot) {
  faults.injectNext(FaultKind::NoReply, 1);
  ask(writeSingleRequest(1, 150, 11));
  EXPECT_EQ(controller.readRegister(150), 11);
  faults.injectNext(FaultKind::Exception, 1);
  ask(writeSingleRequest(1, 150, 22));
  EXPECT_EQ(controller.readRegister(150), 11);
}

TEST_F(SimFaults, SilentIsAPulledCableUntilPluggedBackIn) {
  faults.setSilent(true);
  EXPECT_TRUE(ask(good).bytes.empty());
  ask(writeSingleRequest(1, 226, 11));
  ask(writeSingleRequest(0, 227, 12));
  EXPECT_EQ(controller.readRegister(226), 0);
  EXPECT_EQ(controller.readRegister(227), 0);
  faults.setSilent(false);
  EXPECT_EQ(ask(good).bytes, healthyReply());
}

TEST_F(SimFaults, ProbabilitiesAreSeededAndClearRestoresAHealthyLine) {
  const auto pattern = [](std::uint64_t seed) {
    ControllerOptions o;
    o.seed = seed;
    SimulatedController c(o);
    RtuSlave s(c);
    c.faults().setProbability(FaultKind::NoReply, 0.3);
    std::string lost;
    const Bytes request = readRequest(1, 28, 2);
    for (int i = 0; i < 200; ++i)
      lost += s.respond(request.data(), request.size()).bytes.empty() ? 'x' : '.';
    return lost;
  };
  const std::string first = pattern(5);
  EXPECT_EQ(first, pattern(5));
  EXPECT_NE(first, pattern(6));
  const auto losses = std::count(first.begin(), first.end(), 'x');
  EXPECT_GT(losses, 30);
  EXPECT_LT(losses, 90);

  faults.setProbability(FaultKind::WrongCrc, 1.0);
  faults.injectNext(FaultKind::NoReply, 3);
  faults.setSilent(true);
  faults.clear();
  EXPECT_EQ(ask(good).bytes, healthyReply());
}

TEST(SimFaultNames, MatchTheCommandLine) {
  for (const auto kind :
       {FaultKind::NoReply, FaultKind::WrongCrc, FaultKind::WrongAddress, FaultKind::Exception,
        FaultKind::LateReply, FaultKind::Garbage, FaultKind::Continuous, FaultKind::PartialFrame}) {
    EXPECT_EQ(faultFromName(faultName(kind)), kind);
  }
  EXPECT_EQ(faultName(FaultKind::PartialFrame), "partial-frame");
  EXPECT_FALSE(faultFromName("cable-cut"));
}

}  // namespace
}  // namespace vs::sim
