#include "link/posix_tty.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/line_settings.h"
#include "link/serial_port.h"

namespace vs::posix_tty {
namespace {

// "COMn" (any case, n from 1) is the n-th standard serial port; the
// application builds such names from a port number.
bool comPortNumber(const std::string& name, long* number) {
  if (name.size() < 4 || name.size() > 12) return false;
  if (strncasecmp(name.c_str(), "COM", 3) != 0) return false;
  long n = 0;
  for (std::size_t i = 3; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
    n = n * 10 + (name[i] - '0');
  }
  *number = n;
  return n >= 1;
}

int openError(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return SERIAL_NOT_FOUND;
    case EBUSY:
    case EWOULDBLOCK:
    case EACCES: return SERIAL_ACCESS_DENIED;
    default: return SERIAL_SYSTEM_ERROR;
  }
}

// The termios speed for a baud rate; false when the platform has none.
bool speedOf(int baudRate, speed_t* speed) {
  struct Rate {
    int baud;
    speed_t speed;
  };
  static constexpr Rate kRates[] = {
      {50, B50},         {75, B75},         {110, B110},       {134, B134},     {150, B150},
      {200, B200},       {300, B300},       {600, B600},       {1200, B1200},   {1800, B1800},
      {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200}, {38400, B38400},
      {57600, B57600},   {115200, B115200}, {230400, B230400},
#ifdef B460800
      {460800, B460800},
#endif
#ifdef B921600
      {921600, B921600},
#endif
  };
  for (const Rate& rate : kRates) {
    if (rate.baud == baudRate) {
      *speed = rate.speed;
      return true;
    }
  }
  return false;
}

// The character frame and flow control: what a device may quietly refuse.
#ifdef CRTSCTS
constexpr tcflag_t kFrameBits = CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS;
#else
constexpr tcflag_t kFrameBits = CSIZE | CSTOPB | PARENB | PARODD;
#endif

}  // namespace

std::string devicePath(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return name;
  long number = 0;
  if (comPortNumber(name, &number)) return "/dev/ttyS" + std::to_string(number - 1);
  return "/dev/" + name;
}

int openExclusive(const std::string& name, int* fd) {
  const std::string path = devicePath(name);
  if (path.empty()) return SERIAL_NOT_FOUND;
  const int handle = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (handle < 0) return openError(errno);
  if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(handle);
    return openError(error);
  }
  // Not a terminal (ENOTTY) is no serial port either.
  if (::ioctl(handle, TIOCEXCL) != 0) {
    ::close(handle);
    return SERIAL_SYSTEM_ERROR;
  }
  *fd = handle;
  return SERIAL_OK;
}

void closeExclusive(int fd) {
  // The exclusive flag belongs to the terminal, not to this descriptor: clear
  // it, or the next program to open the port is turned away.
  ::ioctl(fd, TIOCNXCL);
  ::close(fd);
}

int applyLine(int fd, int baudRate, int dataBits, int stopBits, int parity, int handshake) {
  termios previous{};
  if (::tcgetattr(fd, &previous) != 0) return SERIAL_SYSTEM_ERROR;
  if (!validLineSettings(dataBits, stopBits, parity, handshake)) return SERIAL_BAD_SETTING;
  speed_t speed = B0;
  if (!speedOf(baudRate, &speed)) return SERIAL_BAD_SETTING;

  termios line = previous;
  ::cfmakeraw(&line);
  line.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | IGNPAR);
  // HUPCL off: DTR stays up when the port is closed.
  line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | HUPCL);
  line.c_cflag |= CLOCAL | CREAD | (dataBits == 8 ? CS8 : CS7);
  if (stopBits == 2) line.c_cflag |= CSTOPB;
  if (parity != 0) {
    line.c_cflag |= PARENB | (parity == 1 ? PARODD : 0);
    line.c_iflag |= INPCK;
  }
#ifdef CRTSCTS
  if (handshake == 1) {
    line.c_cflag |= CRTSCTS;
  } else {
    line.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
  }
#endif
  // With VMIN 1 an empty non-blocking read says EAGAIN; the callers wait with poll().
  line.c_cc[VMIN] = 1;
  line.c_cc[VTIME] = 0;
  if (::cfsetispeed(&line, speed) != 0 || ::cfsetospeed(&line, speed) != 0) {
    return SERIAL_BAD_SETTING;
  }
  if (::tcsetattr(fd, TCSANOW, &line) != 0) return SERIAL_BAD_SETTING;
  // tcsetattr succeeds when any part was taken: a device that cannot do the
  // frame or the speed (a pty knows only 8 bits, no parity) quietly keeps its
  // own. Such a refusal must not pass for success, nor leave a half-set line.
  termios applied{};
  if (::tcgetattr(fd, &applied) != 0) return SERIAL_SYSTEM_ERROR;
  if ((applied.c_cflag & kFrameBits) != (line.c_cflag & kFrameBits) ||
      ::cfgetospeed(&applied) != speed) {
    ::tcsetattr(fd, TCSANOW, &previous);
    return SERIAL_BAD_SETTING;
  }
  return SERIAL_OK;
}

WaitResult waitFor(int fd, short events, Deadline deadline) {
  for (;;) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= Deadline::duration::zero()) return WaitResult::TimedOut;
    // Rounded up, so that a sub-millisecond remainder waits instead of spinning.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    pollfd p{fd, events, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(ms));
    if (ready < 0) {
      if (errno == EINTR) continue;
      return WaitResult::Failed;
    }
    if (ready == 0) continue;
    // A hung-up terminal also reports itself readable and writable; it must
    // not be taken for one that is.
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return WaitResult::Failed;
    if (p.revents & events) return WaitResult::Ready;
  }
}

}  // namespace vs::posix_tty
