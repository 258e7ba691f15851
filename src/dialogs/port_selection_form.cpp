#include "dialogs/port_selection_form.h"

#include <cstdint>
#include <optional>

#include "dialogs/typed_numbers.h"

namespace vs {
namespace {

// An edit's whole number, 0 when it is empty; nothing when it holds anything
// else, so that "2,5" is never taken for 2 or 25.
std::optional<std::uint32_t> typedNumber(const std::string& text) {
  if (text.find_first_not_of(" \t") == std::string::npos) return 0u;
  return readWholeNumber(text);
}

}  // namespace

PortSelectionForm::PortSelectionForm(ValveLink& link, const std::vector<SerialDevice>& present)
    : Form(kTemplateId), link_(link) {
  for (const SerialDevice& device : present) {
    devices.push_back(device.name);
    labels.push_back(portLabel(device));
  }
}

void PortSelectionForm::ok() {
  const auto port = typedNumber(portNumber);
  if (device.empty() && !port) {
    host().messageBox(kPortRefused, "Notice", Icon::Exclamation, Buttons::Ok);
    return;
  }
  const auto address = typedNumber(deviceId);
  if (!address || *address > kHighestDeviceId) {
    host().messageBox(kDeviceIdRefused, "Notice", Icon::Exclamation, Buttons::Ok);
    return;
  }
  link_.portName = device.empty() ? "COM" + std::to_string(*port) : device;
  link_.slaveAddress = static_cast<std::int32_t>(*address);
  end(1);
}

}  // namespace vs
