#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace vs::test {
namespace {

// Starts argv[0] with standard output and error on two new pipes.
pid_t spawn(const std::vector<std::string>& argv, int* out, int* err) {
  int outPipe[2] = {-1, -1};
  int errPipe[2] = {-1, -1};
  if (pipe2(outPipe, O_CLOEXEC) != 0) return -1;
  if (pipe2(errPipe, O_CLOEXEC) != 0) {
    close(outPipe[0]);
    close(outPipe[1]);
    return -1;
  }
  std::vector<std::string> copies = argv;
  std::vector<char*> args;
  for (auto& a : copies) args.push_back(a.data());
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);
  *out = outPipe[0];
  *err = errPipe[0];
  return pid;
}

// Appends what is ready; false at the end of the stream.
bool drainInto(int fd, std::string& text) {
  char buffer[4096];
  const ssize_t n = read(fd, buffer, sizeof buffer);
  if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
  return n > 0 || (n < 0 && errno == EINTR);
}

int exitCodeOf(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ProcessOutcome runProcess(const std::vector<std::string>& argv, std::chrono::milliseconds limit) {
  ProcessOutcome outcome;
  int out = -1;
  int err = -1;
  const pid_t pid = spawn(argv, &out, &err);
  if (pid < 0) {
    outcome.err = "cannot start " + argv.at(0);
    return outcome;
  }
  const auto deadline = std::chrono::steady_clock::now() + limit;
  bool outOpen = true;
  bool errOpen = true;
  while (outOpen || errOpen) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      outcome.timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    pollfd fds[2] = {{outOpen ? out : -1, POLLIN, 0}, {errOpen ? err : -1, POLLIN, 0}};
    if (poll(fds, 2, static_cast<int>(left.count())) <= 0) continue;
    if (fds[0].revents != 0) outOpen = drainInto(out, outcome.out);
    if (fds[1].revents != 0) errOpen = drainInto(err, outcome.err);
  }
  close(out);
  close(err);
  outcome.exitCode = exitCodeOf(pid);
  if (outcome.timedOut) outcome.exitCode = -1;
  return outcome;
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv) {
  pid_ = spawn(argv, &out_, &err_);
}

BackgroundProcess::~BackgroundProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    exitCodeOf(pid_);
  }
  if (out_ >= 0) close(out_);
  if (err_ >= 0) close(err_);
}

std::string BackgroundProcess::firstLine(std::chrono::milliseconds limit) {
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  char c = 0;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd p{out_, POLLIN, 0};
    if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
    if (read(out_, &c, 1) != 1) return {};
    if (c == '\n') return line;
    line += c;
  }
}

void BackgroundProcess::signal(int number) {
  if (pid_ > 0) kill(pid_, number);
}

bool BackgroundProcess::waitForExit(std::chrono::milliseconds limit) {
  if (pid_ <= 0) return true;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      pid_ = -1;
      return true;
    }
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

std::string BackgroundProcess::stop(int number) {
  std::string err;
  if (pid_ <= 0) return err;
  kill(pid_, number);
  // Read while it ends, so that a full pipe cannot hold it; one that ignores
  // the request is killed.
  for (;;) {
    pollfd p{err_, POLLIN, 0};
    if (poll(&p, 1, 30'000) == 0) kill(pid_, SIGKILL);
    if (!drainInto(err_, err)) break;
  }
  exitCode_ = exitCodeOf(pid_);
  pid_ = -1;
  return err;
}

}  // namespace vs::test
