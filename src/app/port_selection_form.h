#pragma once

#include <string>
#include <vector>

#include "app/form.h"
#include "app/valve_link.h"

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
  // Characters of the port number that are read.
  static constexpr std::size_t kPortNumberLength = 8;

  PortSelectionForm(ValveLink& link, std::vector<std::string> devices)
      : Form(kTemplateId), devices(std::move(devices)), link_(link) {}

  std::string portNumber;  // both edits start empty
  std::string deviceId;
  const std::vector<std::string> devices;  // the serial devices present
  std::string device;                      // one of them, or empty: use the number

  // Takes the port ("COM" and the number, 0 without digits, or the chosen
  // device) and the Device ID (0 unless a whole number); nothing else is
  // checked. Ends with 1.
  void ok();
  void cancel() { end(2); }

 private:
  ValveLink& link_;
};

}  // namespace vs
