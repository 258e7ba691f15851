#include "app/comm_config.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace vs {
namespace {

class CommConfig : public ::testing::Test {
 protected:
  std::filesystem::path withContents(const std::string& contents) {
    std::ofstream(file, std::ios::binary) << contents;
    return file;
  }
  test::TempDir dir;
  std::filesystem::path file = dir / "comm_config.dat";
  std::string portName = "COM1";
};

TEST_F(CommConfig, MissingFileKeepsCom1) {
  EXPECT_EQ(readCommConfig(file, portName), CommConfigStatus::Missing);
  EXPECT_EQ(portName, "COM1");
}

TEST_F(CommConfig, ReadsOneWordAfterBlanks) {
  EXPECT_EQ(readCommConfig(withContents("  COM4\n"), portName), CommConfigStatus::Read);
  EXPECT_EQ(portName, "COM4");
  EXPECT_EQ(readCommConfig(withContents("\r\n\t/dev/ttyUSB0 COM9\r\n"), portName),
            CommConfigStatus::Read);
  EXPECT_EQ(portName, "/dev/ttyUSB0");
}

TEST_F(CommConfig, EmptyFileGivesAnEmptyName) {
  EXPECT_EQ(readCommConfig(withContents(""), portName), CommConfigStatus::Read);
  EXPECT_EQ(portName, "");
}

TEST_F(CommConfig, TooLongAWordIsInvalidAndKeepsTheName) {
  EXPECT_EQ(readCommConfig(withContents("COM1234567890123"), portName), CommConfigStatus::Invalid);
  EXPECT_EQ(portName, "COM1");
  EXPECT_EQ(readCommConfig(withContents("COM123456789012"), portName), CommConfigStatus::Read);
  EXPECT_EQ(portName, "COM123456789012");
}

TEST_F(CommConfig, DevicePathsMayBeLongerUpToTheirOwnLimit) {
  const std::string byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  EXPECT_EQ(readCommConfig(withContents(byId + "\n"), portName), CommConfigStatus::Read);
  EXPECT_EQ(portName, byId);

  portName = "COM1";
  const std::string huge = "/" + std::string(kMaxDevicePathLength, 'x');
  EXPECT_EQ(readCommConfig(withContents(huge), portName), CommConfigStatus::Invalid);
  EXPECT_EQ(portName, "COM1");
}

TEST_F(CommConfig, WritingReplacesTheFileWithTheBareName) {
  withContents("/dev/serial/by-id/some-long-adapter-name\n");
  ASSERT_TRUE(writeCommConfig(file, "COM3"));
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "COM3");
  EXPECT_EQ(readCommConfig(file, portName), CommConfigStatus::Read);
  EXPECT_EQ(portName, "COM3");

  EXPECT_FALSE(writeCommConfig(dir / "no" / "such" / "comm_config.dat", "COM3"));
}

}  // namespace
}  // namespace vs
