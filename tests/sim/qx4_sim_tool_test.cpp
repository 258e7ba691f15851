// qx4-sim as a user runs it: a program that prints its pty, serves until told
// to stop, and keeps saved settings in a file across runs.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "libmodbus_peer.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace vs::sim {
namespace {

using test::BackgroundProcess;

// One run of the program, serving until it is stopped.
BackgroundProcess startSim(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), QX4_SIM_PATH);
  return BackgroundProcess(arguments);
}

// The exit code of a run that ends by itself.
int exitCodeOf(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), QX4_SIM_PATH);
  return test::runProcess(arguments, std::chrono::seconds(20)).exitCode;
}

TEST(SimTool, ServesOnThePtyItPrintsUntilTerminated) {
  BackgroundProcess sim = startSim({"--slave", "3", "--firmware", "440", "--baud", "9600"});
  const std::string path = sim.firstLine();
  ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
  LibmodbusPeer peer(path, 3);
  ASSERT_TRUE(peer.connected());
  EXPECT_EQ(peer.read(28, 2), (std::vector<std::int16_t>{440, 0}));
  EXPECT_EQ(peer.read(135, 1), (std::vector<std::int16_t>{3}));
  sim.stop(SIGTERM);
  EXPECT_EQ(sim.exitCode(), 0);
}

TEST(SimTool, KeepsSavedSettingsAcrossRuns) {
  test::TempDir dir;
  const std::string file = (dir / "unit.dat").string();
  {
    BackgroundProcess sim = startSim({"--settings", file});
    LibmodbusPeer peer(sim.firstLine());
    ASSERT_TRUE(peer.connected());
    EXPECT_EQ(peer.write(123, 4321), 1);
    EXPECT_EQ(peer.write(144, 4660), 1);
    sim.stop(SIGINT);
    EXPECT_EQ(sim.exitCode(), 0);
  }
  BackgroundProcess again = startSim({"--settings", file});
  LibmodbusPeer peer(again.firstLine());
  ASSERT_TRUE(peer.connected());
  EXPECT_EQ(peer.read(123, 1), (std::vector<std::int16_t>{4321}));
}

TEST(SimTool, PullsAndPlugsTheCableOnSigusr1) {
  BackgroundProcess sim = startSim({"--silent"});
  LibmodbusPeer peer(sim.firstLine());
  ASSERT_TRUE(peer.connected());
  peer.setTimeout(300);
  EXPECT_TRUE(peer.read(28, 2).empty());
  sim.signal(SIGUSR1);
  std::vector<std::int16_t> answer;
  for (int attempt = 0; attempt < 30 && answer.empty(); ++attempt) answer = peer.read(28, 2);
  EXPECT_EQ(answer, (std::vector<std::int16_t>{462, 0}));
}

// A master leaves with "OUT" and goes; the technician stops the simulator
// at once to read what came outside frames.
TEST(SimTool, ReportsWhatCameOutsideFramesWhenStoppedRightAfter) {
  BackgroundProcess sim = startSim({"--baud", "9600"});
  const std::string path = sim.firstLine();
  const int master = ::open(path.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::write(master, "OUT", 3), 3);
  ::close(master);
  EXPECT_NE(sim.stop(SIGINT).find("qx4-sim: received outside frames: \"OUT\"\n"),
            std::string::npos);
  EXPECT_EQ(sim.exitCode(), 0);
}

TEST(SimTool, SaysWhatIsWrongWithTheCommandLine) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"9600"}, "unexpected argument 9600"},
      {{"--baud", "9600", "extra"}, "unexpected argument extra"},
      {{"--frob"}, "unknown option --frob"},
      {{"--baud"}, "missing value after --baud"},
      {{"--baud", "fast"}, "bad value for --baud: fast"},
  };
  for (auto [arguments, error] : cases) {
    arguments.insert(arguments.begin(), QX4_SIM_PATH);
    const auto run = test::runProcess(arguments, std::chrono::seconds(20));
    EXPECT_EQ(run.exitCode, 2) << error;
    EXPECT_EQ(run.err, "qx4-sim: " + error + " (see --help)\n");
  }
}

TEST(SimTool, RefusesBadOptionsAndAnUnreadableSettingsFile) {
  EXPECT_EQ(exitCodeOf({"--slave", "0"}), 2);
  EXPECT_EQ(exitCodeOf({"--fault", "cable-cut"}), 2);
  EXPECT_EQ(exitCodeOf({"--help"}), 0);

  test::TempDir dir;
  const auto file = dir / "notes.dat";
  std::ofstream(file) << "not settings";
  EXPECT_EQ(exitCodeOf({"--settings", file.string()}), 1);
  std::stringstream kept;
  kept << std::ifstream(file).rdbuf();
  EXPECT_EQ(kept.str(), "not settings");
}

}  // namespace
}  // namespace vs::sim
