#include <windows.h>

#include "link/master_result.h"
#include "link/port_problems.h"

namespace vs {
namespace {

// "\\.\COM10" is COM10.
std::string plainName(const std::string& port) {
  return port.rfind("\\\\.\\", 0) == 0 ? port.substr(4) : port;
}

}  // namespace

std::optional<int> adapterLatencyTimer(const std::string& port) {
  const std::string name = plainName(port);
  for (const SerialDevice& device : findSerialDevices()) {
    if (::lstrcmpiA(device.name.c_str(), name.c_str()) == 0) return device.latencyTimerMs;
  }
  return std::nullopt;
}

std::string explainOpenFailure(const std::string& port, int masterResult) {
  // Windows does not say which program holds a port.
  if (masterResult == MODBUS_PORT_IN_USE) {
    return port + " is in use by another program: close that program and try again.";
  }
  const auto present = findSerialDevices();
  const std::string name = plainName(port);
  for (const SerialDevice& device : present) {
    if (::lstrcmpiA(device.name.c_str(), name.c_str()) == 0) {
      return port + " is there but would not open: unplug the adapter, plug it in again and "
                    "try again.";
    }
  }
  return missingPortSentence(port, present);
}

std::string lowerLatencyAdvice(const std::string& port, int timerMs) {
  return "The USB adapter on " + port + " holds what it receives up to " +
         std::to_string(timerMs) +
         " ms before passing it on: set its Latency Timer to 1 ms in Device Manager (the "
         "port's Properties, Port Settings, Advanced).";
}

}  // namespace vs
