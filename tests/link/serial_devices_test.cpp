#include "link/serial_devices.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/pty_pair.h"
#include "support/temp_dir.h"

namespace vs {
namespace {

// A device folder of our own: adapters are listed by name, stable by-id links
// first, and built-in ports only when they answer as serial ports.
TEST(SerialDevices, ListsAdaptersByIdLinksAndAnsweringPorts) {
  test::TempDir dev;
  test::PtyPair answering;
  for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "tty0", "null"}) {
    std::ofstream(dev / name) << "";
  }
  std::filesystem::create_directories(dev / "serial" / "by-id");
  std::filesystem::create_symlink(dev / "ttyUSB2",
                                  dev / "serial" / "by-id" / "usb-FTDI_A5028-if00");
  std::filesystem::create_symlink(answering.path(), dev / "ttyS1");

  const auto devices = listSerialDevicesIn(dev.path());
  const std::string d = dev.path().string();
  EXPECT_EQ(devices, (std::vector<std::string>{d + "/serial/by-id/usb-FTDI_A5028-if00",
                                               d + "/ttyUSB2", d + "/ttyUSB10", d + "/ttyACM0"}))
      << "a pty answers as a terminal but not as a UART";
}

TEST(SerialDevices, AMissingFolderListsNothing) {
  EXPECT_TRUE(listSerialDevicesIn("/no/such/dev").empty());
}

}  // namespace
}  // namespace vs
