#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <system_error>

#include "link/serial_devices.h"

#if defined(__linux__)
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace vs {
namespace {

struct Family {
  std::string_view prefix;
  bool probe;  // listed only when the port answers
};

// USB adapters exist only while plugged in; the built-in ttyS nodes exist
// whether or not there is a UART behind them. Adapters are not opened here:
// opening raises DTR, which resets some devices.
#if defined(__APPLE__)
constexpr Family kFamilies[] = {{"cu.usbserial", false}, {"cu.usbmodem", false}, {"cu.", false}};
#else
constexpr Family kFamilies[] = {{"ttyUSB", false}, {"ttyACM", false}, {"ttyS", true}};
#endif

bool answers(const std::filesystem::path& device) {
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  termios line{};
  bool ok = ::tcgetattr(fd, &line) == 0;
#if defined(__linux__)
  serial_struct info{};
  // A ttyS node without a UART behind it still opens; the driver knows better.
  ok = ok && ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
#endif
  ::close(fd);
  return ok;
}

// ttyUSB2 before ttyUSB10.
bool naturalLess(const std::string& a, const std::string& b) {
  const auto split = [](const std::string& s) {
    std::size_t digits = s.size();
    while (digits > 0 && s[digits - 1] >= '0' && s[digits - 1] <= '9') --digits;
    return std::pair{std::string_view(s).substr(0, digits), s.size() - digits};
  };
  const auto [stemA, lengthA] = split(a);
  const auto [stemB, lengthB] = split(b);
  if (stemA != stemB) return a < b;
  if (lengthA != lengthB) return lengthA < lengthB;
  return a < b;
}

std::vector<std::string> sortedEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end(), naturalLess);
  return names;
}

}  // namespace

std::vector<std::string> listSerialDevicesIn(const std::filesystem::path& devFolder) {
  std::vector<std::string> devices;
  const auto byId = devFolder / "serial" / "by-id";
  for (const auto& name : sortedEntries(byId)) devices.push_back((byId / name).string());

  const auto names = sortedEntries(devFolder);
  for (const Family& family : kFamilies) {
    for (const auto& name : names) {
      if (!name.starts_with(family.prefix)) continue;
      const std::string path = (devFolder / name).string();
      if (std::find(devices.begin(), devices.end(), path) != devices.end()) continue;
      if (family.probe && !answers(path)) continue;
      devices.push_back(path);
    }
  }
  return devices;
}

std::vector<SerialDevice> findSerialDevices() {
  std::vector<SerialDevice> devices;
  for (auto& name : listSerialDevicesIn("/dev")) devices.push_back({std::move(name), {}});
  return devices;
}

}  // namespace vs
