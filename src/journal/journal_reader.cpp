#include "journal/journal_reader.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "journal/csv_text.h"

namespace vs {
namespace {

bool digitsAt(std::string_view text, std::size_t at, std::size_t count) {
  return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at),
                     text.begin() + static_cast<std::ptrdiff_t>(at + count),
                     [](char c) { return c >= '0' && c <= '9'; });
}

int numberAt(std::string_view text, std::size_t at) {
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

}  // namespace

std::optional<std::string> journalTime(std::string_view text) {
  // yyyy-mm-dd, then optionally " hh:mm", then optionally ":ss".
  const bool date = text.size() >= 10 && digitsAt(text, 0, 4) && text[4] == '-' &&
                    digitsAt(text, 5, 2) && text[7] == '-' && digitsAt(text, 8, 2);
  if (!date) return std::nullopt;
  const int month = numberAt(text, 5);
  const int day = numberAt(text, 8);
  if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
  if (text.size() == 10) return std::string(text);
  const bool minute = (text.size() == 16 || text.size() == 19) && text[10] == ' ' &&
                      digitsAt(text, 11, 2) && text[13] == ':' && digitsAt(text, 14, 2) &&
                      numberAt(text, 11) < 24 && numberAt(text, 14) < 60;
  if (!minute) return std::nullopt;
  if (text.size() == 16) return std::string(text);
  if (text[16] != ':' || !digitsAt(text, 17, 2) || numberAt(text, 17) > 60) return std::nullopt;
  return std::string(text);
}

JournalReading readJournal(const std::filesystem::path& file, const JournalFilter& filter) {
  JournalReading reading;
  std::error_code missing;
  if (!std::filesystem::exists(file, missing)) {
    reading.ok = !missing;
    if (missing) reading.error = file.string() + ": " + missing.message();
    return reading;
  }
  if (!std::filesystem::is_regular_file(file, missing)) {
    reading.error = file.string() + ": not a file";
    return reading;
  }
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    reading.error = file.string() + ": " + std::generic_category().message(errno ? errno : EIO);
    return reading;
  }
  const std::string text(std::istreambuf_iterator<char>(in), {});
  const auto records = parseCsv(text);
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (*record == journalHeader()) continue;
    std::optional<JournalLine> line = journalLineOf(*record);
    if (!line) {
      ++reading.unreadable;
      continue;
    }
    if (filter.serialNumber && line->serialNumber != *filter.serialNumber) continue;
    // The times sort as text, and a shorter time is the start of its minute or day.
    if (filter.since && line->time < *filter.since) continue;
    reading.lines.push_back(std::move(*line));
  }
  reading.ok = true;
  return reading;
}

}  // namespace vs
