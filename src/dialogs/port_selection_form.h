#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/valve_link.h"
#include "link/serial_devices.h"

namespace vs {

// "Select Communication Port" (template 108): the port number after "COM" and
// the controller's "Device ID". Where the system can list its serial devices
// the user may pick one instead of typing a number, since a USB adapter's
// number is not printed on it.
class PortSelectionForm : public Form {
 public:
  static constexpr int kTemplateId = 108;
  static constexpr int PORT_EDIT = 1005;
  static constexpr int DEVICE_ID_EDIT = 1016;
  // The highest address a Modbus slave can have; 0 addresses every slave.
  static constexpr std::uint32_t kHighestDeviceId = 247;
  static constexpr const char* kPortRefused =
      "The port number must be a whole number, such as 3 for COM3.";
  static constexpr const char* kDeviceIdRefused =
      "The Device ID must be a whole number from 0 to 247.";

  PortSelectionForm(ValveLink& link, const std::vector<SerialDevice>& present);

  std::string portNumber;  // both edits start empty
  std::string deviceId;
  std::vector<std::string> devices;  // the serial devices present, by the name they open by
  // What the drop-down shows for each: "/dev/ttyUSB0 — FT232R USB UART".
  std::vector<std::string> labels;
  std::string device;  // one of `devices`, or empty: use the number

  // Takes the port ("COM" and the number, or the chosen device) and the
  // Device ID, an empty edit counting as 0, and ends with 1. A number edit
  // holding anything but a whole number (a Device ID above 247 included) is
  // refused in a message box, and the dialog stays open.
  void ok();
  void cancel() { end(2); }

 private:
  ValveLink& link_;
};

}  // namespace vs
