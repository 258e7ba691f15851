#include "app/port_selection_form.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>

namespace vs {
namespace {

// Leading blanks, a sign and digits, as far as they go; no digits give 0.
int leadingInteger(const std::string& text) { return std::atoi(text.c_str()); }

std::uint32_t wholeNumber(const std::string& text) {
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  return value;
}

}  // namespace

void PortSelectionForm::ok() {
  if (!device.empty()) {
    link_.portName = device;
  } else {
    link_.portName =
        "COM" + std::to_string(leadingInteger(portNumber.substr(0, kPortNumberLength)));
  }
  link_.slaveAddress = static_cast<std::int32_t>(wholeNumber(deviceId));
  end(1);
}

}  // namespace vs
