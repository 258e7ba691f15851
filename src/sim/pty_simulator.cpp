#include "sim/pty_simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "sim/frame_assembler.h"

namespace vs::sim {
namespace {

using std::chrono::steady_clock;

constexpr int kDeviceDefaultBaud = 9600;
// Whatever is undecided in the receive buffer is settled after this much
// quiet at the least: USB adapters hand bytes over in bursts up to 16 ms apart.
constexpr auto kSilenceFloor = std::chrono::milliseconds(50);
// A reader that takes nothing for this long loses the rest of a reply.
constexpr int kWriteStallMs = 200;

bool speedOf(int baud, speed_t& speed) {
  switch (baud) {
    case 1200: speed = B1200; return true;
    case 2400: speed = B2400; return true;
    case 4800: speed = B4800; return true;
    case 9600: speed = B9600; return true;
    case 19200: speed = B19200; return true;
    case 38400: speed = B38400; return true;
    case 57600: speed = B57600; return true;
    case 115200: speed = B115200; return true;
    default: return false;
  }
}

steady_clock::duration characterTime(int baud) {
  // The line is always 8N1: start, 8 data and stop make 10 bits a character.
  return std::chrono::duration_cast<steady_clock::duration>(
      std::chrono::duration<double>(10.0 / baud));
}

void closeOnExec(int fd) { fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC); }

int milliseconds(steady_clock::duration d) {
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(d).count();
  return static_cast<int>(std::clamp<long long>(ms, 0, 60'000));
}

// Paced bytes are about a millisecond apart at 9600 baud, so waits are kept
// to the microsecond rather than rounded up to whole milliseconds.
timespec timespecOf(steady_clock::duration d) {
  const auto us = std::clamp<long long>(
      std::chrono::duration_cast<std::chrono::microseconds>(d).count(), 0, 60'000'000);
  return timespec{static_cast<time_t>(us / 1'000'000), static_cast<long>(us % 1'000'000) * 1000};
}

}  // namespace

PtySimulator::PtySimulator(SimulatedController& controller, LineOptions options)
    : controller_(controller), slave_(controller), options_(std::move(options)) {}

PtySimulator::~PtySimulator() { stop(); }

int PtySimulator::start() {
  if (thread_.joinable() || line_ >= 0) return EBUSY;
  speed_t speed{};
  const bool device = !options_.device.empty();
  const int baud = device && options_.baud == 0 ? kDeviceDefaultBaud : options_.baud;
  if (baud != 0 && !speedOf(baud, speed)) return EINVAL;
  const auto lineChar = characterTime(baud != 0 ? baud : kDeviceDefaultBaud);
  silence_ = std::max<Duration>(lineChar * 7 / 2, kSilenceFloor);
  charTime_ = device || baud == 0 ? Duration::zero() : lineChar;

  const int error = device ? openDevice() : openPty();
  if (error != 0) {
    closeLine();
    return error;
  }
  if (pipe(wake_) != 0) {
    const int pipeError = errno;
    closeLine();
    return pipeError;
  }
  closeOnExec(wake_[0]);
  closeOnExec(wake_[1]);
  thread_ = std::thread([this] { serve(); });
  return 0;
}

int PtySimulator::openPty() {
  line_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (line_ < 0) return errno;
  closeOnExec(line_);
  if (grantpt(line_) != 0 || unlockpt(line_) != 0) return errno;
  const char* name = ptsname(line_);
  if (name == nullptr) return errno;
  path_ = name;
  keepOpen_ = open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (keepOpen_ < 0) return errno;
  termios raw{};
  if (tcgetattr(keepOpen_, &raw) != 0) return errno;
  cfmakeraw(&raw);
  if (tcsetattr(keepOpen_, TCSANOW, &raw) != 0) return errno;
  fcntl(line_, F_SETFL, fcntl(line_, F_GETFL) | O_NONBLOCK);
  return 0;
}

int PtySimulator::openDevice() {
  path_ = options_.device;
  line_ = open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (line_ < 0) return errno;
  if (tcgetattr(line_, &savedLine_) != 0) return errno;
  restoreLine_ = true;
  termios raw = savedLine_;
  cfmakeraw(&raw);
  raw.c_cflag |= CLOCAL | CREAD;
  speed_t speed{};
  speedOf(options_.baud == 0 ? kDeviceDefaultBaud : options_.baud, speed);
  cfsetispeed(&raw, speed);
  cfsetospeed(&raw, speed);
  if (tcsetattr(line_, TCSANOW, &raw) != 0) return errno;
  tcflush(line_, TCIOFLUSH);
  return 0;
}

void PtySimulator::closeLine() {
  if (line_ >= 0 && restoreLine_) tcsetattr(line_, TCSANOW, &savedLine_);
  restoreLine_ = false;
  for (int* fd : {&line_, &keepOpen_, &wake_[0], &wake_[1]}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
}

void PtySimulator::stop() {
  if (thread_.joinable()) {
    const char byte = 0;
    while (write(wake_[1], &byte, 1) < 0 && errno == EINTR) {
    }
    thread_.join();
  }
  closeLine();
}

bool PtySimulator::waitUntil(TimePoint when) {
  for (;;) {
    const auto left = when - steady_clock::now();
    if (left <= Duration::zero()) return true;
    pollfd wake{wake_[0], POLLIN, 0};
    const timespec timeout = timespecOf(left);
    if (ppoll(&wake, 1, &timeout, nullptr) > 0) return false;
  }
}

bool PtySimulator::send(const std::uint8_t* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t n = write(line_, bytes, count);
    if (n > 0) {
      bytes += n;
      count -= static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return true;  // the line is gone; the read side notices
    pollfd fds[2] = {{line_, POLLOUT, 0}, {wake_[0], POLLIN, 0}};
    if (poll(fds, 2, kWriteStallMs) <= 0) return true;
    if (fds[1].revents != 0) return false;
  }
  return true;
}

bool PtySimulator::transmit(const Transmission& reply, TimePoint requestEnd) {
  // The slave turns the line round after 3.5 characters of quiet; byte i is
  // on the wire once its character time has passed.
  const TimePoint start =
      std::max(steady_clock::now(), requestEnd + charTime_ * 7 / 2) + reply.delay;
  const std::size_t size = reply.bytes.size();
  std::size_t sent = 0;
  while (sent < size) {
    if (!waitUntil(start + charTime_ * static_cast<long>(sent + 1))) return false;
    std::size_t upTo = size;
    if (charTime_ != Duration::zero()) {
      upTo = std::min(size, static_cast<std::size_t>((steady_clock::now() - start) / charTime_));
    }
    if (!send(reply.bytes.data() + sent, upTo - sent)) return false;
    sent = upTo;
  }
  // A device that keeps talking: noise at the line rate until its time is up.
  const Duration byteTime =
      charTime_ != Duration::zero() ? charTime_ : characterTime(kDeviceDefaultBaud);
  const TimePoint babbleEnd = start + charTime_ * static_cast<long>(size) + reply.babble;
  for (TimePoint at = std::max(start, steady_clock::now()); at < babbleEnd; at += byteTime) {
    if (!waitUntil(at)) return false;
    const std::uint8_t noise = controller_.faults().noiseByte();
    if (!send(&noise, 1)) return false;
  }
  return true;
}

void PtySimulator::serve() {
  FrameAssembler assembler(charTime_, silence_);
  serveUntilStopped(assembler);
  settleRest(assembler);
}

// A master that leaves sends "OUT" and goes; a stop right after it must not
// lose those bytes to the silence that would have settled them. Whatever the
// line still holds is taken as if the line had fallen quiet; a request among
// it goes unanswered.
void PtySimulator::settleRest(FrameAssembler& assembler) {
  std::uint8_t buffer[512];
  for (ssize_t n; (n = read(line_, buffer, sizeof buffer)) > 0;) {
    assembler.push(buffer, static_cast<std::size_t>(n), steady_clock::now());
  }
  while (auto piece = assembler.next(steady_clock::time_point::max())) {
    if (!piece->frame) controller_.recordStrayBytes(piece->bytes.data(), piece->bytes.size());
  }
}

void PtySimulator::serveUntilStopped(FrameAssembler& assembler) {
  for (;;) {
    while (auto piece = assembler.next(steady_clock::now())) {
      if (!piece->frame) {
        controller_.recordStrayBytes(piece->bytes.data(), piece->bytes.size());
        continue;
      }
      // A request counts as received once its bytes have had their line time.
      if (!waitUntil(piece->end)) return;
      const Transmission reply = slave_.respond(piece->bytes.data(), piece->bytes.size());
      if (!transmit(reply, piece->end)) return;
    }
    const auto settles = assembler.settlesAt();
    const int timeout = settles ? std::max(1, milliseconds(*settles - steady_clock::now())) : -1;
    pollfd fds[2] = {{line_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (poll(fds, 2, timeout) < 0 && errno != EINTR) return;
    if (fds[1].revents != 0) return;
    if (fds[0].revents == 0) continue;
    std::uint8_t buffer[512];
    const ssize_t n = read(line_, buffer, sizeof buffer);
    if (n > 0) {
      assembler.push(buffer, static_cast<std::size_t>(n), steady_clock::now());
    } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
      // A device that went away: look again later rather than spin.
      if (!waitUntil(steady_clock::now() + std::chrono::milliseconds(200))) return;
    }
  }
}

}  // namespace vs::sim
