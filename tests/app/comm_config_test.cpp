#include "app/comm_config.h"

#include <gtest/gtest.h>

#include <fstream>

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
