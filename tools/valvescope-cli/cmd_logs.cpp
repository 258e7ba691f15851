#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <iostream>
#include <string>

#include "cli_text.h"
#include "commands.h"
#include "logging/log_csv_export.h"
#include "logging/log_info.h"

namespace vs::cli {
namespace {

std::string timeAndStamp(std::int32_t unixTime) {
  return localTimeText(unixTime) + " (" + std::to_string(unixTime) + ")";
}

}  // namespace

int runExportCsv(const Invocation& invocation) {
  const std::string& log = invocation.args[0];
  const bool toFile = invocation.args.size() > 1;
  const CsvExportResult result =
      toFile ? exportLogToCsv(log, invocation.args[1]) : exportLogToCsv(log, std::cout);
  switch (result.status) {
    case CsvExportStatus::Ok: break;
    case CsvExportStatus::CannotReadLog:
      complain(log + ": cannot read the log file");
      return CLI_FILE;
    default:
      // A reader that went away (| head) has what it wanted; say nothing.
      if (toFile || errno != EPIPE) {
        complain((toFile ? invocation.args[1] : std::string("standard output")) +
                 ": cannot write the CSV file");
      }
      return CLI_FILE;
  }
  if (toFile) {
    std::printf("exported %" PRId64 " records to %s\n", result.records, invocation.args[1].c_str());
  }
  return CLI_OK;
}

int runLogInfo(const Invocation& invocation) {
  const std::string& log = invocation.args[0];
  const LogInfo info = readLogInfo(log);
  if (!info.readable) {
    complain(log + ": cannot read the log file");
    return CLI_FILE;
  }
  std::printf("records: %" PRId64 "\n", info.recordCount);
  if (info.recordCount > 0) {
    std::printf("first: %s\n", timeAndStamp(info.firstTime).c_str());
    std::printf("last: %s\n", timeAndStamp(info.lastTime).c_str());
  }
  std::printf("trailing bytes: %" PRId64 "\n", info.trailingBytes);
  std::printf("gaps: %zu\n", info.gaps.size());
  for (const LogGap& gap : info.gaps) {
    std::printf("gap before record %" PRId64 ": %s -> %s\n", gap.record,
                timeAndStamp(gap.before).c_str(), timeAndStamp(gap.after).c_str());
  }
  return CLI_OK;
}

}  // namespace vs::cli
