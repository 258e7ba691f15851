#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "link/serial_devices.h"

namespace vs {

std::vector<std::string> listSerialDevices() {
  // Every DOS device name, NUL-separated; the buffer grows until they fit.
  std::vector<char> names(16 * 1024);
  for (;;) {
    const DWORD length = ::QueryDosDeviceA(nullptr, names.data(), static_cast<DWORD>(names.size()));
    if (length != 0) break;
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || names.size() > (1u << 24)) return {};
    names.resize(names.size() * 2);
  }
  std::vector<int> numbers;
  for (const char* name = names.data(); *name != 0; name += std::strlen(name) + 1) {
    if (std::strncmp(name, "COM", 3) != 0) continue;
    char* end = nullptr;
    const long number = std::strtol(name + 3, &end, 10);
    if (end != name + 3 && *end == 0 && number > 0) numbers.push_back(static_cast<int>(number));
  }
  std::sort(numbers.begin(), numbers.end());
  std::vector<std::string> devices;
  for (const int number : numbers) devices.push_back("COM" + std::to_string(number));
  return devices;
}

}  // namespace vs
