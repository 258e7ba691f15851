#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_line.h"

namespace vs {

struct JournalFilter {
  std::optional<std::string> serialNumber;  // only this controller's lines
  std::optional<std::string> since;         // only lines at or after this local time
};

struct JournalReading {
  bool ok = false;
  std::vector<JournalLine> lines;  // newest first
  std::size_t unreadable = 0;      // records that are no journal lines, left out
  std::string error;               // why the file could not be read
};

// The journal's lines, newest (last written) first. A journal not yet begun
// has no lines.
JournalReading readJournal(const std::filesystem::path& file, const JournalFilter& filter = {});

// A time to filter on: "2026-05-01", "2026-05-01 14:00" or
// "2026-05-01 14:00:30", as the journal writes its times; nothing for any
// other text.
std::optional<std::string> journalTime(std::string_view text);

}  // namespace vs
