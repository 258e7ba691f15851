#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vs {

// The serial ports present on this computer, as names the port can be opened
// by: COM names on Windows; on POSIX the stable /dev/serial/by-id links first
// (they stay the same whichever USB socket the adapter is in), then USB and
// ACM adapters, then built-in ports that answer.
std::vector<std::string> listSerialDevices();

#if !defined(_WIN32)
// The same for a device folder other than /dev.
std::vector<std::string> listSerialDevicesIn(const std::filesystem::path& devFolder);
#endif

}  // namespace vs
