#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "link/posix_tty.h"
#include "link/serial_port.h"

namespace vs {
namespace {

using posix_tty::WaitResult;

int fdOf(std::intptr_t handle) { return static_cast<int>(handle); }

posix_tty::Deadline deadlineIn(int timeoutMs) {
  return std::chrono::steady_clock::now() +
         std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
}

// Moves `count` bytes with `transfer` (read or write) until done or the
// deadline; the descriptor is non-blocking, so each call takes what is ready.
// `done` counts the bytes moved, also when the call fails.
template <typename Transfer>
int transferAll(int fd, int count, int timeoutMs, short events, int& done, Transfer transfer) {
  const auto deadline = deadlineIn(timeoutMs);
  done = 0;
  while (done < count) {
    const ssize_t n = transfer(done);
    if (n > 0) {
      done += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return SERIAL_SYSTEM_ERROR;
    // Nothing ready: wait, which also notices a hang-up.
    switch (posix_tty::waitFor(fd, events, deadline)) {
      case WaitResult::Ready: break;
      case WaitResult::TimedOut: return SERIAL_TIMEOUT;
      case WaitResult::Failed: return SERIAL_SYSTEM_ERROR;
    }
  }
  return SERIAL_OK;
}

}  // namespace

SerialPort::~SerialPort() { close(); }

int SerialPort::open(const std::string& name) {
  if (isOpen()) close();
  int fd = -1;
  const int opened = posix_tty::openExclusive(name, &fd);
  if (opened != SERIAL_OK) return opened;
  static_assert(sizeof(termios) <= kLineStateSize && alignof(termios) <= 8);
  termios saved{};
  if (::tcgetattr(fd, &saved) != 0) {
    // Without the line state there is nothing to put back: do not keep a
    // half-open port.
    posix_tty::closeExclusive(fd);
    return SERIAL_SYSTEM_ERROR;
  }
  std::memcpy(savedLine_, &saved, sizeof saved);
  handle_ = fd;
  purge();
  return configure(9600, 8, 1, 0, 0);
}

int SerialPort::configure(int baudRate, int dataBits, int stopBits, int parity, int handshake) {
  if (!isOpen()) return SERIAL_NOT_OPEN;
  const int applied =
      posix_tty::applyLine(fdOf(handle_), baudRate, dataBits, stopBits, parity, handshake);
  if (applied != SERIAL_OK) return applied;
  baudRate_ = baudRate;
  handshake_ = handshake;
  return SERIAL_OK;
}

void SerialPort::close() {
  if (!isOpen()) return;
  purge();
  termios saved{};
  std::memcpy(&saved, savedLine_, sizeof saved);
  ::tcsetattr(fdOf(handle_), TCSANOW, &saved);
  posix_tty::closeExclusive(fdOf(handle_));
  handle_ = kInvalidHandle;
}

int SerialPort::write(const std::uint8_t* data, int count, int timeoutMs) {
  if (!isOpen()) return SERIAL_NOT_OPEN;
  const int fd = fdOf(handle_);
  int written = 0;
  return transferAll(fd, count, timeoutMs, POLLOUT, written,
                     [&](int done) { return ::write(fd, data + done, count - done); });
}

int SerialPort::read(std::uint8_t* data, int count, int timeoutMs, int* received) {
  int got = 0;
  if (received != nullptr) *received = 0;
  if (!isOpen()) return SERIAL_NOT_OPEN;
  const int fd = fdOf(handle_);
  const int result = transferAll(fd, count, timeoutMs, POLLIN, got,
                                 [&](int done) { return ::read(fd, data + done, count - done); });
  if (received != nullptr) *received = got;
  return result;
}

int SerialPort::readPending(std::uint8_t* data, int capacity, int* received) {
  *received = 0;
  if (!isOpen()) return SERIAL_NOT_OPEN;
  while (*received < capacity) {
    const ssize_t n = ::read(fdOf(handle_), data + *received, capacity - *received);
    if (n > 0) {
      *received += static_cast<int>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      // Nothing more (EAGAIN), or a failing line that the exchange will meet.
      break;
    }
  }
  return SERIAL_OK;
}

namespace {

int flush(std::intptr_t handle, int queues) {
  return ::tcflush(fdOf(handle), queues) == 0 ? SERIAL_OK : SERIAL_SYSTEM_ERROR;
}

}  // namespace

int SerialPort::purge() { return isOpen() ? flush(handle_, TCIOFLUSH) : SERIAL_NOT_OPEN; }
int SerialPort::purgeInput() { return isOpen() ? flush(handle_, TCIFLUSH) : SERIAL_NOT_OPEN; }

int SerialPort::drain() {
  if (!isOpen()) return SERIAL_NOT_OPEN;
  if (handshake_ == 1) return SERIAL_HANDSHAKE_ACTIVE;
  for (;;) {
    if (::tcdrain(fdOf(handle_)) == 0) return SERIAL_OK;
    if (errno != EINTR) return SERIAL_SYSTEM_ERROR;
  }
}

int SerialPort::setRts() { return setRtsLine(true); }
int SerialPort::clearRts() { return setRtsLine(false); }

int SerialPort::setRtsLine(bool raised) {
  if (!isOpen()) return SERIAL_NOT_OPEN;
  if (handshake_ == 1) return SERIAL_HANDSHAKE_ACTIVE;
  int bits = TIOCM_RTS;
  return ::ioctl(fdOf(handle_), raised ? TIOCMBIS : TIOCMBIC, &bits) == 0 ? SERIAL_OK
                                                                          : SERIAL_SYSTEM_ERROR;
}

}  // namespace vs
