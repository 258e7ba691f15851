#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vs {

// The controller's 114 settings registers, 112 to 225, by their own names. The
// position in the map is the only link between a name and its register.
inline constexpr int kFirstSettingsRegister = 112;
inline constexpr int kSettingsRegisterCount = 114;

// The names in register order, followed by an empty entry that ends the map.
extern const std::array<std::string_view, kSettingsRegisterCount + 1> RegisterMap;

inline constexpr int registerOfPosition(int position) { return kFirstSettingsRegister + position; }
// Position of a name in the map, if it is one.
std::optional<int> positionOfName(std::string_view name);

// The settings are always read and written as these five blocks, in this order.
struct SettingsBlock {
  int firstRegister;
  int count;
  int firstPosition;
};
inline constexpr std::array<SettingsBlock, 5> kSettingsBlocks = {{
    {112, 22, 0},
    {134, 22, 22},
    {156, 22, 44},
    {178, 22, 66},
    {200, 26, 88},
}};

// Registers with a fixed role.
inline constexpr int REG_FIRMWARE_VERSION = 28;  // hundredths: 462 is 4.62
inline constexpr int REG_MAX_PRESSURE = 132;
inline constexpr int REG_MIN_PRESSURE = 133;
inline constexpr int REG_SERIAL_NUMBER = 134;
inline constexpr int REG_MODBUS_ADDRESS = 135;
inline constexpr int REG_SAVE_DATA_COMMAND = 144;
inline constexpr int REG_WARMUP_TIMER_START = 145;
inline constexpr int REG_ZEROING = 153;
inline constexpr int REG_DO_SENSOR_CAL = 181;
inline constexpr int REG_CAL_TIMER_START = 184;
inline constexpr int REG_AFR_FACTOR = 185;
inline constexpr int REG_MAN_SCHEDULE_EN = 204;
// Writing this value to 144 makes the controller store its settings; the same
// value goes to register 12 at the end of a settings download.
inline constexpr std::int16_t kSaveCommandValue = 4660;  // 0x1234
// Writing this value to 181 `do_sensor_cal` starts the O2 sensor's free-air
// calibration; the controller ignores any other value.
inline constexpr std::int16_t kCalibrationStartCode = 2736;

}  // namespace vs
