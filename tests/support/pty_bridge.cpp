#include "support/pty_bridge.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

namespace vs::test {

PtyBridge::PtyBridge() {
  if (::pipe2(wake_, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
  thread_ = std::thread(&PtyBridge::run, this);
}

PtyBridge::~PtyBridge() {
  const char stop = 1;
  [[maybe_unused]] const ssize_t n = ::write(wake_[1], &stop, 1);
  thread_.join();
  ::close(wake_[0]);
  ::close(wake_[1]);
}

void PtyBridge::run() {
  PtyPair* const ends[2] = {&a_, &b_};
  for (;;) {
    pollfd fds[3] = {{a_.masterFd(), POLLIN, 0}, {b_.masterFd(), POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (::poll(fds, 3, -1) < 0) continue;
    if (fds[2].revents != 0) return;
    for (int i = 0; i < 2; ++i) {
      if ((fds[i].revents & POLLIN) == 0) continue;
      std::uint8_t buf[512];
      const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
      if (n > 0) ends[1 - i]->write(std::vector<std::uint8_t>(buf, buf + n));
    }
  }
}

}  // namespace vs::test
