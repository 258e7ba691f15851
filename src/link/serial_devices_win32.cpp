// initguid.h first makes devguid.h define, not only declare, its GUIDs.
// clang-format off
#include <windows.h>
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

#include <string>
#include <vector>

#include "link/serial_devices.h"

namespace vs {
namespace {

// A registry string without the terminating zeros it may or may not carry.
std::string stringOf(const BYTE* data, DWORD size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

// The port names the serial drivers publish, one value per port.
std::vector<std::string> publishedPorts() {
  std::vector<std::string> names;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return names;
  }
  for (DWORD index = 0;; ++index) {
    char valueName[256];
    DWORD valueNameSize = sizeof valueName;
    BYTE data[256];
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    const LONG result =
        ::RegEnumValueA(key, index, valueName, &valueNameSize, nullptr, &type, data, &dataSize);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_SUCCESS && type == REG_SZ) names.push_back(stringOf(data, dataSize));
  }
  ::RegCloseKey(key);
  return names;
}

// The friendly names of the ports present ("USB Serial Port (COM3)"), by the
// port name kept in each device's own key, and the latency timers that FTDI's
// driver keeps in that key; the ports found there are added to `names`, as a
// driver may not publish its port in SERIALCOMM.
std::map<std::string, std::string> friendlyNames(std::vector<std::string>& names,
                                                 std::map<std::string, int>& latencies) {
  std::map<std::string, std::string> descriptions;
  const HDEVINFO devices =
      ::SetupDiGetClassDevsA(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
  if (devices == INVALID_HANDLE_VALUE) return descriptions;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
    const HKEY key =
        ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) continue;
    BYTE port[256];
    DWORD portSize = sizeof port;
    DWORD type = 0;
    const bool named =
        ::RegQueryValueExA(key, "PortName", nullptr, &type, port, &portSize) == ERROR_SUCCESS &&
        type == REG_SZ;
    DWORD latency = 0;
    DWORD latencySize = sizeof latency;
    const bool timed = ::RegQueryValueExA(key, "LatencyTimer", nullptr, &type,
                                          reinterpret_cast<BYTE*>(&latency),
                                          &latencySize) == ERROR_SUCCESS &&
                       type == REG_DWORD;
    ::RegCloseKey(key);
    if (!named) continue;
    const std::string name = stringOf(port, portSize);
    if (timed) latencies[name] = static_cast<int>(latency);
    names.push_back(name);
    BYTE friendly[512];
    DWORD friendlySize = 0;
    if (::SetupDiGetDeviceRegistryPropertyA(devices, &device, SPDRP_FRIENDLYNAME, nullptr, friendly,
                                            sizeof friendly, &friendlySize)) {
      descriptions[name] = stringOf(friendly, friendlySize);
    }
  }
  ::SetupDiDestroyDeviceInfoList(devices);
  return descriptions;
}

}  // namespace

std::vector<SerialDevice> findSerialDevices() {
  std::vector<std::string> names = publishedPorts();
  std::map<std::string, int> latencies;
  const auto descriptions = friendlyNames(names, latencies);
  auto devices = arrangeComPorts(names, descriptions);
  for (auto& device : devices) {
    if (const auto known = latencies.find(device.name); known != latencies.end()) {
      device.latencyTimerMs = known->second;
    }
  }
  return devices;
}

}  // namespace vs
