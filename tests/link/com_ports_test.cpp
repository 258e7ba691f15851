#include <gtest/gtest.h>

#include "link/serial_devices.h"

namespace vs {
namespace {

// Windows reports ports from the registry and from the device manager, the
// same port in both, in no useful order.
TEST(ComPorts, EachOnceByNumberWithTheirDeviceNames) {
  const auto devices = arrangeComPorts({"COM10", "COM2", "COM1", "CNCA0", "COM2", "", "COM10"},
                                       {{"COM10", "USB Serial Port (COM10)"}, {"COM7", "gone"}});
  EXPECT_EQ(devices,
            (std::vector<SerialDevice>{
                {"COM1", ""}, {"COM2", ""}, {"COM10", "USB Serial Port (COM10)"}, {"CNCA0", ""}}));
  EXPECT_TRUE(arrangeComPorts({}, {}).empty());
}

#if defined(_WIN32)
TEST(ComPorts, ThisComputersPortsComeSortedAndOnce) {
  const auto names = listSerialDevices();
  EXPECT_EQ(arrangeComPorts(names, {}).size(), names.size());
  for (std::size_t i = 1; i < names.size(); ++i) EXPECT_NE(names[i - 1], names[i]);
}
#endif

}  // namespace
}  // namespace vs
