#include <cerrno>
#include <cstdio>
#include <string>

#include "cli_text.h"
#include "commands.h"
#include "journal/change_journal.h"
#include "journal/csv_text.h"
#include "journal/journal_reader.h"
#include "shell/data_paths.h"

namespace vs::cli {

// The journal's own format, newest line first, so that a script reads it as
// it reads the file and a technician sees the latest change at the top.
int runJournal(const Invocation& invocation) {
  const auto file = journalPath(resolveDataDirectory(invocation.dataDir));
  const JournalReading reading = readJournal(file, {invocation.serialNumber, invocation.since});
  if (!reading.ok) {
    complain(reading.error);
    return CLI_FILE;
  }
  std::string text = csvRecord(journalHeader());
  for (const JournalLine& line : reading.lines) text += csvRecord(journalFields(line));
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
    if (errno != EPIPE) complain("cannot write to standard output");
    return CLI_FILE;
  }
  if (reading.unreadable > 0) {
    complain(file.string() + ": " + std::to_string(reading.unreadable) +
             " records are no journal lines and were left out");
  }
  return CLI_OK;
}

}  // namespace vs::cli
