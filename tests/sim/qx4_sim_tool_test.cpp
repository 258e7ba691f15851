// qx4-sim as a user runs it: a program that prints its pty, serves until told
// to stop, and keeps saved settings in a file across runs.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "libmodbus_peer.h"
#include "support/temp_dir.h"

extern char** environ;

namespace vs::sim {
namespace {

// One run of the program with its standard output on a pipe.
class Qx4Sim {
 public:
  explicit Qx4Sim(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), QX4_SIM_PATH);
    std::vector<char*> argv;
    for (auto& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (posix_spawn(&pid_, QX4_SIM_PATH, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    stdout_ = out[0];
  }
  ~Qx4Sim() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (stdout_ >= 0) close(stdout_);
  }

  // The first line of output (the pty path); empty if none came in ten seconds.
  std::string firstLine() {
    std::string line;
    char c = 0;
    pollfd p{stdout_, POLLIN, 0};
    while (poll(&p, 1, 10'000) > 0 && read(stdout_, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }
  void signal(int number) { kill(pid_, number); }
  // The exit code after the signal, -1 when it did not exit by itself.
  int stopWith(int number) {
    kill(pid_, number);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int exitCode() { return stopWith(0); }

 private:
  pid_t pid_ = -1;
  int stdout_ = -1;
};

TEST(SimTool, ServesOnThePtyItPrintsUntilTerminated) {
  Qx4Sim sim({"--slave", "3", "--firmware", "440", "--baud", "9600"});
  const std::string path = sim.firstLine();
  ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
  LibmodbusPeer peer(path, 3);
  ASSERT_TRUE(peer.connected());
  EXPECT_EQ(peer.read(28, 2), (std::vector<std::int16_t>{440, 0}));
  EXPECT_EQ(peer.read(135, 1), (std::vector<std::int16_t>{3}));
  EXPECT_EQ(sim.stopWith(SIGTERM), 0);
}

TEST(SimTool, KeepsSavedSettingsAcrossRuns) {
  test::TempDir dir;
  const std::string file = (dir / "unit.dat").string();
  {
    Qx4Sim sim({"--settings", file});
    LibmodbusPeer peer(sim.firstLine());
    ASSERT_TRUE(peer.connected());
    EXPECT_EQ(peer.write(123, 4321), 1);
    EXPECT_EQ(peer.write(144, 4660), 1);
    EXPECT_EQ(sim.stopWith(SIGINT), 0);
  }
  Qx4Sim again({"--settings", file});
  LibmodbusPeer peer(again.firstLine());
  ASSERT_TRUE(peer.connected());
  EXPECT_EQ(peer.read(123, 1), (std::vector<std::int16_t>{4321}));
}

TEST(SimTool, PullsAndPlugsTheCableOnSigusr1) {
  Qx4Sim sim({"--silent"});
  LibmodbusPeer peer(sim.firstLine());
  ASSERT_TRUE(peer.connected());
  peer.setTimeout(300);
  EXPECT_TRUE(peer.read(28, 2).empty());
  sim.signal(SIGUSR1);
  std::vector<std::int16_t> answer;
  for (int attempt = 0; attempt < 30 && answer.empty(); ++attempt) answer = peer.read(28, 2);
  EXPECT_EQ(answer, (std::vector<std::int16_t>{462, 0}));
}

TEST(SimTool, RefusesBadOptionsAndAnUnreadableSettingsFile) {
  EXPECT_EQ(Qx4Sim({"--slave", "0"}).exitCode(), 2);
  EXPECT_EQ(Qx4Sim({"--fault", "cable-cut"}).exitCode(), 2);
  EXPECT_EQ(Qx4Sim({"--help"}).exitCode(), 0);

  test::TempDir dir;
  const auto file = dir / "notes.dat";
  std::ofstream(file) << "not settings";
  EXPECT_EQ(Qx4Sim({"--settings", file.string()}).exitCode(), 1);
  std::stringstream kept;
  kept << std::ifstream(file).rdbuf();
  EXPECT_EQ(kept.str(), "not settings");
}

}  // namespace
}  // namespace vs::sim
