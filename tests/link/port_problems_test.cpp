// Why a port will not open, read from a made-up system in a temporary folder:
// its /dev, /sys, /proc and /etc/group, and a user who is not root.

#include "link/port_problems.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "link/master_result.h"
#include "support/temp_dir.h"

namespace vs {
namespace {

namespace fs = std::filesystem;

const std::string kById = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

class MadeUpSystem : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path& root = dir.path();
    for (const char* node : {"dev/ttyUSB0", "dev/ttyACM0", "dev/ttyS0"}) {
      write(node, "");
      fs::permissions(root / node, fs::perms::owner_read | fs::perms::owner_write |
                                       fs::perms::group_read | fs::perms::group_write);
    }
    fs::create_directories(root / "dev/serial/by-id");
    fs::create_symlink("../../ttyUSB0", root / kById.substr(1));

    // An FTDI adapter with a latency timer, and a modem without a product name.
    const std::string ftdi = "sys/devices/pci0000:00/usb1/1-1";
    write(ftdi + "/idVendor", "0403\n");
    write(ftdi + "/idProduct", "6001\n");
    write(ftdi + "/manufacturer", "FTDI\n");
    write(ftdi + "/product", "FT232R USB UART\n");
    write(ftdi + "/1-1:1.0/ttyUSB0/latency_timer", "16\n");
    const std::string modem = "sys/devices/pci0000:00/usb1/1-2";
    write(modem + "/idVendor", "2341\n");
    write(modem + "/idProduct", "0043\n");
    write(modem + "/manufacturer", "Arduino (www.arduino.cc)\n");
    fs::create_directories(root / modem / "1-2:1.0/tty/ttyACM0");
    fs::create_directories(root / "sys/class/tty/ttyUSB0");
    fs::create_directories(root / "sys/class/tty/ttyACM0");
    fs::create_symlink("../../../devices/pci0000:00/usb1/1-1/1-1:1.0/ttyUSB0",
                       root / "sys/class/tty/ttyUSB0/device");
    fs::create_symlink("../../../devices/pci0000:00/usb1/1-2/1-2:1.0",
                       root / "sys/class/tty/ttyACM0/device");

    // The nodes' group is dialout here, whatever this process's group is.
    write("etc/group", "root:x:" + std::to_string(gid + 1) + ":\ndialout:x:" + std::to_string(gid) +
                           ":carol,erin\nplugdev:x:" + std::to_string(gid + 2) + ":dave\n");
    // minicom holds the adapter.
    write("proc/4242/comm", "minicom\n");
    fs::create_directories(root / "proc/4242/fd");
    fs::create_symlink("/dev/pts/3", root / "proc/4242/fd/0");
    fs::create_symlink("/dev/ttyUSB0", root / "proc/4242/fd/3");
    write("proc/meminfo", "");
  }
  void write(const std::string& file, const std::string& text) {
    fs::create_directories((dir / file).parent_path());
    std::ofstream(dir / file) << text;
  }
  // Not root and not the nodes' owner, in the given groups.
  PortHost user(const std::string& name, std::vector<std::uint32_t> groups) {
    return {dir.path(), ::getuid() + 1000, std::move(groups), name};
  }

  test::TempDir dir;
  const std::uint32_t gid = ::getgid();
};

TEST_F(MadeUpSystem, UsbAdaptersAreDescribedFromSysfs) {
  const auto devices = findSerialDevicesAt(dir.path());
  EXPECT_EQ(devices, (std::vector<SerialDevice>{
                         {kById, "FT232R USB UART", 16},
                         {"/dev/ttyUSB0", "FT232R USB UART", 16},
                         {"/dev/ttyACM0", "Arduino (www.arduino.cc) 2341:0043", std::nullopt},
                     }))
      << "ttyS0 is left out: it does not answer as a UART";
  EXPECT_EQ(portLabel(devices[1]), "/dev/ttyUSB0 \u2014 FT232R USB UART");
  EXPECT_EQ(portLabel({"/dev/ttyS0", "", std::nullopt}), "/dev/ttyS0");
}

TEST_F(MadeUpSystem, AMissingPortNamesThePortsThereAre) {
  const PortHost host = user("erin", {gid});
  EXPECT_EQ(explainOpenFailure("/dev/ttyUSB1", MODBUS_PORT_OPEN_FAILED, host),
            "There is no port /dev/ttyUSB1; the serial ports here are /dev/ttyUSB0 (FT232R USB "
            "UART) and /dev/ttyACM0 (Arduino (www.arduino.cc) 2341:0043).");
  fs::remove_all(dir / "dev");
  EXPECT_EQ(explainOpenFailure("COM3", MODBUS_PORT_OPEN_FAILED, host),
            "There is no port COM3, and no serial port is present: plug the adapter in and try "
            "again.");
}

// The system says "permission denied" as it says "busy": the owner, group and
// mode of the node tell which it is.
TEST_F(MadeUpSystem, APortTheUserMayNotOpenNamesTheGroupAndHowToJoinIt) {
  EXPECT_EQ(explainOpenFailure("/dev/ttyACM0", MODBUS_PORT_IN_USE, user("dave", {gid + 2})),
            "Only members of the group dialout may open /dev/ttyACM0, and dave is not one: run "
            "\"sudo adduser dave dialout\", then log out and in again.");
  EXPECT_EQ(explainOpenFailure("ttyACM0", MODBUS_PORT_IN_USE, user("carol", {})),
            "You were added to the group dialout, which may open ttyACM0, after this session "
            "began: log out and in again (or restart the computer) to open it.");
  EXPECT_EQ(portAccessProblem("/dev/ttyACM0", user("erin", {gid})), "");
  EXPECT_EQ(portAccessProblem("/dev/ttyACM0", PortHost{dir.path(), 0, {}, "root"}), "");

  fs::permissions(dir / "dev/ttyACM0", fs::perms::group_all, fs::perm_options::remove);
  EXPECT_EQ(portAccessProblem("/dev/ttyACM0", user("erin", {gid})),
            "Only its owner may open /dev/ttyACM0: a udev rule must give it to a group such as "
            "dialout, or ask the computer's administrator.");
}

TEST_F(MadeUpSystem, APortInUseNamesTheProgramWhereTheSystemTells) {
  const PortHost erin = user("erin", {gid});
  EXPECT_EQ(explainOpenFailure(kById, MODBUS_PORT_IN_USE, erin),
            kById + " is in use by minicom (process 4242): close that program and try again.");
  EXPECT_EQ(portAccessProblem("/dev/ttyUSB0", erin),
            "/dev/ttyUSB0 is in use by minicom (process 4242): close that program and try again.");
  EXPECT_EQ(explainOpenFailure("/dev/ttyACM0", MODBUS_PORT_IN_USE, erin),
            "/dev/ttyACM0 is in use by another program: close that program and try again.");
  EXPECT_EQ(explainOpenFailure("/dev/ttyACM0", MODBUS_PORT_OPEN_FAILED, erin),
            "/dev/ttyACM0 is there but would not open as a serial port: unplug the adapter, "
            "plug it in again and try again.");
}

}  // namespace
}  // namespace vs
