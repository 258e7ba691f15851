#include "logging/log_csv_export.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "logging/log_files.h"
#include "registers/mode_label.h"
#include "support/temp_dir.h"
#include "support/time_zone.h"
#include "time/local_date_time.h"

namespace vs {
namespace {

std::vector<std::string> split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(separator, from)) != std::string::npos;) {
    parts.push_back(text.substr(from, at - from));
    from = at + separator.size();
  }
  parts.push_back(text.substr(from));
  return parts;
}

// "-1.234" with 3 decimals back to -1234, exactly.
std::int64_t unscale(std::string text, std::size_t decimals) {
  const auto point = text.find('.');
  EXPECT_EQ(text.size() - point - 1, decimals) << text;
  return std::stoll(text.erase(point, 1));
}

std::string localText(std::int32_t unixSeconds) {
  const auto t = toLocalDateTime(unixSeconds);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

class CsvExport : public ::testing::Test {
 protected:
  void SetUp() override { test::useTimeZone("EST5EDT,M3.2.0,M11.1.0"); }
  test::TempDir dir;
};

TEST_F(CsvExport, RoundTripsEveryValueOfAGeneratedFile) {
  // Five minutes around the spring clock change (2026-03-08 07:00 UTC), with
  // the extremes of every field in the first records.
  std::vector<LogRecord> records;
  for (int i = 0; i < 300; ++i) records.push_back(test::sampleRecord(i, 1772953080));
  records[0].values = {INT32_MIN, INT32_MAX, -1, -999, -1000, 1, -32768, 32767, -40, 7};
  records[1].values = {0, -1, 999, 1000, -1, -4, 1, 0, -1, -2147483647};
  auto bytes = test::encodeAll(records);
  bytes.resize(bytes.size() + 30, 0);  // a cut-off record: not exported
  test::writeBytes(dir / "in.log", bytes);

  const auto result = exportLogToCsv(dir / "in.log", dir / "out.csv");
  ASSERT_EQ(result.status, CsvExportStatus::Ok);
  EXPECT_EQ(result.records, 300);

  const auto csvBytes = test::readBytes(dir / "out.csv");
  const auto lines = split(std::string(csvBytes.begin(), csvBytes.end()), "\r\n");
  ASSERT_EQ(lines.size(), records.size() + 2);  // header, rows, nothing after the last line end
  EXPECT_EQ(lines.back(), "");
  EXPECT_EQ(split(lines[0], ",").size(), 13u);
  EXPECT_NE(lines[0].find("O2 Set Point (V)"), std::string::npos);
  EXPECT_NE(lines[0].find("Pressure Feedback (in. W.C.)"), std::string::npos);
  EXPECT_NE(lines[0].find("4-20 mA Input (mA)"), std::string::npos);

  for (std::size_t r = 0; r < records.size(); ++r) {
    SCOPED_TRACE(lines[r + 1]);
    const auto f = split(lines[r + 1], ",");
    ASSERT_EQ(f.size(), 13u);
    const auto& record = records[r];
    const auto& v = record.values;
    EXPECT_EQ(f[0], localText(record.timeStamp));
    EXPECT_EQ(std::stoll(f[1]), record.timeStamp);
    EXPECT_EQ(unscale(f[2], 3), v[0]);
    EXPECT_EQ(unscale(f[3], 3), v[1]);
    EXPECT_EQ(unscale(f[4], 3), v[2]);
    EXPECT_EQ(std::stoll(f[5]), v[3]);
    EXPECT_EQ(unscale(f[6], 2), v[4]);
    EXPECT_EQ(std::stoll(f[7]), v[5]);
    EXPECT_EQ(f[8], modeLabel(v[5]));
    EXPECT_EQ(unscale(f[9], 3), v[6]);
    EXPECT_EQ(std::stoll(f[10]), v[7]);
    EXPECT_EQ(std::stoll(f[11]), v[8]);
    EXPECT_EQ(std::stoll(f[12]), v[9]);
  }
  EXPECT_EQ(split(lines[1], ",")[2], "-2147483.648");
  EXPECT_EQ(split(lines[2], ",")[3], "-0.001");
}

TEST_F(CsvExport, ReportsProgressAndCanBeCancelled) {
  test::writeSampleLog(dir / "in.log", 10000);
  std::vector<std::int64_t> seen;
  const auto done = exportLogToCsv(dir / "in.log", dir / "all.csv", [&](auto d, auto total) {
    EXPECT_EQ(total, 10000);
    seen.push_back(d);
    return true;
  });
  EXPECT_EQ(done.status, CsvExportStatus::Ok);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen.front(), 0);
  EXPECT_EQ(seen.back(), 10000);

  const auto cancelled =
      exportLogToCsv(dir / "in.log", dir / "part.csv", [](auto d, auto) { return d == 0; });
  EXPECT_EQ(cancelled.status, CsvExportStatus::Cancelled);
  EXPECT_GT(cancelled.records, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "part.csv"));
}

TEST_F(CsvExport, SaysWhichSideFailed) {
  const auto records = test::writeSampleLog(dir / "in.log", 5);
  EXPECT_EQ(exportLogToCsv(dir / "missing.log", dir / "out.csv").status,
            CsvExportStatus::CannotReadLog);
  EXPECT_EQ(exportLogToCsv(dir / "in.log", dir / "no" / "such" / "out.csv").status,
            CsvExportStatus::CannotWriteCsv);

  // Exporting onto the log itself would truncate it.
  EXPECT_EQ(exportLogToCsv(dir / "in.log", dir / "in.log").status, CsvExportStatus::CannotWriteCsv);
  EXPECT_EQ(test::readBytes(dir / "in.log"), test::encodeAll(records));

  std::ostringstream failing;
  failing.setstate(std::ios::badbit);
  EXPECT_EQ(exportLogToCsv(dir / "in.log", failing).status, CsvExportStatus::CannotWriteCsv);
}

}  // namespace
}  // namespace vs
