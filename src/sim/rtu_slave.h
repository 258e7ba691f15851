#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/simulated_controller.h"

namespace vs::sim {

// What the slave puts on the line in answer to one request.
struct Transmission {
  std::vector<std::uint8_t> bytes;      // empty: no reply
  std::chrono::milliseconds delay{0};   // beyond the turnaround, before the first byte
  std::chrono::milliseconds babble{0};  // noise for this long after the bytes
};

// The controller's Modbus RTU slave: one complete request frame in, what goes
// back on the line out, with the injected fault applied. Function codes 3, 4, 6
// and 16; any other code gets exception 1, registers outside 1 to 400
// exception 2. A wrong CRC or another slave's address gets no reply; a
// broadcast write is carried out without one.
class RtuSlave {
 public:
  explicit RtuSlave(SimulatedController& controller) : controller_(controller) {}

  Transmission respond(const std::uint8_t* frame, std::size_t length);

 private:
  // Carries the request out and returns the reply from the function code on.
  std::vector<std::uint8_t> execute(const std::uint8_t* pdu, std::size_t length);
  Transmission spoil(std::vector<std::uint8_t> reply, FaultKind fault);

  SimulatedController& controller_;
};

}  // namespace vs::sim
