#include "registers/register_map.h"

#include <gtest/gtest.h>

#include <set>

#include "registers/register_values.h"

namespace vs {
namespace {

TEST(RegisterMap, NamesTheControllersRegistersByPosition) {
  EXPECT_EQ(RegisterMap[0], "stroke_gain");
  EXPECT_EQ(RegisterMap[23], "modbus_address");
  EXPECT_EQ(registerOfPosition(23), 135);
  EXPECT_EQ(RegisterMap[42], "02_sp_used");
  EXPECT_EQ(RegisterMap[113], "ecu_instance");
  EXPECT_EQ(registerOfPosition(113), 225);
  EXPECT_EQ(RegisterMap[114], "");

  // The roles the program gives some registers sit at the right positions.
  EXPECT_EQ(positionOfName("save_data_command"), 144 - 112);
  EXPECT_EQ(positionOfName("zeroing"), 153 - 112);
  EXPECT_EQ(positionOfName("do_sensor_cal"), 181 - 112);
  EXPECT_EQ(positionOfName("cal_timer_start"), 184 - 112);
  EXPECT_EQ(positionOfName("man_schedule_en"), 204 - 112);
  EXPECT_EQ(positionOfName("alt_start_pressure"), 188 - 112);
  EXPECT_FALSE(positionOfName("").has_value());
  EXPECT_FALSE(positionOfName("no_such_register").has_value());

  std::set<std::string_view> unique(RegisterMap.begin(), RegisterMap.end() - 1);
  EXPECT_EQ(unique.size(), 114u);
}

TEST(RegisterMap, FiveBlocksCoverEveryPositionOnceWithinTheFunctionLimits) {
  int next = 0;
  for (const auto& block : kSettingsBlocks) {
    EXPECT_EQ(block.firstPosition, next);
    EXPECT_EQ(block.firstRegister, registerOfPosition(block.firstPosition));
    EXPECT_LE(block.count, 100);  // fits one write-multiple request
    next += block.count;
  }
  EXPECT_EQ(next, kSettingsRegisterCount);
}

TEST(RegisterValues, KeepsSignedValuesByName) {
  RegisterValues values;
  const std::int16_t block[] = {-1, 5, 32767};
  values.setBlock(21, block, 3);
  EXPECT_EQ(values.get("min_pressure"), -1);
  EXPECT_EQ(values.get("serial_number"), 5);
  EXPECT_EQ(values.get("modbus_address"), 32767);
  EXPECT_EQ(values.get("o2_sp"), 0);
  EXPECT_FALSE(values.contains("o2_sp"));
}

}  // namespace
}  // namespace vs
