#pragma once

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <string>
#include <vector>

namespace vs::test {

struct ProcessOutcome {
  int exitCode = -1;  // -1: killed by a signal, or by the time limit
  bool timedOut = false;
  std::string out;
  std::string err;
};

// Runs a program to its end with standard input from /dev/null, both outputs
// captured; a run past `limit` is killed and marked timedOut.
ProcessOutcome runProcess(const std::vector<std::string>& argv,
                          std::chrono::milliseconds limit = std::chrono::seconds(60));

// A program left running in the background (a simulator), killed with its
// object at the latest.
class BackgroundProcess {
 public:
  explicit BackgroundProcess(const std::vector<std::string>& argv);
  ~BackgroundProcess();
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  // The first line of standard output; empty if none came within `limit`.
  std::string firstLine(std::chrono::milliseconds limit = std::chrono::seconds(10));
  // Sends a signal without waiting for anything.
  void signal(int number);
  // Sends `number` (SIGTERM unless told), waits for the end and returns its
  // standard error.
  std::string stop(int number = SIGTERM);
  // Waits up to `limit` for the program to end by itself; false when it has
  // not, and it is left running.
  bool waitForExit(std::chrono::milliseconds limit);
  // After stop() or waitForExit(): the exit code, -1 when it ended by a signal.
  int exitCode() const { return exitCode_; }

 private:
  pid_t pid_ = -1;
  int exitCode_ = -1;
  int out_ = -1;
  int err_ = -1;
};

}  // namespace vs::test
