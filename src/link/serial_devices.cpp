#include "link/serial_devices.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

namespace vs {
namespace {

// 10 for "COM10"; nothing for a name that is not COM and a number.
std::optional<int> comNumber(std::string_view name) {
  if (!name.starts_with("COM")) return std::nullopt;
  int number = 0;
  const char* end = name.data() + name.size();
  const auto [stop, error] = std::from_chars(name.data() + 3, end, number);
  if (error != std::errc() || stop != end || number <= 0) return std::nullopt;
  return number;
}

}  // namespace

std::string portLabel(const SerialDevice& device) {
  if (device.description.empty()) return device.name;
  return device.name + " \u2014 " + device.description;
}

std::vector<std::string> listSerialDevices() {
  std::vector<std::string> names;
  for (auto& device : findSerialDevices()) names.push_back(std::move(device.name));
  return names;
}

std::vector<SerialDevice> arrangeComPorts(const std::vector<std::string>& names,
                                          const std::map<std::string, std::string>& descriptions) {
  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
    const auto na = comNumber(a);
    const auto nb = comNumber(b);
    if (na && nb) return *na < *nb;
    if (na || nb) return na.has_value();
    return a < b;
  });
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  std::vector<SerialDevice> devices;
  for (auto& name : sorted) {
    if (name.empty()) continue;
    const auto known = descriptions.find(name);
    devices.push_back({name, known != descriptions.end() ? known->second : std::string()});
  }
  return devices;
}

}  // namespace vs
