#include "registers/register_map.h"

namespace vs {

const std::array<std::string_view, kSettingsRegisterCount + 1> RegisterMap = {
    "stroke_gain",       "stroke_offset",     "o2_sp",
    "demand_gain",       "demand_offset",     "milliamp_gain",
    "milliamp_offset",   "o2_gain",           "o2_offset",
    "manifold_gain",     "manifold_offset",   "default_pressure",
    "pos_prop",          "pos_intrgal",       "pressure_prop",
    "pressure_intgral",  "load_gain_p",       "load_gain_i",
    "o2_intgral",        "act_offset",        "max_pressure",
    "min_pressure",      "serial_number",     "modbus_address",
    "dac1_gain",         "dac1_offset",       "calibrated",
    "diag",              "valve_type",        "f_ign_confirm",
    "f_act_pwr",         "sensor_ignore",     "save_data_command",
    "warmup_timer_start", "o2_fail_timer_start", "act_limit",
    "ma_min",            "ma_max",            "sp_min",
    "sp_max",            "sp_enable",         "zeroing",
    "02_sp_used",        "speed_p_min",       "speed_p_max",
    "speed_i_min",       "speed_i_max",       "transient_reset",
    "requested_speed",   "idle_delay",        "speed_offset",
    "speed_gain",        "overspeed",         "gov_offset",
    "min_speed",         "max_speed",         "crank_speed",
    "ramp_rate",         "idle_speed",        "max_gov_limit",
    "overshoot",         "undershoot",        "overshoot_gain",
    "undershoot_gain",   "force_o2",          "f_heater",
    "speed_deriv_g_min", "speed_deriv_g_max", "f_gov",
    "do_sensor_cal",     "f_act",             "governor_mode",
    "cal_timer_start",   "afr_factor",        "ic_speed_gain",
    "delay_timer",       "alt_start_pressure", "speed_threshold",
    "air_gain",          "air_offset",        "responce_gain",
    "responce_offset",   "manpress0",         "manpress1",
    "manpress2",         "manpress3",         "manpress4",
    "o2_sp0",            "o2_sp1",            "o2_sp2",
    "o2_sp3",            "o2_sp4",            "man_schedule_en",
    "min_manifold",      "max_manifold",      "heater_sp",
    "heater_i",          "heater_p",          "o2_sensor_offset",
    "o2_span",           "step_resolution",   "post_cat_overtemp",
    "pre_cat_overtemp",  "pre_cat_undertemp", "can_enable",
    "pressure_slave",    "o2_data_tx_rate",   "press_data_tx_rate",
    "misc_data_tx_rate", "product_type",      "j1939_preffered_source_address",
    "spare",             "enable_press_filter", "ecu_instance",
    "",
};

std::optional<int> positionOfName(std::string_view name) {
  for (int i = 0; i < kSettingsRegisterCount; ++i) {
    if (RegisterMap[i] == name) return i;
  }
  return std::nullopt;
}

}  // namespace vs
