#include "sim/controller_defaults.h"

#include <cstdint>
#include <string_view>

namespace vs::sim {
namespace {

struct NamedValue {
  std::string_view name;
  std::int16_t value;
};

// Registers not listed hold 0.
constexpr NamedValue kDefaults[] = {
    {"stroke_gain", 1000},
    {"o2_sp", 720},
    {"demand_gain", 1000},
    {"milliamp_gain", 1000},
    {"o2_gain", 1000},
    {"manifold_gain", 1000},
    {"default_pressure", 3500},
    {"pos_prop", 120},
    {"pos_intrgal", 40},
    {"pressure_prop", 250},
    {"pressure_intgral", 60},
    {"load_gain_p", 100},
    {"load_gain_i", 20},
    {"o2_intgral", 15},
    {"max_pressure", 24000},
    {"min_pressure", -8000},
    {"serial_number", 20517},
    {"modbus_address", 1},
    {"dac1_gain", 1000},
    {"calibrated", 1},
    {"valve_type", 2},
    {"warmup_timer_start", 120},
    {"o2_fail_timer_start", 300},
    {"act_limit", 4000},
    {"ma_min", 400},
    {"ma_max", 2000},
    {"sp_min", -2000},
    {"sp_max", 12000},
    {"speed_p_min", 50},
    {"speed_p_max", 200},
    {"speed_i_min", 10},
    {"speed_i_max", 60},
    {"requested_speed", 1800},
    {"idle_delay", 30},
    {"speed_gain", 100},
    {"overspeed", 2070},
    {"min_speed", 600},
    {"max_speed", 1900},
    {"crank_speed", 150},
    {"ramp_rate", 50},
    {"idle_speed", 900},
    {"max_gov_limit", 3800},
    {"overshoot", 50},
    {"undershoot", 50},
    {"overshoot_gain", 100},
    {"undershoot_gain", 100},
    {"f_heater", 1},
    {"cal_timer_start", 60},
    {"afr_factor", 172},
    {"ic_speed_gain", 100},
    {"delay_timer", 5},
    {"alt_start_pressure", 2000},
    {"speed_threshold", 1000},
    {"air_gain", 1000},
    {"responce_gain", 100},
    {"manpress0", 1000},
    {"manpress1", 2000},
    {"manpress2", 3000},
    {"manpress3", 4000},
    {"manpress4", 5000},
    {"o2_sp0", 760},
    {"o2_sp1", 740},
    {"o2_sp2", 720},
    {"o2_sp3", 700},
    {"o2_sp4", 680},
    {"min_manifold", -8000},
    {"max_manifold", 24000},
    {"heater_sp", 750},
    {"heater_i", 10},
    {"heater_p", 100},
    {"o2_span", 1000},
    {"step_resolution", 8},
    {"post_cat_overtemp", 1350},
    {"pre_cat_overtemp", 1250},
    {"pre_cat_undertemp", 600},
    {"o2_data_tx_rate", 100},
    {"press_data_tx_rate", 100},
    {"misc_data_tx_rate", 1000},
    {"product_type", 4},
    {"enable_press_filter", 1},
};

}  // namespace

SettingsImage defaultSettings() {
  SettingsImage image{};
  for (const auto& [name, value] : kDefaults) {
    if (const auto position = positionOfName(name)) image[*position] = value;
  }
  return image;
}

}  // namespace vs::sim
