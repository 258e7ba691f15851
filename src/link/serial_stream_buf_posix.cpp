#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>

#include "link/posix_tty.h"
#include "link/serial_port.h"
#include "link/serial_stream_buf.h"

namespace vs {
namespace {

// A write waits this long at most for room in the driver: nothing at exit
// may hold the program, even a port that stopped taking data.
constexpr std::chrono::seconds kWriteLimit{5};

void notify(const CommNotifyRequest& request, std::uint32_t events, std::uint32_t error) {
  if (request.target) request.target(events, error);
}

}  // namespace

struct SerialStreamBuf::Native {
  int port = -1;
  // The event thread's wake-up pipe: a byte in it means "look at the mailbox".
  int wakeRead = -1;
  int wakeWrite = -1;
};

SerialStreamBuf::SerialStreamBuf() = default;

SerialStreamBuf::~SerialStreamBuf() { close(); }

bool SerialStreamBuf::openPort(const SerialStreamSettings& settings) {
  int fd = -1;
  if (posix_tty::openExclusive(settings.portName, &fd) != SERIAL_OK) return false;
  if (posix_tty::applyLine(fd, settings.baudRate, settings.dataBits, settings.stopBits,
                           settings.parity, 0) != SERIAL_OK) {
    posix_tty::closeExclusive(fd);
    return false;
  }
  native_ = std::make_unique<Native>();
  native_->port = fd;
  return true;
}

void SerialStreamBuf::closePort() {
  if (native_->wakeRead >= 0) ::close(native_->wakeRead);
  if (native_->wakeWrite >= 0) ::close(native_->wakeWrite);
  posix_tty::closeExclusive(native_->port);
  native_.reset();
}

// The event character only matters to the wait, which keeps it in the settings.
bool SerialStreamBuf::applyEventChar(char) { return true; }

std::streamsize SerialStreamBuf::readAvailable(char* into, std::streamsize capacity) {
  for (;;) {
    const ssize_t n = ::read(native_->port, into, static_cast<std::size_t>(capacity));
    if (n >= 0) return n;
    if (errno != EINTR) return 0;
  }
}

bool SerialStreamBuf::writeAll(const char* data, std::streamsize count) {
  const auto deadline = std::chrono::steady_clock::now() + kWriteLimit;
  std::streamsize done = 0;
  while (done < count) {
    const ssize_t n = ::write(native_->port, data + done, static_cast<std::size_t>(count - done));
    if (n > 0) {
      done += n;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) return false;
    if (posix_tty::waitFor(native_->port, POLLOUT, deadline) != posix_tty::WaitResult::Ready) {
      return false;
    }
  }
  return true;
}

bool SerialStreamBuf::startEventThread() {
  int wake[2];
  if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  native_->wakeRead = wake[0];
  native_->wakeWrite = wake[1];
  try {
    eventThread_ = std::thread(&SerialStreamBuf::eventLoop, this);
  } catch (const std::system_error&) {
    ::close(wake[0]);
    ::close(wake[1]);
    native_->wakeRead = native_->wakeWrite = -1;
    return false;
  }
  return true;
}

void SerialStreamBuf::wakeEventThread() {
  const char signal = 1;
  // A full pipe already wakes the thread.
  [[maybe_unused]] const ssize_t n = ::write(native_->wakeWrite, &signal, 1);
}

// Waits on the wake-up pipe and, while a wait is armed, on the port. Closing
// posts the stop and writes to the pipe, so it never waits for a line event.
void SerialStreamBuf::eventLoop() {
  CommNotifyRequest armed;
  bool waiting = false;
  for (;;) {
    if (stopPosted()) return;
    if (!waiting) waiting = takeRequest(&armed);
    const bool wantsInput = (armed.eventMask & (COMM_EV_RXCHAR | COMM_EV_RXFLAG)) != 0;
    pollfd fds[2] = {{native_->wakeRead, POLLIN, 0},
                     {native_->port, static_cast<short>(wantsInput ? POLLIN : 0), 0}};
    if (::poll(fds, waiting ? 2 : 1, -1) < 0) {
      if (errno == EINTR) continue;
      if (waiting) notify(armed, 0, static_cast<std::uint32_t>(errno));
      return;
    }
    if (fds[0].revents != 0) {
      char sink[64];
      while (::read(native_->wakeRead, sink, sizeof sink) > 0) {
      }
    }
    if (waiting && fds[1].revents != 0) {
      waiting = false;
      if ((fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        notify(armed, 0, EIO);
      } else {
        notify(armed, armed.eventMask & (COMM_EV_RXCHAR | COMM_EV_RXFLAG), 0);
      }
    }
  }
}

}  // namespace vs
