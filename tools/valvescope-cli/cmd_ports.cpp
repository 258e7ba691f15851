#include <cstdio>
#include <string>

#include "commands.h"
#include "link/port_problems.h"
#include "link/serial_devices.h"

namespace vs::cli {

// "/dev/ttyUSB0  FT232R USB UART  latency timer 16 ms  may open": the name to
// give --port, what the system calls the device, how long the adapter holds
// what it receives, and (on POSIX, without opening it) whether this user may
// open it, or why not.
int runPorts(const Invocation&) {
#if !defined(_WIN32)
  const PortHost host = PortHost::current();
#endif
  for (const SerialDevice& device : findSerialDevices()) {
    std::string line = device.name;
    if (!device.description.empty()) line += "  " + device.description;
    if (device.latencyTimerMs) {
      line += "  latency timer " + std::to_string(*device.latencyTimerMs) + " ms";
    }
#if !defined(_WIN32)
    const std::string problem = portAccessProblem(device.name, host);
    line += problem.empty() ? "  may open" : "  may not open: " + problem;
#endif
    std::puts(line.c_str());
  }
  return CLI_OK;
}

}  // namespace vs::cli
