#include "support/pending_input.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <thread>

namespace vs::test {

PendingInput::PendingInput(const std::string& path)
    : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {}

PendingInput::~PendingInput() {
  if (fd_ >= 0) ::close(fd_);
}

int PendingInput::count() const {
  int bytes = 0;
  return fd_ >= 0 && ::ioctl(fd_, FIONREAD, &bytes) == 0 ? bytes : -1;
}

bool PendingInput::waitFor(int bytes, std::chrono::milliseconds limit) const {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (count() < bytes) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace vs::test
