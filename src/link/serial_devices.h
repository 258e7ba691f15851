#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vs {

struct SerialDevice {
  std::string name;         // what the port is opened by: "COM3", "/dev/ttyUSB0"
  std::string description;  // the device's own name where the system has one, else empty
  // How long a USB adapter may hold received bytes before passing them on,
  // where the system tells (an FTDI chip's latency timer).
  std::optional<int> latencyTimerMs = std::nullopt;

  bool operator==(const SerialDevice&) const = default;
};

// "ttyUSB0 — FT232R USB UART" for a port list; the name alone without a
// description.
std::string portLabel(const SerialDevice& device);

// The serial ports present on this computer: COM names on Windows, sorted by
// number, with the device's friendly name where it has one; on POSIX the
// stable /dev/serial/by-id links first (they stay the same whichever USB
// socket the adapter is in), then USB and ACM adapters, then built-in ports
// that answer.
std::vector<SerialDevice> findSerialDevices();

// The names alone, in the same order.
std::vector<std::string> listSerialDevices();

// Port names as a system reports them (some more than once) and the device
// names known for some of them, as the list to show: each name once, COM
// ports by number (COM2 before COM10), any other names after them.
std::vector<SerialDevice> arrangeComPorts(const std::vector<std::string>& names,
                                          const std::map<std::string, std::string>& descriptions);

#if !defined(_WIN32)
// The POSIX list for a device folder other than /dev.
std::vector<std::string> listSerialDevicesIn(const std::filesystem::path& devFolder);

// The ports of a system whose /dev and /sys lie under `root` ("/" for this
// one), named as that system names them ("/dev/ttyUSB0"), described from sysfs:
// a USB adapter by its product name (else maker and vendor:product ids), and
// its latency timer where the driver has one.
std::vector<SerialDevice> findSerialDevicesAt(const std::filesystem::path& root);
// One device path of that system, described the same way.
SerialDevice describeSerialDevice(const std::string& path, const std::filesystem::path& root);
// `path` of that system as a path of this one.
std::filesystem::path underRoot(const std::filesystem::path& root, const std::string& path);
#endif

}  // namespace vs
