#include "shell/comm_config.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <fstream>
#include <future>

#include "support/temp_dir.h"

namespace vs {
namespace {

TEST(CommConfig, ReadsOneWordOrKeepsTheName) {
  const std::string byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  struct Case {
    std::string contents;
    CommConfigStatus status;
    std::string portName;
  } cases[] = {
      {"  COM4\n", CommConfigStatus::Read, "COM4"},
      {"\r\n\t/dev/ttyUSB0 COM9\r\n", CommConfigStatus::Read, "/dev/ttyUSB0"},
      {"", CommConfigStatus::Read, ""},
      {"COM123456789012", CommConfigStatus::Read, "COM123456789012"},  // 15 fit
      {"COM1234567890123", CommConfigStatus::Invalid, "COM1"},
      {byId + "\n", CommConfigStatus::Read, byId},
      {"/" + std::string(kMaxDevicePathLength, 'x'), CommConfigStatus::Invalid, "COM1"},
      // Control bytes, which a terminal would obey if they were echoed to it.
      {"COM3\x1b]0;owned\x07", CommConfigStatus::Invalid, "COM1"},
      {"\x1b[2J", CommConfigStatus::Invalid, "COM1"},
      {"COM\xc3\xa9", CommConfigStatus::Invalid, "COM1"},
      {"COM5 \x1b[2J", CommConfigStatus::Read, "COM5"},  // after the word: never read
      {std::string(kMaxCommConfigSize, ' ') + "COM6", CommConfigStatus::Invalid, "COM1"},
  };
  test::TempDir dir;
  const auto file = dir / "comm_config.dat";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.contents);
    std::ofstream(file, std::ios::binary) << c.contents;
    std::string portName = "COM1";
    EXPECT_EQ(readCommConfig(file, portName), c.status);
    EXPECT_EQ(portName, c.portName);
  }
  std::string portName = "COM1";
  EXPECT_EQ(readCommConfig(dir / "missing.dat", portName), CommConfigStatus::Missing);
  EXPECT_EQ(portName, "COM1");
}

// A pipe would hold the program until something wrote to it; this test opens
// it for writing itself after a while, so that a reader stuck there fails the
// test instead of hanging it.
TEST(CommConfig, OnlyARegularFileIsOpened) {
  test::TempDir dir;
  std::string portName = "COM1";
#if !defined(_WIN32)  // named pipes and devices in the file system
  const auto pipe = dir / "comm_config.dat";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  auto reading = std::async(std::launch::async, [&] { return readCommConfig(pipe, portName); });
  if (reading.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
    close(open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
    ADD_FAILURE() << "the reader waited for a writer";
  }
  EXPECT_EQ(reading.get(), CommConfigStatus::NotAFile);
  EXPECT_EQ(portName, "COM1");
  EXPECT_FALSE(writeCommConfig(pipe, "COM3"));
  EXPECT_EQ(readCommConfig("/dev/zero", portName), CommConfigStatus::NotAFile);
#endif

  const auto folder = dir / "folder";
  std::filesystem::create_directory(folder);
  EXPECT_EQ(readCommConfig(folder, portName), CommConfigStatus::Folder);
  EXPECT_FALSE(writeCommConfig(folder, "COM3"));
  EXPECT_EQ(portName, "COM1");
}

TEST(CommConfig, WritingReplacesTheFileWithTheBareName) {
  test::TempDir dir;
  const auto file = dir / "comm_config.dat";
  std::ofstream(file) << "/dev/serial/by-id/some-long-adapter-name\n";
  ASSERT_TRUE(writeCommConfig(file, "COM3"));
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "COM3");

  EXPECT_FALSE(writeCommConfig(dir / "no" / "such" / "comm_config.dat", "COM3"));
}

}  // namespace
}  // namespace vs
