#include "link/serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <future>
#include <string>
#include <thread>

#include "scripted_slave.h"
#include "support/pty_pair.h"
#include "support/temp_dir.h"

namespace vs {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::PtyPair;

// The line as the device sees it, read through a descriptor of our own.
termios lineOf(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
  termios line{};
  ::tcgetattr(fd, &line);
  ::close(fd);
  return line;
}

void expectSameLine(const termios& a, const termios& b) {
  EXPECT_EQ(a.c_iflag, b.c_iflag);
  EXPECT_EQ(a.c_oflag, b.c_oflag);
  EXPECT_EQ(a.c_cflag, b.c_cflag);
  EXPECT_EQ(a.c_lflag, b.c_lflag);
  EXPECT_EQ(cfgetospeed(&a), cfgetospeed(&b));
}

TEST(SerialPortOpen, RefusesMissingEmptyAndOverlongNames) {
  SerialPort port;
  EXPECT_EQ(port.open("/dev/valvescope-no-such-port"), SERIAL_NOT_FOUND);
  EXPECT_EQ(port.open(""), SERIAL_NOT_FOUND);
  EXPECT_EQ(port.open("COM250"), SERIAL_NOT_FOUND);
  EXPECT_NE(port.open("/dev/" + std::string(5000, 'x')), SERIAL_OK);
  EXPECT_NE(port.open("../etc/passwd"), SERIAL_OK);
  EXPECT_FALSE(port.isOpen());
}

// A name with a slash is a path as it stands (a socat link in the current
// folder); a bare name is looked for in /dev.
TEST(SerialPortOpen, ANameWithASlashIsAPathFromTheCurrentFolder) {
  PtyPair line;
  test::TempDir dir;
  std::filesystem::create_symlink(line.path(), dir / "ttyV0");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  SerialPort port;
  EXPECT_EQ(port.open("./ttyV0"), SERIAL_OK);
  port.close();
  std::filesystem::current_path("/dev");
  const std::string inDev = line.path().substr(5);  // "pts/N"
  EXPECT_EQ(port.open(inDev), SERIAL_OK);
  port.close();
  EXPECT_EQ(port.open("ttyV0"), SERIAL_NOT_FOUND);  // not in /dev
  std::filesystem::current_path(previous);
}

TEST(SerialPortOpen, APortHeldByAnotherIsDenied) {
  PtyPair line;
  SerialPort first;
  SerialPort second;
  ASSERT_EQ(first.open(line.path()), SERIAL_OK);
  EXPECT_EQ(second.open(line.path()), SERIAL_ACCESS_DENIED);
  EXPECT_FALSE(second.isOpen());
  EXPECT_TRUE(first.isOpen());
  first.close();
  EXPECT_EQ(second.open(line.path()), SERIAL_OK);
}

TEST(SerialPortOpen, EveryOperationNeedsAnOpenPort) {
  SerialPort port;
  std::uint8_t byte = 0;
  EXPECT_EQ(port.configure(9600, 8, 1, 0, 0), SERIAL_NOT_OPEN);
  EXPECT_EQ(port.read(&byte, 1, 10), SERIAL_NOT_OPEN);
  EXPECT_EQ(port.write(&byte, 1, 10), SERIAL_NOT_OPEN);
  EXPECT_EQ(port.purge(), SERIAL_NOT_OPEN);
  EXPECT_EQ(port.drain(), SERIAL_NOT_OPEN);
  EXPECT_EQ(port.setRts(), SERIAL_NOT_OPEN);
  EXPECT_EQ(port.clearRts(), SERIAL_NOT_OPEN);
}

TEST(SerialPortLine, StartsAt9600EightNoneOneAndRestoresTheOldLineOnClose) {
  PtyPair line;
  {
    const int fd = ::open(line.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios odd = lineOf(line.path());
    odd.c_cflag |= PARENB | CSTOPB;
    odd.c_lflag |= ICANON;
    cfsetspeed(&odd, B19200);
    ASSERT_EQ(::tcsetattr(fd, TCSANOW, &odd), 0);
    ::close(fd);
  }
  const termios before = lineOf(line.path());

  SerialPort port;
  ASSERT_EQ(port.open(line.path()), SERIAL_OK);
  const termios opened = lineOf(line.path());
  EXPECT_EQ(cfgetospeed(&opened), B9600);
  EXPECT_EQ(opened.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(opened.c_cflag & (PARENB | CSTOPB), 0u);
  EXPECT_EQ(opened.c_lflag & ICANON, 0u);
  EXPECT_EQ(port.baudRate(), 9600);

  port.close();
  expectSameLine(lineOf(line.path()), before);
}

TEST(SerialPortLine, RefusedSettingsChangeNothing) {
  PtyPair line;
  SerialPort port;
  ASSERT_EQ(port.open(line.path()), SERIAL_OK);
  ASSERT_EQ(port.configure(19200, 8, 2, 0, 0), SERIAL_OK);
  const termios set = lineOf(line.path());
  EXPECT_EQ(cfgetospeed(&set), B19200);
  EXPECT_EQ(set.c_cflag & (CSIZE | CSTOPB | PARENB), static_cast<tcflag_t>(CS8 | CSTOPB));

  EXPECT_EQ(port.configure(9600, 5, 1, 0, 0), SERIAL_BAD_SETTING);
  EXPECT_EQ(port.configure(9600, 6, 1, 0, 0), SERIAL_BAD_SETTING);
  EXPECT_EQ(port.configure(9600, 8, 3, 0, 0), SERIAL_BAD_SETTING);
  EXPECT_EQ(port.configure(9600, 8, 1, 3, 0), SERIAL_BAD_SETTING);
  EXPECT_EQ(port.configure(9600, 8, 1, 0, 2), SERIAL_BAD_SETTING);
  EXPECT_EQ(port.configure(12345, 8, 1, 0, 0), SERIAL_BAD_SETTING);
  // Out of range for a pty, which quietly keeps 8 bits and no parity.
  EXPECT_EQ(port.configure(9600, 7, 1, 0, 0), SERIAL_BAD_SETTING);
  EXPECT_EQ(port.configure(9600, 8, 1, 2, 0), SERIAL_BAD_SETTING);
  expectSameLine(lineOf(line.path()), set);
  EXPECT_EQ(port.baudRate(), 19200);
}

TEST(SerialPortLine, HardwareHandshakeRefusesRtsAndDrain) {
  PtyPair line;
  SerialPort port;
  ASSERT_EQ(port.open(line.path()), SERIAL_OK);
  ASSERT_EQ(port.configure(9600, 8, 1, 0, 1), SERIAL_OK);
  EXPECT_EQ(port.setRts(), SERIAL_HANDSHAKE_ACTIVE);
  EXPECT_EQ(port.clearRts(), SERIAL_HANDSHAKE_ACTIVE);
  EXPECT_EQ(port.drain(), SERIAL_HANDSHAKE_ACTIVE);
  ASSERT_EQ(port.configure(9600, 8, 1, 0, 0), SERIAL_OK);
  EXPECT_EQ(port.drain(), SERIAL_OK);
}

class SerialPortTransfer : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(port.open(line.path()), SERIAL_OK); }

  PtyPair line;
  test::PendingInput watch{line.path()};
  SerialPort port;
};

TEST_F(SerialPortTransfer, WritesReachTheDeviceAndShortReadsKeepWhatArrived) {
  const std::uint8_t out[] = {0x01, 0x02, 0x03, 0x04};
  ASSERT_EQ(port.write(out, 4, 1000), SERIAL_OK);
  EXPECT_EQ(line.read(4, 5s), Bytes(out, out + 4));

  line.write({0x0A, 0x0B, 0x0C});
  ASSERT_TRUE(watch.waitFor(3));
  std::uint8_t in[5] = {};
  EXPECT_EQ(port.read(in, 5, 200), SERIAL_TIMEOUT);
  EXPECT_EQ(Bytes(in, in + 3), (Bytes{0x0A, 0x0B, 0x0C}));
}

TEST_F(SerialPortTransfer, EveryReadHasItsOwnTimeout) {
  std::uint8_t byte = 0;
  EXPECT_EQ(port.read(&byte, 1, 5), SERIAL_TIMEOUT);
  auto late = std::async(std::launch::async, [&] {
    std::this_thread::sleep_for(300ms);
    line.write({0x42});
  });
  EXPECT_EQ(port.read(&byte, 1, 10000), SERIAL_OK);
  EXPECT_EQ(byte, 0x42);
}

TEST_F(SerialPortTransfer, PurgeDiscardsWhatWaits) {
  line.write({1, 2, 3});
  ASSERT_TRUE(watch.waitFor(3));
  EXPECT_EQ(port.purge(), SERIAL_OK);
  std::uint8_t byte = 0;
  EXPECT_EQ(port.read(&byte, 1, 50), SERIAL_TIMEOUT);
}

TEST_F(SerialPortTransfer, AHangUpEndsAWaitingReadWithASystemError) {
  auto hangUp = std::async(std::launch::async, [&] {
    std::this_thread::sleep_for(100ms);
    line.closeMaster();
  });
  std::uint8_t byte = 0;
  // Waiting out the time-out would give SERIAL_TIMEOUT instead.
  EXPECT_EQ(port.read(&byte, 1, 60000), SERIAL_SYSTEM_ERROR);
  hangUp.get();
  EXPECT_EQ(port.read(&byte, 1, 60000), SERIAL_SYSTEM_ERROR);
  EXPECT_EQ(port.write(&byte, 1, 60000), SERIAL_SYSTEM_ERROR);
}

}  // namespace
}  // namespace vs
