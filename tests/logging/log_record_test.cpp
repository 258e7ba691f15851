#include "logging/log_record.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "logging/log_file_name.h"
#include "support/time_zone.h"
#include "time/local_date_time.h"

namespace vs {
namespace {

TEST(LogRecord, EncodesLittleEndianByteForByte) {
  LogRecord record;
  record.timeStamp = 0x12345678;
  record.values = {1, -1, 0x01020304, 4000, 2000, -4, 0x7FFFFFFF, INT32_MIN, 850, 0};
  const auto bytes = record.encode();

  const LogRecord::Bytes expected = {
      0x78, 0x56, 0x34, 0x12,  // time stamp
      0x01, 0x00, 0x00, 0x00,  // 1
      0xFF, 0xFF, 0xFF, 0xFF,  // -1
      0x04, 0x03, 0x02, 0x01,  // 0x01020304
      0xA0, 0x0F, 0x00, 0x00,  // 4000
      0xD0, 0x07, 0x00, 0x00,  // 2000
      0xFC, 0xFF, 0xFF, 0xFF,  // -4
      0xFF, 0xFF, 0xFF, 0x7F,  // INT32_MAX
      0x00, 0x00, 0x00, 0x80,  // INT32_MIN
      0x52, 0x03, 0x00, 0x00,  // 850
      0x00, 0x00, 0x00, 0x00,  // spare
  };
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(LogRecord::decode(bytes.data()), record);
}

TEST(LogFileName, IsLocalYearMonthDayAndHourUnpadded) {
  EXPECT_EQ(logFileName({2026, 12, 6, 9, 59, 58, 999}), "log_2026_12_6_9.log");
  EXPECT_EQ(logFileName({2026, 10, 31, 23, 0, 0, 0}), "log_2026_10_31_23.log");
}

TEST(LocalDateTime, ConvertsCalendarTimeInTheLocalZone) {
  test::useTimeZone("EST5EDT,M3.2.0,M11.1.0");
  // 2026-07-01 12:30:15 UTC is 08:30:15 daylight time in New York.
  EXPECT_EQ(toLocalDateTime(1782909015, 250), (LocalDateTime{2026, 7, 1, 8, 30, 15, 250}));
  // 2027-01-01 04:59:59 UTC is still New Year's Eve there.
  EXPECT_EQ(toLocalDateTime(1798779599), (LocalDateTime{2026, 12, 31, 23, 59, 59, 0}));
}

}  // namespace
}  // namespace vs
