#include <cstdio>
#include <string>

#include "commands.h"
#include "link/serial_devices.h"

namespace vs::cli {

// "COM3  USB Serial Port (COM3)": the name to give --port, then what the
// system calls the device, where it says.
int runPorts(const Invocation&) {
  for (const SerialDevice& device : findSerialDevices()) {
    std::string line = device.name;
    if (!device.description.empty()) line += "  " + device.description;
    std::puts(line.c_str());
  }
  return CLI_OK;
}

}  // namespace vs::cli
