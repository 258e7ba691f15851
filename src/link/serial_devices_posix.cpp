#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
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

// The first line of a small text file (sysfs attributes end in a newline).
std::optional<std::string> firstLine(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) return std::nullopt;
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
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

std::filesystem::path underRoot(const std::filesystem::path& root, const std::string& path) {
  if (root.empty() || root == "/") return path;
  return root / std::filesystem::path(path).relative_path();
}

SerialDevice describeSerialDevice(const std::string& path, const std::filesystem::path& root) {
  namespace fs = std::filesystem;
  SerialDevice device{path, {}, std::nullopt};
  std::error_code error;
  // A by-id link names the same device as the node it points to.
  const fs::path node = fs::canonical(underRoot(root, path), error);
  if (error) return device;
  const fs::path sysDevice = underRoot(root, "/sys/class/tty") / node.filename() / "device";
  if (const auto latency = firstLine(sysDevice / "latency_timer")) {
    int ms = 0;
    const auto [end, parsed] = std::from_chars(latency->data(), latency->data() + latency->size(), ms);
    if (parsed == std::errc() && end == latency->data() + latency->size()) device.latencyTimerMs = ms;
  }
  // The USB device is the first folder up from the port's that has ids.
  fs::path at = fs::canonical(sysDevice, error);
  for (int up = 0; !error && up < 4 && at.has_relative_path(); ++up, at = at.parent_path()) {
    const auto vendor = firstLine(at / "idVendor");
    if (!vendor) continue;
    if (auto product = firstLine(at / "product"); product && !product->empty()) {
      device.description = std::move(*product);
    } else {
      const auto maker = firstLine(at / "manufacturer");
      const auto model = firstLine(at / "idProduct");
      device.description = (maker && !maker->empty() ? *maker + " " : std::string()) + *vendor +
                           ":" + model.value_or("");
    }
    break;
  }
  return device;
}

std::vector<SerialDevice> findSerialDevicesAt(const std::filesystem::path& root) {
  std::vector<SerialDevice> devices;
  const std::filesystem::path dev = underRoot(root, "/dev");
  for (const auto& found : listSerialDevicesIn(dev)) {
    // The system's own name for it: /dev/... whatever folder the tree is in.
    const std::string path = "/dev" + found.substr(dev.string().size());
    devices.push_back(describeSerialDevice(path, root));
  }
  return devices;
}

std::vector<SerialDevice> findSerialDevices() { return findSerialDevicesAt("/"); }

}  // namespace vs
