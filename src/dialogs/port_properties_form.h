#pragma once

#include <string>

#include "forms/form.h"

namespace vs {

// "Comm Port Properties": the line settings of the selected port. The program
// always opens the port at 9600 baud, 8 data bits, no parity, 1 stop bit, no
// flow control, which is what the controller speaks; the dialog shows them so
// that a technician can set a converter or another tool to match.
class PortPropertiesForm : public Form {
 public:
  // Not a dialog template of its own: numbered after its command.
  static constexpr int kTemplateId = 40007;
  static constexpr int kBaudRate = 9600;
  static constexpr int kDataBits = 8;
  static constexpr const char* kParity = "None";
  static constexpr int kStopBits = 1;
  static constexpr const char* kFlowControl = "None";

  explicit PortPropertiesForm(std::string portName)
      : Form(kTemplateId), portName(std::move(portName)) {}

  const std::string portName;

  void ok() { end(1); }
};

}  // namespace vs
