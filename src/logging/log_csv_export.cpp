#include "logging/log_csv_export.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "files/replacing_file.h"
#include "logging/log_file_reader.h"
#include "registers/mode_label.h"
#include "time/local_date_time.h"

namespace vs {
namespace {

constexpr std::size_t kBatchRecords = 4096;
constexpr std::size_t kMaxRowLength = 256;
constexpr std::string_view kHeader =
    "Local Time,Unix Time,O2 Set Point (V),O2 Feedback (V),Pressure Feedback (in. W.C.),"
    "Actuator Output (raw),4-20 mA Input (mA),Mode,Mode Label,Pressure Set Point (in. W.C.),"
    "Pre-Catalyst Temp (F),Post-Catalyst Temp (F),Spare (raw)\r\n";

// Local time conversion is the slow part of a row; records come several a
// second, so one conversion per minute serves them all. Time zone offsets and
// their changes fall on whole minutes.
class MinuteClock {
 public:
  LocalDateTime at(std::int64_t unixSeconds) {
    const std::int64_t minute = unixSeconds >= 0 ? unixSeconds / 60 : (unixSeconds - 59) / 60;
    if (minute != minute_ || start_.second != 0) {
      minute_ = minute;
      start_ = toLocalDateTime(minute * 60);
      if (start_.second != 0) return toLocalDateTime(unixSeconds);
    }
    LocalDateTime time = start_;
    time.second = static_cast<int>(unixSeconds - minute * 60);
    return time;
  }

 private:
  std::int64_t minute_ = INT64_MIN;
  LocalDateTime start_;
};

char* putDigits(char* p, int value, int width) {
  for (int i = width - 1; i >= 0; --i, value /= 10) p[i] = static_cast<char>('0' + value % 10);
  return p + width;
}

char* putInteger(char* p, std::int64_t value) { return std::to_chars(p, p + 24, value).ptr; }

// value / 10^decimals, exactly.
char* putScaled(char* p, std::int32_t value, int decimals) {
  std::int64_t magnitude = value;
  if (magnitude < 0) {
    *p++ = '-';
    magnitude = -magnitude;
  }
  const std::int64_t unit = decimals == 3 ? 1000 : 100;
  p = putInteger(p, magnitude / unit);
  *p++ = '.';
  return putDigits(p, static_cast<int>(magnitude % unit), decimals);
}

char* putRow(char* p, const LogRecord& record, MinuteClock& clock) {
  const LocalDateTime t = clock.at(record.timeStamp);
  p = putDigits(p, t.year, 4);
  *p++ = '-';
  p = putDigits(p, t.month, 2);
  *p++ = '-';
  p = putDigits(p, t.day, 2);
  *p++ = ' ';
  p = putDigits(p, t.hour, 2);
  *p++ = ':';
  p = putDigits(p, t.minute, 2);
  *p++ = ':';
  p = putDigits(p, t.second, 2);
  *p++ = ',';
  p = putInteger(p, record.timeStamp);

  const auto& v = record.values;
  *p++ = ',';
  p = putScaled(p, v[LIVE_O2_SET_POINT], 3);
  *p++ = ',';
  p = putScaled(p, v[LIVE_O2_FEEDBACK], 3);
  *p++ = ',';
  p = putScaled(p, v[LIVE_PRESSURE], 3);
  *p++ = ',';
  p = putInteger(p, v[LIVE_ACTUATOR]);
  *p++ = ',';
  p = putScaled(p, v[LIVE_ANALOG_INPUT], 2);
  *p++ = ',';
  p = putInteger(p, v[LIVE_MODE]);
  *p++ = ',';
  const auto label = modeLabel(v[LIVE_MODE]);
  p = std::copy(label.begin(), label.end(), p);
  *p++ = ',';
  p = putScaled(p, v[LIVE_PRESSURE_SET_POINT], 3);
  for (const int i : {LIVE_PRE_CAT_TEMP, LIVE_POST_CAT_TEMP, LIVE_SPARE}) {
    *p++ = ',';
    p = putInteger(p, v[i]);
  }
  *p++ = '\r';
  *p++ = '\n';
  return p;
}

}  // namespace

CsvExportResult exportLogToCsv(const std::filesystem::path& log, std::ostream& csv,
                               const CsvExportProgress& progress) {
  LogFileReader reader(log);
  if (!reader.isOpen()) return {CsvExportStatus::CannotReadLog, 0};
  const std::int64_t total = reader.recordCount();

  std::vector<LogRecord> records(kBatchRecords);
  std::vector<char> text(kBatchRecords * kMaxRowLength);
  MinuteClock clock;
  CsvExportResult result;
  if (!csv.write(kHeader.data(), static_cast<std::streamsize>(kHeader.size()))) {
    return {CsvExportStatus::CannotWriteCsv, 0};
  }
  while (result.records < total) {
    if (progress && !progress(result.records, total)) {
      result.status = CsvExportStatus::Cancelled;
      return result;
    }
    const std::size_t count = reader.read(records.data(), records.size());
    if (count == 0) {
      result.status = CsvExportStatus::CannotReadLog;
      return result;
    }
    char* end = text.data();
    for (std::size_t i = 0; i < count; ++i) end = putRow(end, records[i], clock);
    if (!csv.write(text.data(), end - text.data())) {
      result.status = CsvExportStatus::CannotWriteCsv;
      return result;
    }
    result.records += static_cast<std::int64_t>(count);
  }
  if (!csv.flush()) result.status = CsvExportStatus::CannotWriteCsv;
  if (progress && result.status == CsvExportStatus::Ok) progress(total, total);
  return result;
}

CsvExportResult exportLogToCsv(const std::filesystem::path& log, const std::filesystem::path& csv,
                               const CsvExportProgress& progress) {
  std::error_code error;
  if (!std::filesystem::exists(log, error)) return {CsvExportStatus::CannotReadLog, 0};
  // The CSV replaces whatever has its name; it must not be the log.
  if (std::filesystem::equivalent(log, csv, error)) return {CsvExportStatus::CannotWriteCsv, 0};
  ReplacingFile out(csv);
  if (!out.isOpen()) return {CsvExportStatus::CannotWriteCsv, 0};
  auto result = exportLogToCsv(log, out.stream(), progress);
  if (result.status == CsvExportStatus::Ok && !out.commit()) {
    result.status = CsvExportStatus::CannotWriteCsv;
  }
  return result;
}

}  // namespace vs
