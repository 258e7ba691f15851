#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>

namespace vs {

enum class CsvExportStatus {
  Ok,
  CannotReadLog,   // the log file cannot be opened or read
  CannotWriteCsv,  // the CSV file cannot be created or written, or is the log itself
  Cancelled,       // the progress callback asked to stop
};

struct CsvExportResult {
  CsvExportStatus status = CsvExportStatus::Ok;
  std::int64_t records = 0;  // rows written
};

// Told now and then how many records are done out of how many; returning false
// cancels the export.
using CsvExportProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

// One header row, then one row per whole record: local date-time, Unix time and
// the ten values in engineering units (O2 volts, pressures in in. W.C., the
// analog input in mA, the mode with its label, temperatures in F, raw values
// unscaled). Scaled values are printed exactly, with all their decimals.
CsvExportResult exportLogToCsv(const std::filesystem::path& log, std::ostream& csv,
                               const CsvExportProgress& progress = {});

// As above into a file, which replaces any earlier file of that name only once
// it is complete: after a write error or a cancel the earlier file is as it was.
CsvExportResult exportLogToCsv(const std::filesystem::path& log, const std::filesystem::path& csv,
                               const CsvExportProgress& progress = {});

}  // namespace vs
