#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vs {

struct SerialDevice {
  std::string name;         // what the port is opened by: "COM3", "/dev/ttyUSB0"
  std::string description;  // the device's own name where the system has one, else empty

  bool operator==(const SerialDevice&) const = default;
};

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
#endif

}  // namespace vs
