#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vs {

// The ten live values in log-record order; each is a register's signed 16-bit
// value widened to 32 bits.
enum LiveIndex : int {
  LIVE_O2_SET_POINT = 0,        // register 114, mV
  LIVE_O2_FEEDBACK = 1,         // register 12, mV
  LIVE_PRESSURE = 2,            // register 19, thousandths of in. W.C.
  LIVE_ACTUATOR = 3,            // register 21, 0 to 4000
  LIVE_ANALOG_INPUT = 4,        // register 26, hundredths of mA
  LIVE_MODE = 5,                // register 43
  LIVE_PRESSURE_SET_POINT = 6,  // register 20, thousandths of in. W.C.
  LIVE_PRE_CAT_TEMP = 7,        // register 89, F
  LIVE_POST_CAT_TEMP = 8,       // register 90, F
  LIVE_SPARE = 9,
  LIVE_VALUE_COUNT = 10,
};

using LiveValues = std::array<std::int32_t, LIVE_VALUE_COUNT>;

// The one application state record: the link to the controller, the polling
// counters and what the instruments show. Settings dialogs read and change the
// fields they name.
struct ValveLink {
  static constexpr std::size_t kPortNameCapacity = 15;  // characters, without terminator

  std::string portName = "COM1";
  std::int32_t slaveAddress = 1;
  std::int32_t pollFailures = -1;
  std::int32_t commStatus = -1;
  bool linkUp = false;
  bool playbackMode = false;
  bool chartZoomed = false;
  bool settingsLocked = true;
  std::int16_t connectAttempts = 0;
  std::int32_t connectSuccesses = 0;
  std::int16_t firmwareVersion = 0;  // register 28, hundredths: 462 is 4.62
  std::int32_t serialNumber = 0;
  double pressureRangeMin = -8.0;
  double pressureRangeMax = 24.0;
  std::int16_t warmUpSetting = 0;
  std::int16_t reportScale = 172;
  double reportDivisor = 100000.0;
  LiveValues liveValues{};

  // Register images of the poll, indexed by register minus the block's first.
  std::array<std::int16_t, 20> liveA{};  // 12 x 20
  std::array<std::int16_t, 10> liveB{};  // 114 x 10
  std::array<std::int16_t, 6> liveC{};   // 39 x 6
  std::array<std::int16_t, 2> liveD{};   // 89 x 2
  std::array<std::int32_t, 4> readResults{};
};

}  // namespace vs
