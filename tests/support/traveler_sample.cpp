#include "support/traveler_sample.h"

#include <cstdint>
#include <utility>

namespace vs::test {

TravelerReport sampleTravelerReport(int firmware) {
  // Initialised rather than assigned: GCC 12 warns wrongly about assigning
  // short literals to strings here.
  TravelerReport report{.reportFor = "QX4",
                        .boardSerial = "B-7731",
                        .boardVersion = "3",
                        .hardwareVersion = "C",
                        .partNumber = "QX4-200-17",
                        .engineType = "G3516",
                        .customer = "Northfield Gas",
                        .technician = "R. Ames",
                        .commentLines = {},
                        .date = {2025, 3, 7},
                        .firmwareVersion = firmware,
                        .reportScale = 172,
                        .reportDivisor = 100000.0,
                        .values = {}};
  RegisterValues& v = report.values;
  const std::pair<const char*, std::int32_t> values[] = {
      {"serial_number", 20517},     {"default_pressure", 3500},
      {"max_pressure", 24000},      {"min_pressure", -8000},
      {"alt_start_pressure", 2000}, {"pressure_prop", 250},
      {"pressure_intgral", 60},     {"o2_sp", 720},
      {"o2_intgral", 15},           {"warmup_timer_start", 120},
      {"act_offset", -40},          {"act_limit", 4000},
      {"requested_speed", 1800},    {"speed_p_min", 50},
      {"speed_p_max", 200},         {"speed_i_min", 10},
      {"speed_i_max", 60},          {"idle_delay", 30},
      {"speed_offset", -12},        {"speed_gain", 100},
      {"overspeed", 2070},          {"gov_offset", 5},
      {"crank_speed", 150}};
  for (const auto& [name, value] : values) v.set(name, value);
  return report;
}

}  // namespace vs::test
