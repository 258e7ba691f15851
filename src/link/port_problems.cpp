#include "link/port_problems.h"

namespace vs {

std::string missingPortSentence(const std::string& port, const std::vector<SerialDevice>& present) {
  std::vector<std::string> names;
  for (const SerialDevice& device : present) {
    // The stable by-id links are second names of the nodes listed anyway.
    if (device.name.find("/by-id/") != std::string::npos) continue;
    names.push_back(device.description.empty() ? device.name
                                               : device.name + " (" + device.description + ")");
  }
  if (names.empty()) {
    return "There is no port " + port +
           ", and no serial port is present: plug the adapter in and try again.";
  }
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) list += i + 1 == names.size() ? " and " : ", ";
    list += names[i];
  }
  return "There is no port " + port + (names.size() == 1 ? "; the serial port here is "
                                                          : "; the serial ports here are ") +
         list + ".";
}

}  // namespace vs
